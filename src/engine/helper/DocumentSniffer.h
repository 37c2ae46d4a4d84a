#pragma once

#include <QByteArray>
#include <QString>

// What a file looks like before LibreOffice is asked to load it. LibreOffice
// happily imports plain text under any name; a Word document never is plain text.
enum class DocumentKind { Missing, Unreadable, Empty, NotWord, WordLike };

struct SniffResult {
    DocumentKind kind;
    QString detail; // the system's reason when the file cannot be read
};

SniffResult sniffDocument(const QString& path);
// The decision on the first bytes alone, for files already read.
DocumentKind classifyLeadingBytes(const QByteArray& head);
