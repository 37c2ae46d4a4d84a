#pragma once

#include <QString>

// Puts a private copy of a document into `folder` (a sub-folder of it, so that the
// copy is never mistaken for a file of the page), for a helper that may read none of
// the user's files. The copy keeps the document's name where that is plain UTF-8 (type
// detection and titles go by it), else it is named "document" with the same suffix.
// Returns the copy's path, or the document's own path when no copy can be made (not a
// regular file, unreadable, missing): the helper then tells why it cannot open it.
QString copyDocumentForHelper(const QString& documentPath, const QString& folder);

// The folder inside `folder` that holds the copy.
QString documentCopyFolder(const QString& folder);
