#include "ProfileVersion.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

bool isPlainVersion(const QString& version)
{
    static const QRegularExpression plain(QStringLiteral(R"(\A\d{1,4}\.\d{1,4}\z)"));
    return plain.match(version).hasMatch();
}

} // namespace

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

QString markProfileWithVersion(const QString& profileFolder, const QString& version)
{
    if (!isPlainVersion(version))
        return QStringLiteral("no LibreOffice version to mark the profile with");
    const QString path = profileFolder + QStringLiteral("/user/registrymodifications.xcu");
    QFile current(path);
    if (!current.open(QIODevice::ReadOnly))
        return current.errorString();
    QByteArray settings = current.readAll();
    current.close();
    const qsizetype end = settings.lastIndexOf("</oor:items>");
    if (end < 0)
        return QStringLiteral("the profile's settings have no end");
    settings.insert(end, "<item oor:path=\"/org.openoffice.Setup/Product\"><prop oor:name=\"ooSetupLastVersion\" "
                         "oor:op=\"fuse\" oor:type=\"xs:string\"><value>"
                             + version.toLatin1() + "</value></prop></item>\n");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(settings) != settings.size() || !file.commit())
        return file.errorString();
    return {};
}
