#pragma once

#include "platform/FileDialogs.h"
#include "platform/HelpViewer.h"
#include "platform/MessageBox.h"
#include "platform/MousePointer.h"
#include "platform/PickerDialogs.h"
#include "platform/ProgramLocations.h"
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
    // The folder that holds the executable.
    QString programFolder;
    // The folder of set.txt, EXCEL.txt and output.txt: the program folder in a build
    // folder, the user's own configuration folder when installed (ProgramLocations).
    QString stateFolder;
    // The user guide that Help and F1 show.
    QString helpFile;
};

// The real desktop, with LibreOffice doing the document work.
class QtPlatform {
public:
    explicit QtPlatform(const ProgramLocations& locations);
    ~QtPlatform();
    Platform platform();

private:
    ProgramLocations locations;
    QtMessageBox messages;
    QtShell shell;
    QtHelpViewer help;
    QtMousePointer pointer;
    QtFileDialogs fileDialogs;
    QtPickerDialogs pickerDialogs;
    std::unique_ptr<WordAutomation> word;
};

