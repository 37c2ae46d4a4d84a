#include "state/StateFile.h"
#include "support/ByteNames.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QTest>

class TestStateFile : public QObject {
    Q_OBJECT

private slots:
    void readsEveryLineEnding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("LF") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\r\n") << QStringList{"a", "b", "c"};
        QTest::newRow("last line without ending")
            << QByteArray("a\r\nlast") << QStringList{"a", "last"};
        QTest::newRow("only a line without ending") << QByteArray("1") << QStringList{"1"};
        QTest::newRow("empty lines kept")
            << QByteArray("\r\na\r\n\r\n\r\nb\r\n") << QStringList{"", "a", "", "", "b"};
        QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("lone CR ends a line") << QByteArray("a\rb\r\n") << QStringList{"a", "b"};
        QTest::newRow("CR only, empty lines kept")
            << QByteArray("a\r\rb\r") << QStringList{"a", "", "b"};
        QTest::newRow("CR LF is one ending, LF CR two")
            << QByteArray("a\r\n\n\rb") << QStringList{"a", "", "", "b"};
        QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE/\0z\0\xEB\0\r\0\n\0/\0b\0", 16)
                                   << QStringList{QStringLiteral("/zë"), "/b"};
        QTest::newRow("UTF-16 BE, lone CR")
            << QByteArray("\xFE\xFF\0/\0z\0\xEB\0\r\0/\0b\0\r", 16)
            << QStringList{QStringLiteral("/zë"), "/b"};
        QTest::newRow("UTF-16, odd last byte dropped")
            << QByteArray("\xFF\xFE/\0a\0x", 7) << QStringList{"/a"};
        QTest::newRow("UTF-8 byte-order mark") << QByteArray("\xEF\xBB\xBF/a\r\n") << QStringList{"/a"};
        QTest::newRow("blank and words kept")
            << QByteArray("1 \r\ntrue\r\n") << QStringList{"1 ", "true"};
        QTest::newRow("UTF-8") << QByteArray("/home/zoë/Résumé #1.doc\r\n")
                               << QStringList{QStringLiteral("/home/zoë/Résumé #1.doc")};
    }

    void readsEveryLineEnding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        ProgramFolder folder;
        folder.write(QStringLiteral("EXCEL.txt"), bytes);
        QCOMPARE(StateFile::readLines(folder.file(QStringLiteral("EXCEL.txt"))), lines);
    }

    void bytesThatAreNotUtf8SurviveTheRoundTrip()
    {
        ProgramFolder folder;
        const QString path = folder.file(QStringLiteral("EXCEL.txt"));
        const QByteArray bytes = "/home/" + ByteNames::Latin1Cafe + "/a\xFF\xC3.doc\r\n/zo\xC3\xAB\r\n";
        folder.write(QStringLiteral("EXCEL.txt"), bytes);
        const QStringList lines = StateFile::readLines(path);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(LocalFileName::encode(lines[0]), "/home/" + ByteNames::Latin1Cafe + "/a\xFF\xC3.doc");
        QCOMPARE(lines[1], QStringLiteral("/zoë"));
        QCOMPARE(StateFile::writeLines(path, lines), std::nullopt);
        QCOMPARE(folder.read(QStringLiteral("EXCEL.txt")), bytes);

        // A UTF-16 file is written back as UTF-8.
        folder.write(QStringLiteral("EXCEL.txt"), QByteArray("\xFF\xFE/\0\xEB\0", 6));
        QCOMPARE(StateFile::writeLines(path, StateFile::readLines(path)), std::nullopt);
        QCOMPARE(folder.read(QStringLiteral("EXCEL.txt")), QByteArray("/\xC3\xAB\r\n"));
    }

    void programFolderWhoseNameIsNotUtf8()
    {
        ProgramFolder parent;
        const QByteArray folder = LocalFileName::encode(parent.path()) + "/" + ByteNames::Latin1Cafe;
        QVERIFY(ByteNames::makeFolder(folder));
        const ByteNames::RemovedAtEnd removeFolder(folder);
        const QString path = StateFile::path(ByteNames::path(folder), StateFile::Sources);
        QCOMPARE(StateFile::writeLines(path, {"/a"}), std::nullopt);
        QCOMPARE(ByteNames::readFile(folder + "/EXCEL.txt"), QByteArray("/a\r\n"));
        QCOMPARE(StateFile::readLines(path), QStringList{"/a"});
    }

    // Such a file is neither read to exhaustion nor allowed to block: its list is
    // empty and the caller learns that it could not be read.
    void filesThatAreNoListAreNotRead()
    {
        ProgramFolder folder;
        const QByteArray fifo = LocalFileName::encode(folder.file(QStringLiteral("fifo.txt")));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), folder.file(QStringLiteral("device.txt"))));
        QFile large(folder.file(QStringLiteral("large.txt")));
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(StateFile::MaxBytes + 1)); // sparse: costs no disk
        large.close();
        for (const char* name : {"fifo.txt", "device.txt", "large.txt", "."}) {
            const StateFile::Content content = StateFile::read(folder.file(QLatin1String(name)));
            QVERIFY2(content.unreadable, name);
            QVERIFY(content.lines.isEmpty());
            QVERIFY(!content.reason.isEmpty());
        }
        QVERIFY(ByteNames::isFifo(fifo));

        QCOMPARE(StateFile::read(folder.file(QStringLiteral("absent.txt"))).unreadable, false);
    }

    void missingOrUnreadableReadsEmpty()
    {
        ProgramFolder folder;
        QVERIFY(StateFile::readLines(folder.file(QStringLiteral("absent.txt"))).isEmpty());
        QVERIFY(StateFile::readLines(folder.path()).isEmpty()); // a folder, not a file
    }

    void writesCrLfAndRoundTrips()
    {
        ProgramFolder folder;
        const QString path = folder.file(QStringLiteral("output.txt"));
        const QStringList lines{"/a b", "", "/a b", QStringLiteral("/zoë")};
        QCOMPARE(StateFile::writeLines(path, lines), std::nullopt);
        QCOMPARE(folder.read(QStringLiteral("output.txt")),
                 QByteArray("/a b\r\n\r\n/a b\r\n/zo\xc3\xab\r\n"));
        QCOMPARE(StateFile::readLines(path), lines);

        QCOMPARE(StateFile::writeLines(path, {}), std::nullopt);
        QCOMPARE(folder.read(QStringLiteral("output.txt")), QByteArray());
        // Nothing is left beside the file by the replacement.
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 3);
    }

    void writingFollowsALinkAndKeepsThePermissions()
    {
        ProgramFolder folder;
        QDir(folder.path()).mkdir(QStringLiteral("real"));
        folder.write(QStringLiteral("real/list.txt"), "old");
        QFile::setPermissions(folder.file(QStringLiteral("real/list.txt")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
        QVERIFY(QFile::link(QStringLiteral("real/list.txt"), folder.file(QStringLiteral("EXCEL.txt.link"))));
        QCOMPARE(StateFile::writeLines(folder.file(QStringLiteral("EXCEL.txt.link")), {"/a"}), std::nullopt);
        QVERIFY(QFileInfo(folder.file(QStringLiteral("EXCEL.txt.link"))).isSymLink());
        QCOMPARE(folder.read(QStringLiteral("real/list.txt")), QByteArray("/a\r\n"));
        QCOMPARE(QFile::permissions(folder.file(QStringLiteral("real/list.txt"))),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                     | QFileDevice::WriteUser | QFileDevice::ReadOther);
    }

    void failedWriteReportsAndKeepsTheOldFile()
    {
        ProgramFolder folder;
        // A folder where the file should be cannot be replaced, not even by root.
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("blocked.txt")));
        const auto failure = StateFile::writeLines(folder.file(QStringLiteral("blocked.txt")), {"x"});
        QVERIFY(failure.has_value());
        QVERIFY(!failure->isEmpty());

        const auto noFolder = StateFile::writeLines(folder.file(QStringLiteral("set.txt/inner.txt")), {"x"});
        QVERIFY(noFolder.has_value());
        QCOMPARE(folder.read(QStringLiteral("set.txt")), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestStateFile)
#include "tst_StateFile.moc"
