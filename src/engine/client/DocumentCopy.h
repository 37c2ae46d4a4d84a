#pragma once

#include <QString>

// Word opens no document larger than this; a file past it is not copied (the copies
// live in a temporary folder that may be memory) and fails as too large.
inline constexpr qint64 largestDocumentBytes = qint64(512) << 20;

struct HelperDocument {
    QString path;      // the private copy, or the document's own path when it was not copied
    qint64 size = -1;  // the document's size, when it is a regular file
    bool noRoom = false; // no copy, as the folder it goes to is full
    bool tooLarge() const { return size > largestDocumentBytes; }
};

// Puts a private copy of a document into `folder` (a sub-folder of it, so that the
// copy is never mistaken for a file of the page), for a helper that may read none of
// the user's files. The copy keeps the document's name where that is plain UTF-8 (type
// detection and titles go by it), else it is named "document" with the same suffix.
// Gives the copy's path, or the document's own path when no copy can be made (not a
// regular file, unreadable, missing): the helper then tells why it cannot open it.
HelperDocument copyDocumentForHelper(const QString& documentPath, const QString& folder);

// The folder inside `folder` that holds the copy.
QString documentCopyFolder(const QString& folder);
