// The line protocol shared by the program and its helper, without a helper.
#include "engine/files/DocumentHandover.h"
#include "engine/protocol/HelperProtocol.h"

#include <QFile>
#include <QTemporaryDir>

#include <QSet>
#include <QtTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace LibreOfficeHelperProtocol;

class TestHelperProtocol : public QObject {
    Q_OBJECT

private slots:
    void wordsSurviveTheRoundTrip_data()
    {
        QTest::addColumn<QList<QByteArray>>("words");
        QByteArray everyByte;
        for (int byte = 0; byte < 256; ++byte)
            everyByte += char(byte);
        QTest::newRow("every byte") << QList<QByteArray>{"open", "7", everyByte};
        QTest::newRow("blanks and line breaks")
            << QList<QByteArray>{"open", "1", "/home/a b/x\ny\r\nz .doc", " "};
        QTest::newRow("percent signs, also ones that look encoded")
            << QList<QByteArray>{"save", "2", "100% %41 %zz %", "%2F"};
        QTest::newRow("empty words, in the middle and at the end")
            << QList<QByteArray>{"error", "", "damaged", ""};
        QTest::newRow("verb alone") << QList<QByteArray>{"quit"};
        QTest::newRow("bytes that are not UTF-8") << QList<QByteArray>{"open", "3", "/tmp/\xE9t\xE9\xFF.doc"};
    }

    void wordsSurviveTheRoundTrip()
    {
        QFETCH(QList<QByteArray>, words);
        const QByteArray line = encodeLine(words);
        // One line: a single line end, at the end, so the reader splits nothing.
        QVERIFY(line.endsWith('\n'));
        QCOMPARE(line.count('\n'), 1);
        QVERIFY(!line.contains('\r'));
        QCOMPARE(line.count(' '), words.size() - 1);
        QCOMPARE(decodeLine(line), words);
        // A reader that keeps the line end, or gets CR LF, decodes the same.
        QCOMPARE(decodeLine(line.chopped(1) + "\r\n"), words);
    }

    void errorsHaveOneWordEach()
    {
        QSet<QByteArray> seen;
        for (int i = int(HelperError::NoLibreOffice); i <= int(HelperError::SaveFailed); ++i) {
            const auto error = HelperError(i);
            const QByteArray word = wireWord(error);
            QVERIFY2(!word.isEmpty(), qPrintable(QString::number(i)));
            // Plain lower-case letters: nothing the encoding must change.
            QCOMPARE(word.toPercentEncoding(), word);
            QCOMPARE(word.toLower(), word);
            QVERIFY2(!seen.contains(word), word.constData());
            seen.insert(word);
            QCOMPARE(helperErrorFromWire(word), std::optional(error));
        }
        QCOMPARE(helperErrorFromWire("no-such-error"), std::nullopt);
        QCOMPARE(helperErrorFromWire(""), std::nullopt);
    }

    // Documents reach the helper as descriptors, one per request and in order: a
    // missing one as its reason, a named pipe without blocking the program.
    void documentsAreHandedOverInOrder()
    {
        QTemporaryDir folder;
        const QByteArray document = QFile::encodeName(folder.filePath(QStringLiteral("a.doc")));
        const QByteArray pipe = QFile::encodeName(folder.filePath(QStringLiteral("pipe.doc")));
        QFile file(QString::fromLocal8Bit(document));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("words") == 5 && mkfifo(pipe.constData(), 0600) == 0);
        file.close();
        const DocumentHandover::SocketPair ends = DocumentHandover::makeSocketPair();
        QVERIFY(ends.program >= 0 && ends.helper >= 0);
        QVERIFY(DocumentHandover::handOver(ends.program, document.constData()));
        QVERIFY(DocumentHandover::handOver(ends.program, (document + ".missing").constData()));
        QVERIFY(DocumentHandover::handOver(ends.program, pipe.constData()));

        const DocumentHandover::Handed first = DocumentHandover::receive(ends.helper);
        QVERIFY(first.descriptor >= 0);
        char text[8] = {};
        QCOMPARE(::read(first.descriptor, text, sizeof text), 5);
        QCOMPARE(QByteArray(text), QByteArray("words"));
        ::close(first.descriptor);
        const DocumentHandover::Handed missing = DocumentHandover::receive(ends.helper);
        QVERIFY(missing.descriptor < 0 && missing.error == ENOENT);
        const DocumentHandover::Handed fifo = DocumentHandover::receive(ends.helper);
        struct stat status {};
        QVERIFY(fifo.descriptor >= 0 && fstat(fifo.descriptor, &status) == 0 && S_ISFIFO(status.st_mode));
        ::close(fifo.descriptor);
        // The program gone: the helper hears so instead of waiting for ever.
        ::close(ends.program);
        QCOMPARE(DocumentHandover::receive(ends.helper).error, EPIPE);
        ::close(ends.helper);
    }
};

QTEST_GUILESS_MAIN(TestHelperProtocol)
#include "tst_HelperProtocol.moc"
