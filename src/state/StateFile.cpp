#include "state/StateFile.h"

#include "engine/files/LocalFileName.h"
#include "platform/FileSystem.h"

namespace StateFile {

namespace {

// UTF-16 code units, as the byte-order mark said; an odd last byte is dropped.
QString decodeUtf16(const QByteArray& bytes, bool bigEndian)
{
    QString text;
    text.resize((bytes.size() - 2) / 2);
    for (qsizetype unit = 0; unit < text.size(); ++unit) {
        const auto high = static_cast<unsigned char>(bytes[2 + 2 * unit + (bigEndian ? 0 : 1)]);
        const auto low = static_cast<unsigned char>(bytes[2 + 2 * unit + (bigEndian ? 1 : 0)]);
        text[unit] = QChar(char16_t(high << 8 | low));
    }
    return text;
}

QString decodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return decodeUtf16(bytes, false);
    if (bytes.startsWith("\xFE\xFF"))
        return decodeUtf16(bytes, true);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return LocalFileName::decode(bytes.sliced(3));
    return LocalFileName::decode(bytes);
}

} // namespace

QString path(const QString& programFolder, const QString& fileName)
{
    return programFolder + QLatin1Char('/') + fileName;
}

QStringList decodeLines(const QByteArray& bytes)
{
    const QString text = decodeText(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar unit = text.at(at);
        if (unit != QLatin1Char('\n') && unit != QLatin1Char('\r'))
            continue;
        lines << text.mid(start, at - start);
        if (unit == QLatin1Char('\r') && at + 1 < text.size() && text.at(at + 1) == QLatin1Char('\n'))
            ++at;
        start = at + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

Content read(const QString& filePath)
{
    const FileSystem::FileContent file = FileSystem::readSmallFile(filePath, MaxBytes);
    Content content;
    switch (file.status) {
    case FileSystem::FileContent::Status::Read: content.lines = decodeLines(file.bytes); break;
    case FileSystem::FileContent::Status::Missing: break;
    case FileSystem::FileContent::Status::Unreadable:
        content.unreadable = true;
        content.reason = file.reason;
        break;
    }
    return content;
}

QStringList readLines(const QString& filePath)
{
    return read(filePath).lines;
}

std::optional<QString> writeLines(const QString& filePath, const QStringList& lines)
{
    QByteArray content;
    for (const QString& line : lines) {
        content += LocalFileName::encode(line);
        content += "\r\n";
    }
    return FileSystem::replaceFile(filePath, content);
}

} // namespace StateFile
