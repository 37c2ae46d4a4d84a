#pragma once

#include "cli/DocumentTree.h"
#include "convert/OutputFormats.h"
#include "engine/word/WordAutomation.h"

#include <functional>

class Reporter;

struct RunCounts {
    int converted = 0;
    int failed = 0;
    bool stopped = false; // asked to stop before the last document
};

// Converts documents one after the other into an output folder, naming each output
// as the window does, and reports every document as it finishes.
class ConversionRun {
public:
    ConversionRun(WordAutomation& word, Reporter& reporter, std::function<bool()> stopRequested);

    // `outputFolder` exists and ends in '/'. Mirrored sub-folders are made as needed, never
    // through a symbolic link (see OutputFolders).
    RunCounts run(const QList<DocumentToConvert>& documents, const QString& outputFolder,
                  const OutputFormat& format, bool longExtension);

private:
    WordAutomation& word;
    Reporter& reporter;
    std::function<bool()> stopRequested;
};

// The output folder named on the command line, ready for a run: trailing slashes
// dropped, created when missing (only that folder: its parent must exist), ending in
// '/'. `problem` says why it cannot be used; then the result is empty.
QString prepareOutputFolder(const QString& folder, QString& problem);
