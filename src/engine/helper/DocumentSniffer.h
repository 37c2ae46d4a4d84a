#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

// What a file looks like before LibreOffice is asked to load it. LibreOffice
// happily imports plain text (and much else) under any name; a Word document
// never is plain text. Word itself opens its own formats of every age, RTF, and
// web pages and XML saved under a Word name, so all of these go through. A
// single-file web page (a MIME archive) is told apart: LibreOffice reads it as
// plain text, so it is unpacked into a page first.
enum class DocumentKind { Missing, Unreadable, Empty, NotWord, WebArchive, WordLike };

struct SniffResult {
    DocumentKind kind;
    QString detail; // the system's reason when the file cannot be read
    QString filter = {}; // LibreOffice's import filter to use, when its own detection may pick another
};

// `path` is the file name as the file system stores it. A FIFO or device named
// like a document is never opened for reading, so it cannot block the helper.
SniffResult sniffDocument(const QByteArray& path);
// The decision on the content of an open file (read from the start and, for a ZIP
// package, from its directory at the end).
DocumentKind classifyDocument(QIODevice& file);
// The import filter a file's first bytes call for, or nothing.
QString importFilterFor(const QByteArray& head);
