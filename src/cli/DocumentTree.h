#pragma once

#include "run/ConversionRun.h"

#include <QStringList>

struct DocumentTree {
    // Each named after its file; a mirrored sub-folder's documents go below the output
    // folder ("a/b").
    QList<PlannedDocument> documents;
    QStringList incompleteFolders; // folders whose listing failed part-way or could not start
};

// The documents of the sources, in order: a file source is its own document, a
// folder gives its Word documents as the window lists them (hidden files skipped,
// sorted without regard to case); with `recursive`, then those of its visible
// sub-folders, depth first. Links to folders are not followed, so the walk stays
// inside the tree and ends. Every source must exist (checked before).
DocumentTree findDocuments(const QStringList& sources, bool recursive);
