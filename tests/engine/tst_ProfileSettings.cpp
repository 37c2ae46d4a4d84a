// The helper's profile settings against the schema of the installed LibreOffice:
// LibreOffice ignores a setting it has no property for, so a misspelt path or name
// would leave macros, locking or the picture cache as they were, without a word.

#include "engine/helper/InstalledFilters.h"
#include "engine/helper/ProfileSettings.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString registryFolder = QStringLiteral("/usr/lib/libreoffice/share/registry");

// "/package.component/group/.../property" of every property a schema file declares,
// with its type.
void readSchema(const QString& path, QHash<QString, QString>& types)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader xml(&file);
    QStringList groups; // the component, then the groups around the current element
    bool inComponent = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.attributes().value(QStringLiteral("oor:name")).toString();
        if (xml.isStartElement() && xml.qualifiedName() == QStringLiteral("oor:component-schema")) {
            groups = {QStringLiteral("/") + xml.attributes().value(QStringLiteral("oor:package")).toString() + '.' + name};
        } else if (xml.isStartElement() && xml.name() == QStringLiteral("component")) {
            inComponent = true;
        } else if (xml.isEndElement() && xml.name() == QStringLiteral("component")) {
            inComponent = false;
        } else if (inComponent && xml.isStartElement() && xml.name() == QStringLiteral("group")) {
            groups.append(name);
        } else if (inComponent && xml.isEndElement() && xml.name() == QStringLiteral("group")) {
            groups.removeLast();
        } else if (inComponent && xml.isStartElement() && xml.name() == QStringLiteral("prop")) {
            types.insert(groups.join('/') + '/' + name, xml.attributes().value(QStringLiteral("oor:type")).toString());
        }
    }
}

// The flags of every filter Writer's registry file ships, by the filter's settings path.
QHash<QString, QStringList> shippedFilterFlags()
{
    QHash<QString, QStringList> flags;
    QFile file(registryFolder + QStringLiteral("/writer.xcd"));
    if (!file.open(QIODevice::ReadOnly))
        return flags;
    QXmlStreamReader xml(&file);
    QString node;
    QString property;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QStringLiteral("node"))
            node = xml.attributes().value(QStringLiteral("oor:name")).toString();
        else if (xml.isStartElement() && xml.name() == QStringLiteral("prop"))
            property = xml.attributes().value(QStringLiteral("oor:name")).toString();
        else if (xml.isStartElement() && xml.name() == QStringLiteral("value") && property == QStringLiteral("Flags"))
            flags.insert(QStringLiteral("/org.openoffice.TypeDetection.Filter/Filters/"
                                        "org.openoffice.TypeDetection.Filter:Filter['%1']/Flags").arg(node),
                         xml.readElementText().split(' ', Qt::SkipEmptyParts));
    }
    return flags;
}

} // namespace

class TestProfileSettings : public QObject {
    Q_OBJECT

private slots:
    void everySettingIsOneLibreOfficeKnows()
    {
        const QStringList schemaFiles = QDir(registryFolder).entryList({QStringLiteral("*.xcd")}, QDir::Files);
        if (schemaFiles.isEmpty())
            QSKIP("LibreOffice is not installed");
        QHash<QString, QString> types;
        for (const QString& schema : schemaFiles)
            readSchema(registryFolder + '/' + schema, types);
        const QHash<QString, QStringList> filterFlags = shippedFilterFlags();

        QTemporaryDir profile;
        QVERIFY(profile.isValid());
        const QHash<QString, QStringList> installed = installedWordFilterFlags(QStringLiteral("/usr/lib/libreoffice/program"));
        QVERIFY(installed.value(QStringLiteral("MS Word 2007 XML")).contains(QStringLiteral("IMPORT")));
        QCOMPARE(writeProfileSettings(profile.path(), QStringLiteral("7.4.7.2"), installed), QString());
        QFile written(profile.filePath(QStringLiteral("user/registrymodifications.xcu")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&written);
        QString itemPath;
        int settings = 0;
        int filters = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QStringLiteral("item"))
                itemPath = xml.attributes().value(QStringLiteral("oor:path")).toString();
            if (!xml.isStartElement() || xml.name() != QStringLiteral("prop"))
                continue;
            const QString property = itemPath + '/' + xml.attributes().value(QStringLiteral("oor:name")).toString();
            const QString type = xml.attributes().value(QStringLiteral("oor:type")).toString();
            ++settings;
            if (filterFlags.contains(property)) {
                // A filter keeps every flag it ships with but the two it is spared.
                QStringList expected = filterFlags.value(property);
                expected.removeAll(QStringLiteral("ALIEN"));
                expected.removeAll(QStringLiteral("SUPPORTSSIGNING"));
                xml.readNextStartElement();
                QCOMPARE(xml.readElementText().split(' '), expected);
                QCOMPARE(type, QStringLiteral("oor:string-list"));
                ++filters;
                continue;
            }
            QVERIFY2(types.contains(property), qPrintable(property + " is no setting of this LibreOffice"));
            QCOMPARE(type, types.value(property));
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(settings > 0);
        QCOMPARE(filters, installed.size());
    }

    // Where LibreOffice's registry cannot be read, no filter is touched: an item for a
    // filter the installation lacks would stand in its list as a filter of nothing.
    void unreadableRegistryLeavesFiltersAlone()
    {
        QTemporaryDir elsewhere;
        QVERIFY(installedWordFilterFlags(elsewhere.filePath(QStringLiteral("program"))).isEmpty());
        QCOMPARE(writeProfileSettings(elsewhere.path(), {}, {}), QString());
        QFile written(elsewhere.filePath(QStringLiteral("user/registrymodifications.xcu")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(!written.readAll().contains("TypeDetection"));
    }
};

QTEST_GUILESS_MAIN(TestProfileSettings)
#include "tst_ProfileSettings.moc"
