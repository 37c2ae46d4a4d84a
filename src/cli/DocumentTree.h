#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One Word document to convert, and where its output goes.
struct DocumentToConvert {
    QString source;         // the document's path
    QString outputSubfolder; // below the output folder: "" or "a/b" (mirrored sub-folders)
};

struct DocumentTree {
    QList<DocumentToConvert> documents;
    QStringList incompleteFolders; // folders whose listing failed part-way or could not start
};

// The documents of the sources, in order: a file source is its own document, a
// folder gives its Word documents as the window lists them (hidden files skipped,
// sorted without regard to case); with `recursive`, then those of its visible
// sub-folders, depth first. Links to folders are not followed, so the walk stays
// inside the tree and ends. Every source must exist (checked before).
DocumentTree findDocuments(const QStringList& sources, bool recursive);
