#include "app/MainWindow.h"
#include "run/OutputFormats.h"

#include <QComboBox>
#include <QRadioButton>

// The extension captions follow the chosen format; which option is set stays.
void MainWindow::showFormatExtensions()
{
    const int listIndex = formatChoice->currentIndex();
    if (listIndex < 0 || listIndex >= int(outputFormats().size()))
        return;
    const OutputFormat& format = outputFormats()[static_cast<size_t>(listIndex)];
    shortExtensionOption->setText(format.shortExtension.mid(1));
    longExtensionOption->setText(format.longExtension.mid(1));
}
