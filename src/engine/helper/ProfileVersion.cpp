#include "ProfileVersion.h"

#include <QFile>
#include <QRegularExpression>

QString installedLibreOfficeVersion(const QString& programFolder)
{
    QFile configuration(programFolder + QStringLiteral("/../share/registry/main.xcd"));
    if (!configuration.open(QIODevice::ReadOnly) || configuration.size() > (qint64(64) << 20))
        return {};
    const QByteArray xml = configuration.readAll();
    const qsizetype name = xml.indexOf("oor:name=\"ooSetupVersion\">");
    const qsizetype value = name < 0 ? -1 : xml.indexOf("<value>", name);
    const qsizetype end = value < 0 ? -1 : xml.indexOf("</value>", value);
    if (end < 0 || value - name > 200)
        return {};
    // LibreOffice compares only the first two numbers ("7.4" of "7.4.7").
    static const QRegularExpression leading(QStringLiteral(R"(\A\s*(\d{1,4}\.\d{1,4})(?!\d))"));
    return leading.match(QString::fromLatin1(xml.mid(value + 7, end - value - 7))).captured(1);
}
