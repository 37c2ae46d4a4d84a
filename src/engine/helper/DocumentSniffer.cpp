#include "DocumentSniffer.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool startsWith(const QByteArray& head, const char* magic, qsizetype size)
{
    return head.startsWith(QByteArray::fromRawData(magic, size));
}

} // namespace

DocumentKind classifyLeadingBytes(const QByteArray& head)
{
    if (head.isEmpty())
        return DocumentKind::Empty;
    // Word 97-2003 (and encrypted 2007+ files) are compound files, 2007+ are ZIP packages.
    if (startsWith(head, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) || startsWith(head, "PK\x03\x04", 4))
        return DocumentKind::WordLike;
    // Word also opens RTF, and XML or HTML saved under a Word name.
    QByteArray text = head;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    text = text.trimmed();
    if (text.startsWith("{\\rtf") || text.startsWith('<'))
        return DocumentKind::WordLike;
    return DocumentKind::NotWord;
}

SniffResult sniffDocument(const QString& path)
{
    QFileInfo info(path);
    if (!info.exists())
        return {DocumentKind::Missing, {}};
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return {DocumentKind::Unreadable, file.errorString()};
    return {classifyLeadingBytes(file.read(512)), {}};
}
