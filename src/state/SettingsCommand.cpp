#include "app/MainWindow.h"
#include "state/SettingsWindow.h"

#include <memory>

// A fresh settings window every time, modal over the main window and gone when it
// closes, so it always shows what set.txt holds.
void MainWindow::showSettings()
{
    auto settings = std::make_unique<SettingsWindow>(desktop, this);
    settings->exec();
}
