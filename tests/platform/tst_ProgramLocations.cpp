#include "app/ListViews.h"
#include "app/MainWindow.h"
#include "fakes/FakePlatform.h"
#include "platform/ProgramLocations.h"
#include "state/StateFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// An installed tree as `cmake --install` and the package lay it out.
struct InstalledTree {
    QTemporaryDir root;
    QString prefix = root.filePath("usr");
    QString bin = prefix + "/bin";

    InstalledTree()
    {
        write(bin + "/varnello", "program");
        write(prefix + "/lib/varnello/varnello-lok", "helper");
        write(prefix + "/share/varnello/help.html", "<p>guide</p>");
        for (const char* name : {"set.txt", "EXCEL.txt", "output.txt"})
            write(prefix + "/share/varnello/defaults/" + name, "");
    }
};

} // namespace

class TestProgramLocations : public QObject {
    Q_OBJECT

private slots:
    void buildFolderKeepsEverythingBesideTheProgram()
    {
        // Even inside an installed tree, a helper beside the program makes a build folder.
        InstalledTree tree;
        write(tree.bin + "/varnello-lok", "helper");
        const auto locations = ProgramLocations::find(tree.bin, "/home/someone/.config");
        QVERIFY(!locations.installed);
        QCOMPARE(locations.programFolder, tree.bin);
        QCOMPARE(locations.helperFolder, tree.bin);
        QCOMPARE(locations.stateFolder, tree.bin);
        QCOMPARE(locations.helpFile, tree.bin + "/help.html");
    }

    void aProgramWithoutItsHelperStaysABuildFolder()
    {
        QTemporaryDir lone;
        const auto locations = ProgramLocations::find(lone.path(), "/home/someone/.config");
        QVERIFY(!locations.installed);
        QCOMPARE(locations.stateFolder, lone.path());
    }

    void installedTreeUsesTheUsersConfigurationFolder()
    {
        InstalledTree tree;
        const auto locations = ProgramLocations::find(tree.bin, "/home/someone/.config");
        QVERIFY(locations.installed);
        QCOMPARE(locations.programFolder, tree.bin);
        QCOMPARE(locations.helperFolder, tree.prefix + "/lib/varnello");
        QCOMPARE(locations.helpFile, tree.prefix + "/share/varnello/help.html");
        QCOMPARE(locations.defaultsFolder, tree.prefix + "/share/varnello/defaults");
        QCOMPARE(locations.stateFolder, QStringLiteral("/home/someone/.config/varnello"));
    }

    void anInstallWithoutItsHelperStillKeepsListsWithTheUser()
    {
        InstalledTree tree;
        QFile::remove(tree.prefix + "/lib/varnello/varnello-lok");
        const auto locations = ProgramLocations::find(tree.bin, "/home/someone/.config");
        QVERIFY(locations.installed);
        QCOMPARE(locations.stateFolder, QStringLiteral("/home/someone/.config/varnello"));
        QCOMPARE(locations.helperFolder, tree.prefix + "/lib/varnello");
    }

    void firstStartCopiesTheDefaultsAndNeverOverwrites()
    {
        QTemporaryDir work;
        const QString defaults = work.filePath("defaults");
        write(defaults + "/set.txt", "1\r\n1\r\n");
        write(defaults + "/EXCEL.txt", "");
        // output.txt has no default: it starts empty.
        const QString state = work.filePath("config/varnello");

        QVERIFY(!StateFile::prepareFolder(state, defaults));
        QCOMPARE(read(state + "/set.txt"), QByteArray("1\r\n1\r\n"));
        QCOMPARE(read(state + "/EXCEL.txt"), QByteArray());
        QCOMPARE(read(state + "/output.txt"), QByteArray());
        QCOMPARE(QFileInfo(state).permissions() & 0x0077, QFileDevice::Permissions());

        write(state + "/EXCEL.txt", "/my/list\r\n");
        QFile::remove(state + "/set.txt");
        QVERIFY(!StateFile::prepareFolder(state, defaults));
        QCOMPARE(read(state + "/EXCEL.txt"), QByteArray("/my/list\r\n"));
        QCOMPARE(read(state + "/set.txt"), QByteArray("1\r\n1\r\n"));
    }

    void aFolderThatCannotBeMadeIsReported()
    {
        QTemporaryDir work;
        write(work.filePath("file"), "not a folder");
        const auto failure = StateFile::prepareFolder(work.filePath("file/varnello"), QString());
        QVERIFY(failure);
        QVERIFY(failure->contains(work.filePath("file/varnello")));
    }

    // Installed, the window reads and writes each user's own lists and never the
    // program's folders; two users keep two lists.
    void twoUsersKeepTheirOwnLists()
    {
        InstalledTree tree;
        write(tree.prefix + "/share/varnello/defaults/set.txt", "1\r\n1\r\n");
        QTemporaryDir homes;
        const QString sources[] = {homes.filePath("alice/docs"), homes.filePath("bob/docs")};
        const QString configs[] = {homes.filePath("alice/.config"), homes.filePath("bob/.config")};
        for (int user = 0; user < 2; ++user) {
            QDir().mkpath(sources[user]);
            const auto locations = ProgramLocations::find(tree.bin, configs[user]);
            QVERIFY(!StateFile::prepareFolder(locations.stateFolder, locations.defaultsFolder));
            FakePlatform fake(locations.programFolder);
            Platform platform = fake.platform();
            platform.stateFolder = locations.stateFolder;
            platform.helpFile = locations.helpFile;

            MainWindow window(platform);
            QCOMPARE(window.helpFile, tree.prefix + "/share/varnello/help.html");
            QCOMPARE(ListViews::count(*window.sourceList), 0);
            window.addStartSources({sources[user]});
            window.saveState();
            QVERIFY(fake.messages.shown.empty());
        }
        for (int user = 0; user < 2; ++user) {
            const QString state = configs[user] + "/varnello/";
            QCOMPARE(read(state + "EXCEL.txt"), sources[user].toUtf8() + "\r\n");
            const auto locations = ProgramLocations::find(tree.bin, configs[user]);
            FakePlatform fake(locations.programFolder);
            Platform platform = fake.platform();
            platform.stateFolder = locations.stateFolder;
            MainWindow again(platform);
            QCOMPARE(ListViews::item(*again.sourceList, 1)->text(0), sources[user]);
        }
        QCOMPARE(QDir(tree.bin).entryList(QDir::Files), QStringList({"varnello"}));
        QVERIFY(!QFileInfo::exists(tree.prefix + "/share/varnello/EXCEL.txt"));
        QCOMPARE(read(tree.prefix + "/share/varnello/defaults/EXCEL.txt"), QByteArray());
    }
};

QTEST_MAIN(TestProgramLocations)
#include "tst_ProgramLocations.moc"
