#include "engine/files/LocalFileName.h"

#include <QTest>

class TestLocalFileName : public QObject {
    Q_OBJECT

private slots:
    void bytesSurviveTheRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QByteArray("/home/ann/Report 1.doc");
        QTest::newRow("utf-8") << QByteArray("/tmp/R\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80.docx");
        QTest::newRow("latin-1") << QByteArray("/tmp/R\xE9sum\xE9.doc");
        QTest::newRow("cut sequence") << QByteArray("/tmp/a\xE2\x82.doc");
        QTest::newRow("overlong slash") << QByteArray("/tmp/\xC0\xAF.doc");
        QTest::newRow("encoded surrogate") << QByteArray("/tmp/\xED\xB2\x80.doc");
        QTest::newRow("past U+10FFFF") << QByteArray("/tmp/\xF4\x90\x80\x80");
        QTest::newRow("every high byte") << [] {
            QByteArray all;
            for (int b = 0x80; b <= 0xFF; ++b)
                all += char(b);
            return all;
        }();
    }
    void bytesSurviveTheRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        const QString name = LocalFileName::decode(bytes);
        QCOMPARE(LocalFileName::encode(name), bytes);
        QCOMPARE(LocalFileName::isPlainUtf8(name), name == QString::fromUtf8(bytes));
    }

    void validUtf8DecodesAsQtDoes()
    {
        const QByteArray bytes("/tmp/\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80.doc");
        QCOMPARE(LocalFileName::decode(bytes), QString::fromUtf8(bytes));
        QCOMPARE(LocalFileName::encode(QString::fromUtf8(bytes)), bytes);
    }
};

QTEST_APPLESS_MAIN(TestLocalFileName)
#include "tst_LocalFileName.moc"
