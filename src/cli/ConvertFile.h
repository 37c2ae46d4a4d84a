#pragma once

#include "engine/word/WordAutomation.h"

#include <QString>

// How one document went: `converted`, or the engine's description of what failed.
struct FileConversion {
    bool converted = false;
    QString message;
};

// Converts `documentPath` into `outputPath` (extension included) with the same calls
// the window makes: a new application object, Open, SaveAs, Close, Quit.
FileConversion convertFile(WordAutomation& word, const QString& documentPath, const QString& outputPath,
                           int32_t wordFormatCode);
