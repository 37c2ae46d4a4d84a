#include "state/StateFile.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QTest>

class StateFileTest : public QObject {
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
        QTest::newRow("lone CR is text") << QByteArray("a\rb\r\n") << QStringList{"a\rb"};
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

QTEST_GUILESS_MAIN(StateFileTest)
#include "tst_StateFile.moc"
