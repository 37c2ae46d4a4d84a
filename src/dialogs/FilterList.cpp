#include "dialogs/FilterList.h"

#include <QStringList>

namespace FilterList {

QList<FileType> fromNulSeparated(const QString& list)
{
    const QStringList pieces = list.split(QChar(0));
    QList<FileType> types;
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        const QString& description = pieces.at(i);
        const QString& pattern = pieces.at(i + 1);
        if (description.isEmpty() || pattern.isEmpty())
            break;
        types.append({description, pattern});
    }
    return types;
}

QString fromBarSeparated(const QString& filter)
{
    const QString bars = filter.trimmed().isEmpty() ? QStringLiteral("*.*|*.*") : filter;
    QString list;
    for (const QString& piece : bars.split(QLatin1Char('|')))
        list += piece + QChar(0);
    return list;
}

} // namespace FilterList
