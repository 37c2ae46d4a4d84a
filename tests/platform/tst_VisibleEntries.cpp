#include "platform/FileSystem.h"
#include "support/ByteNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What the lists can take at `path`: 0 nothing, 1 a folder, 2 a file.
int kindNumber(const QString& path)
{
    switch (FileSystem::visibleKindOf(path)) {
    case FileSystem::EntryKind::Folder: return 1;
    case FileSystem::EntryKind::File: return 2;
    case FileSystem::EntryKind::Missing:
    case FileSystem::EntryKind::Other: break;
    }
    return 0;
}

} // namespace

class TestVisibleEntries : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(root.isValid());
        QDir(root.path()).mkdir(QStringLiteral("folder"));
        QDir(root.path()).mkdir(QStringLiteral(".hidden folder"));
        touch(QStringLiteral("report.doc"));
        touch(QStringLiteral(".~lock.report.doc#"));
        touch(QStringLiteral("folder/inside.docx"));
        touch(QStringLiteral("what? *now*.doc"));
        QDir(root.path()).mkdir(QStringLiteral("*?"));
        touch(QStringLiteral("*?/x.doc"));
    }

    void classifiesExistingEntries_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<int>("kind");
        QTest::newRow("folder") << "folder" << 1;
        QTest::newRow("folder with trailing slash") << "folder/" << 1;
        QTest::newRow("folder with trailing slashes") << "folder///" << 1;
        QTest::newRow("file") << "report.doc" << 2;
        QTest::newRow("file in folder") << "folder/inside.docx" << 2;
        QTest::newRow("file with trailing slash") << "report.doc/" << 0;
        QTest::newRow("hidden file") << ".~lock.report.doc#" << 0;
        QTest::newRow("hidden folder") << ".hidden folder" << 0;
        QTest::newRow("hidden folder with slash") << ".hidden folder/" << 0;
        QTest::newRow("missing file") << "nothing.doc" << 0;
        QTest::newRow("missing parent") << "no/such/folder/a.doc" << 0;
        // '*' and '?' are characters of a name, never a pattern.
        QTest::newRow("asterisk that would match") << "*.doc" << 0;
        QTest::newRow("question mark that would match") << "report.do?" << 0;
        QTest::newRow("asterisk in folder part") << "fold*/inside.docx" << 0;
        QTest::newRow("file named with * and ?") << "what? *now*.doc" << 2;
        QTest::newRow("folder named with * and ?") << "*?" << 1;
        QTest::newRow("file in that folder") << "*?/x.doc" << 2;
    }

    void classifiesExistingEntries()
    {
        QFETCH(QString, relative);
        QFETCH(int, kind);
        const QString path = root.path() + QLatin1Char('/') + relative;
        QCOMPARE(kindNumber(path), kind);
        QCOMPARE(kindNumber(path), kind); // asking again changes nothing
    }

    void oddPathsAreNothing()
    {
        QCOMPARE(kindNumber(QString()), 0);
        QCOMPARE(kindNumber(QStringLiteral("")), 0);
        QCOMPARE(kindNumber(root.path() + QStringLiteral("/report.doc") + QChar(0) + "x"), 0);
        QCOMPARE(kindNumber(QString(5000, QLatin1Char('a'))), 0);
        QCOMPARE(kindNumber(QStringLiteral("/")), 1);
        QCOMPARE(kindNumber(QStringLiteral("/dev/null")), 0); // a device is not a document
    }

    void namesThatAreNotUtf8AreFound()
    {
        const QByteArray folder = LocalFileName::encode(root.path()) + "/" + ByteNames::Latin1Cafe;
        QVERIFY(ByteNames::makeFolder(folder));
        const ByteNames::RemovedAtEnd removeFolder(folder);
        QVERIFY(ByteNames::writeFile(folder + "/\xFF.doc"));
        QVERIFY(ByteNames::writeFile(folder + "/.\xFF.doc"));
        QCOMPARE(kindNumber(ByteNames::path(folder)), 1);
        QCOMPARE(kindNumber(ByteNames::path(folder + "/\xFF.doc")), 2);
        QCOMPARE(kindNumber(ByteNames::path(folder + "/.\xFF.doc")), 0);
        // The same name with the byte replaced, as a lossy decoding would give, is not there.
        QCOMPARE(kindNumber(ByteNames::path(folder) + QStringLiteral("/\uFFFD.doc")), 0);
    }

    void linksAreClassedByTheirTarget()
    {
        const QString dir = root.path();
        QVERIFY(QFile::link(dir + "/report.doc", dir + "/link-to-file.doc"));
        QVERIFY(QFile::link(dir + "/folder", dir + "/link-to-folder"));
        QVERIFY(QFile::link(dir + "/gone.doc", dir + "/dangling.doc"));
        QCOMPARE(kindNumber(dir + "/link-to-file.doc"), 2);
        QCOMPARE(kindNumber(dir + "/link-to-folder"), 1);
        QCOMPARE(kindNumber(dir + "/dangling.doc"), 0);
    }

    void pipeIsNothing()
    {
        // Opening a pipe would block the conversion for good.
        const QByteArray fifo = QFile::encodeName(root.path() + "/pipe.doc");
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        QCOMPARE(kindNumber(root.path() + "/pipe.doc"), 0);
    }

    void unreadableFolderGivesNothingInside()
    {
        if (geteuid() == 0)
            QSKIP("permissions do not bind root");
        QDir(root.path()).mkdir(QStringLiteral("locked"));
        touch(QStringLiteral("locked/a.doc"));
        QFile::setPermissions(root.path() + "/locked", QFileDevice::Permissions());
        QCOMPARE(kindNumber(root.path() + "/locked/a.doc"), 0);
        QFile::setPermissions(root.path() + "/locked",
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

private:
    void touch(const QString& relative)
    {
        QFile file(root.path() + QLatin1Char('/') + relative);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir root;
};

QTEST_GUILESS_MAIN(TestVisibleEntries)
#include "tst_VisibleEntries.moc"
