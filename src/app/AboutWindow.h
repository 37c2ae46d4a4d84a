#pragma once

#include <QDialog>

class LinkLabel;
class QFrame;
class QLabel;
class QPushButton;
class Shell;

// The About window: product name, version, support and website links, legal notes.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(Shell& shell, QWidget* parent);

    QLabel* productName = nullptr;
    QLabel* versionLabel = nullptr;
    QFrame* supportFrame = nullptr;
    QLabel* supportCaption = nullptr;
    LinkLabel* supportAddress = nullptr;
    QLabel* websiteCaption = nullptr;
    LinkLabel* websiteAddress = nullptr;
    QLabel* copyrightLabel = nullptr;
    QLabel* warningLabel = nullptr;
    QPushButton* OKButton = nullptr;

    void writeToSupport();
    void openWebsite();
    void OKButton_Click();

private:
    Shell& shell;
};
