#include "InstalledFilters.h"

#include <QFile>
#include <QXmlStreamReader>

QHash<QString, QStringList> installedWordFilterFlags(const QString& programFolder)
{
    static const QStringList wordFilters = {
        QStringLiteral("MS Word 2007 XML"), QStringLiteral("MS Word 2007 XML VBA"),
        QStringLiteral("MS Word 2007 XML Template"), QStringLiteral("MS Word 97"),
        QStringLiteral("MS Word 97 Vorlage"), QStringLiteral("MS Word 95"),
        QStringLiteral("MS Word 95 Vorlage"), QStringLiteral("MS WinWord 6.0"), QStringLiteral("MS WinWord 5"),
    };
    QHash<QString, QStringList> flags;
    QFile configuration(programFolder + QStringLiteral("/../share/registry/writer.xcd"));
    if (!configuration.open(QIODevice::ReadOnly) || configuration.size() > (qint64(64) << 20))
        return flags;
    QXmlStreamReader xml(&configuration);
    QString node;
    QString property;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.attributes().value(QStringLiteral("oor:name")).toString();
        if (xml.name() == QStringLiteral("node"))
            node = name;
        else if (xml.name() == QStringLiteral("prop"))
            property = name;
        else if (xml.name() == QStringLiteral("value") && property == QStringLiteral("Flags") && wordFilters.contains(node))
            flags.insert(node, xml.readElementText().split(' ', Qt::SkipEmptyParts));
    }
    return xml.hasError() ? QHash<QString, QStringList>() : flags;
}
