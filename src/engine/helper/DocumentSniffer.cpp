#include "DocumentSniffer.h"

#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype HeadSize = 4096;

bool startsWith(const QByteArray& head, const char* magic, qsizetype size)
{
    return head.startsWith(QByteArray::fromRawData(magic, size));
}

quint32 littleEndian(const QByteArray& bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Word 97 and later (also encrypted 2007 files) are compound files; Word for Windows
// 1.x and 2.0 and Word for DOS have file headers of their own.
bool isBinaryWord(const QByteArray& head)
{
    if (startsWith(head, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return true;
    if (head.size() < 128) // every one of the older formats starts with a 128-byte header or more
        return false;
    if (startsWith(head, "\x9B\xA5", 2) || startsWith(head, "\xDB\xA5", 2)) // Word for Windows 1.x, 2.0
        return true;
    // Word for DOS (and Write): 0xBE31 or 0xBE32, zero, 0xAB00.
    return (startsWith(head, "\x31\xBE\x00\x00\x00\xAB", 6) || startsWith(head, "\x32\xBE\x00\x00\x00\xAB", 6));
}

// The text of the head as ASCII, whatever its byte-order mark says, without it.
QByteArray asAscii(const QByteArray& head)
{
    const auto everyOther = [&](qsizetype from) {
        QByteArray text;
        for (qsizetype i = from; i < head.size(); i += 2)
            text += head[i];
        return text;
    };
    if (startsWith(head, "\xFF\xFE", 2))
        return everyOther(2);
    if (startsWith(head, "\xFE\xFF", 2))
        return everyOther(3);
    if (startsWith(head, "\xEF\xBB\xBF", 3))
        return head.mid(3);
    return head;
}

// HTML, XML (Word 2003 XML, flat OpenDocument) and RTF, as Word's "Save as Web
// Page" and "Save as XML" write them under any name.
bool isMarkup(const QByteArray& head)
{
    const QByteArray text = asAscii(head).trimmed();
    return text.startsWith("{\\rtf") || text.startsWith('<');
}

// A MIME message: header lines up to the first blank line, one of them saying so.
bool isWebArchive(const QByteArray& head)
{
    const QByteArray text = asAscii(head).trimmed();
    static const QRegularExpression mimeHeaders(
        QStringLiteral("\\A(?:[A-Za-z][A-Za-z0-9-]*:[^\\r\\n]*\\r?\\n(?:[ \\t][^\\r\\n]*\\r?\\n)*)+\\r?\\n"));
    const QString latin = QString::fromLatin1(text);
    const auto match = mimeHeaders.match(latin);
    if (!match.hasMatch())
        return false;
    const QString headers = match.captured().toLower();
    return headers.contains(QLatin1String("mime-version:"))
           || headers.contains(QRegularExpression(QStringLiteral("content-type:\\s*multipart/related")));
}

// A ZIP file is a document package when its directory names the package's manifest:
// Office Open XML ([Content_Types].xml) or OpenDocument (mimetype). One whose
// directory cannot be found was cut short: LibreOffice then tells how it is damaged.
bool isDocumentPackage(QIODevice& file)
{
    const qint64 size = file.size();
    // The end record sits in the last 22 bytes plus a comment of up to 64 KiB.
    const qint64 tailStart = std::max<qint64>(0, size - (22 + 0xFFFF));
    if (!file.seek(tailStart))
        return false;
    const QByteArray tail = file.read(size - tailStart);
    const qsizetype end = tail.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0 || end + 22 > tail.size())
        return true;
    const quint32 directorySize = littleEndian(tail, end + 12, 4);
    const quint32 directoryOffset = littleEndian(tail, end + 16, 4);
    // A document's directory is small; a larger one is not read whole.
    if (directorySize > 16 * 1024 * 1024 || qint64(directoryOffset) + directorySize > size || !file.seek(directoryOffset))
        return false;
    const QByteArray directory = file.read(directorySize);
    for (qsizetype at = 0; at + 46 <= directory.size() && startsWith(directory.mid(at, 4), "PK\x01\x02", 4);) {
        const quint32 nameLength = littleEndian(directory, at + 28, 2);
        const quint32 extraLength = littleEndian(directory, at + 30, 2);
        const quint32 commentLength = littleEndian(directory, at + 32, 2);
        const QByteArray name = directory.mid(at + 46, nameLength);
        if (name == "[Content_Types].xml" || name == "mimetype")
            return true;
        at += 46 + nameLength + extraLength + commentLength;
    }
    return false;
}

} // namespace

DocumentKind classifyDocument(QIODevice& file)
{
    const QByteArray head = file.read(HeadSize);
    if (head.isEmpty())
        return DocumentKind::Empty;
    if (isBinaryWord(head) || isMarkup(head))
        return DocumentKind::WordLike;
    if (isWebArchive(head))
        return DocumentKind::WebArchive;
    if (startsWith(head, "PK\x03\x04", 4))
        return isDocumentPackage(file) ? DocumentKind::WordLike : DocumentKind::NotWord;
    return DocumentKind::NotWord;
}

// Word for Windows 1.x and 2.0 look much like Word for the Macintosh: under a name
// other than .doc, LibreOffice's detection hands them to its Macintosh filter, which
// shows the file's control codes as text. Their own filter reads them right.
QString importFilterFor(const QByteArray& head)
{
    // The reader tells 1.x from 2.0 by wIdent alone, whatever release's nFib follows.
    const bool word1or2 = head.size() >= 128 && (startsWith(head, "\x9B\xA5", 2) || startsWith(head, "\xDB\xA5", 2));
    return word1or2 ? QStringLiteral("MS WinWord 5") : QString();
}

SniffResult sniffDocument(const QByteArray& path)
{
    struct stat status {};
    if (stat(path.constData(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? SniffResult{DocumentKind::Missing, {}}
                                                   : SniffResult{DocumentKind::Unreadable, QString::fromLocal8Bit(std::strerror(errno))};
    if (!S_ISREG(status.st_mode))
        return {DocumentKind::Unreadable, QStringLiteral("it is not a regular file")};
    const int descriptor = open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return {DocumentKind::Unreadable, QString::fromLocal8Bit(std::strerror(errno))};
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(descriptor);
        return {DocumentKind::Unreadable, file.errorString()};
    }
    const DocumentKind kind = classifyDocument(file);
    if (kind != DocumentKind::WordLike || !file.seek(0))
        return {kind, {}};
    return {kind, {}, importFilterFor(file.read(HeadSize))};
}
