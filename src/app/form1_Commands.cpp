#include "app/Addresses.h"
#include "app/Dialog1.h"
#include "app/form1.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <memory>

// Home page: the product's web page in the user's browser.
void form1::Command7_Click()
{
    desktop.shell.openAddress(Addresses::HomePage);
}

// Help: a simulated F1, which shows the user guide set at start-up.
void form1::Command8_Click()
{
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
}

// Exit: closing the window saves the state, as the close box does.
void form1::Command9_Click()
{
    close();
}

void form1::About_Click()
{
    // A fresh window every time, gone when it closes.
    auto about = std::make_unique<Dialog1>(desktop.shell, this);
    about->exec();
}

void form1::AddFolder_Click()
{
    Command5_Click();
}

void form1::AddExcel_Click()
{
    Command1_Click();
}

void form1::RemoveItem_Click()
{
    Command2_Click();
}

void form1::Separate_Click()
{
    Command6_Click();
}

void form1::Help1_Click()
{
    Command8_Click();
}

void form1::HomePage_Click()
{
    Command7_Click();
}
