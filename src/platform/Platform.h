#pragma once

#include "platform/FileDialogs.h"
#include "platform/HelpViewer.h"
#include "platform/MessageBox.h"
#include "platform/MousePointer.h"
#include "platform/PickerDialogs.h"
#include "platform/Shell.h"
#include "engine/word/WordAutomation.h"

#include <QString>
#include <memory>

// Everything the program reaches outside its own windows, handed to the main window.
struct Platform {
    MessageBox& messages;
    Shell& shell;
    HelpViewer& help;
    MousePointer& pointer;
    FileDialogs& fileDialogs;
    PickerDialogs& pickerDialogs;
    WordAutomation& word;
    // The folder that holds the executable, its state files and its user guide.
    QString programFolder;
};

// The real desktop, with LibreOffice doing the document work.
class QtPlatform {
public:
    explicit QtPlatform(const QString& programFolder);
    ~QtPlatform();
    Platform platform();

private:
    QString programFolder;
    QtMessageBox messages;
    QtShell shell;
    QtHelpViewer help;
    QtMousePointer pointer;
    QtFileDialogs fileDialogs;
    QtPickerDialogs pickerDialogs;
    std::unique_ptr<WordAutomation> word;
};

