#pragma once

#include <QDialog>

class LinkLabel;
class QFrame;
class QLabel;
class QPushButton;
class Shell;

// The About window: product name, version, support and website links, legal notes.
class Dialog1 : public QDialog {
    Q_OBJECT
public:
    Dialog1(Shell& shell, QWidget* parent);

    QLabel* Label1 = nullptr;
    QLabel* Label4 = nullptr;
    QFrame* Frame1 = nullptr;
    QLabel* Label3 = nullptr;
    LinkLabel* Label2 = nullptr;
    QLabel* Label7 = nullptr;
    LinkLabel* Label8 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* OKButton = nullptr;

    void Label2_Click();
    void Label8_Click();
    void OKButton_Click();

private:
    Shell& shell;
};
