#pragma once

#include "run/OutputFormats.h"

#include <QString>
#include <QStringList>

// What one varnello-convert invocation is asked to do.
struct ConvertOptions {
    QStringList sources;       // Word files and folders, as given
    QString outputFolder;      // as given
    WebFormat format = WebFormat::WebPage;
    ExtensionLength extension = ExtensionLength::Short;
    int jobs = 0;              // helper processes; 0 chooses from the cores and memory
    int timeoutSeconds = 120;  // for one call into LibreOffice
    bool recursive = false;
    bool json = false;
    bool quiet = false;
    bool update = false;     // convert only what changed since the run that wrote its page
    bool removeGone = false; // --delete: remove the pages of documents that are gone
    bool index = false;      // write index.html into each output folder
};

// The outcome of reading the command line.
struct CommandLine {
    enum class Action { Convert, ShowHelp, ShowVersion, UsageError };
    Action action = Action::UsageError;
    ConvertOptions options;
    QString text; // the help or version text, or what is wrong with the arguments
};

// Reads the arguments (the program name first). Never exits the process.
CommandLine parseCommandLine(const QStringList& arguments);
