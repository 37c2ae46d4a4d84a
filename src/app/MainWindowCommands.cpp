#include "app/Addresses.h"
#include "app/AboutWindow.h"
#include "app/MainWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <memory>

// Home page: the product's web page in the user's browser.
void MainWindow::openHomePage()
{
    desktop.shell.openAddress(Addresses::HomePage);
}

// helpMenu: a simulated F1, which shows the user guide set at start-up.
void MainWindow::showHelp()
{
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
}

// Exit: closing the window saves the state, as the close box does.
void MainWindow::exitProgram()
{
    close();
}

void MainWindow::showAbout()
{
    // A fresh window every time, gone when it closes.
    auto about = std::make_unique<AboutWindow>(desktop.shell, this);
    about->exec();
}
