// The line protocol shared by the program and its helper, without a helper.
#include "engine/protocol/HelperProtocol.h"

#include <QSet>
#include <QtTest>

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
};

QTEST_GUILESS_MAIN(TestHelperProtocol)
#include "tst_HelperProtocol.moc"
