#include "state/StateFile.h"

#include <QFile>
#include <QSaveFile>

namespace StateFile {

QString path(const QString& programFolder, const QString& fileName)
{
    return programFolder + QLatin1Char('/') + fileName;
}

QStringList readLines(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.readAll();
    QStringList lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        const bool lastWithoutEnding = end < 0;
        if (lastWithoutEnding)
            end = content.size();
        qsizetype textEnd = end;
        if (!lastWithoutEnding && textEnd > start && content.at(textEnd - 1) == '\r')
            --textEnd;
        lines << QString::fromUtf8(content.constData() + start, textEnd - start);
        start = end + 1;
    }
    return lines;
}

std::optional<QString> writeLines(const QString& filePath, const QStringList& lines)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QByteArray content;
    for (const QString& line : lines) {
        content += line.toUtf8();
        content += "\r\n";
    }
    if (file.write(content) != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace StateFile
