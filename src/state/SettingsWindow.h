#pragma once

#include "platform/Platform.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

// The settings window: which of the main window's lists are saved at exit. It shows
// the two flags of set.txt and writes them back on OK; Cancel and the close box
// write nothing. Loads set.txt when it is created, so every opening shows what is
// stored.
class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    SettingsWindow(const Platform& platform, QWidget* parent);

    QCheckBox* saveSourcesBox = nullptr; // save the source list (EXCEL.txt) at exit
    QCheckBox* saveOutputFoldersBox = nullptr; // save the output folders (output.txt) at exit
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void loadState();
    void OKButton_Click();
    void CancelButton_Click();

private:
    MessageBox& messages;
    QString settingsFile;
};
