#pragma once

#include "engine/word/WebFormat.h"

#include <QHash>
#include <QString>

// Turns the page LibreOffice saved in a staging folder of its own (pictures beside
// it) into `outputPath` in `format`, replacing an existing file. Pictures are named
// image001.png, ... in the order the page first shows them. Every page gets a title
// and every picture an alt; the filtered page is rewritten as clean HTML5 without
// personal metadata. `fallbackTitle` is the title of a page without its own title or
// a heading (the document's file name without extension; the output's when empty).
// Links that pointed beside the document point there in the output, also when
// LibreOffice read a private copy of it (`place`).
// Returns an empty string, or why the output could not be written.
struct DocumentPlace {
    QString copyFolder;     // the folder of the copy, as the staged page sees it
    QString documentFolder; // the folder of the document itself
    QString loadedCopyFolder = {}; // where LibreOffice read the copy, when the page was made elsewhere
    // The pages of the other documents of the run, by document: links to those lead there.
    const QHash<QString, QString>* pageOfDocument = nullptr;
};
QString writeWebOutput(const QString& stagedPage, const QString& outputPath, int32_t format,
                       const QString& fallbackTitle = {}, const DocumentPlace& place = {});
