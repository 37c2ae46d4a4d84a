// Documents of Word for Windows 1.x and 2.0 and of Word for DOS, converted with the
// real helper: their text reaches the page, whatever Word extension they carry.
#include "engine/LibreOfficeChecks.h"
#include "engine/OldWordFiles.h"
#include "engine/RealLibreOffice.h"

#include "engine/client/LibreOfficeWordAutomation.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

class TestOldWordDocuments : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;
    std::unique_ptr<LibreOfficeWordAutomation> word;

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        word = std::make_unique<LibreOfficeWordAutomation>(reallibreoffice::engineSettings());
    }

    void cleanupTestCase() { word.reset(); }

    void textReachesThePage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");

        const QString windowsText = QStringLiteral("R\u00E9sum\u00E9 of the year, na\u00EFvely written");
        const QByteArray windows = "R\xE9sum\xE9 of the year, na\xEFvely written";
        const QString dosText = QStringLiteral("R\u00E9sum\u00E9 written under DOS");
        const QByteArray dos = "R\x82sum\x82 written under DOS";
        QTest::newRow("Word 2.0, web page") << oldword::wordForWindows(2, windows) << "w2.doc" << 8 << windowsText;
        QTest::newRow("Word 2.0, archive") << oldword::wordForWindows(2, windows) << "w2.doc" << 9 << windowsText;
        QTest::newRow("Word 1.x, filtered") << oldword::wordForWindows(1, windows) << "w1.doc" << 10 << windowsText;
        // Under another Word name LibreOffice's detection may take it for a Macintosh file
        // (this one it does) and show the file's control codes as text.
        QTest::newRow("Word 1.x named .docx")
            << oldword::wordForWindows(1, "Hello from Word 1.x for Windows") << "w1.docx" << 8
            << "Hello from Word 1.x for Windows";
        QTest::newRow("Word 2.0 named .docm") << oldword::wordForWindows(2, windows) << "w2.docm" << 10 << windowsText;
        QTest::newRow("Word for DOS, web page") << oldword::wordForDos(dos) << "dos.doc" << 8 << dosText;
        QTest::newRow("Word for DOS, archive") << oldword::wordForDos(dos) << "dos.doc" << 9 << dosText;
        QTest::newRow("Word for DOS with pictures, named .docx")
            << oldword::wordForDos(dos, true) << "dos.docx" << 10 << dosText;
    }

    void textReachesThePage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(int, format);
        QFETCH(QString, text);
        const QString document = work.filePath(name);
        QVERIFY(writeBytes(document, bytes));
        const QString output = work.filePath(QStringLiteral("%1-%2.%3").arg(name).arg(format).arg(format == 9 ? "mht" : "htm"));

        reallibreoffice::convert(*word, document, output, format);

        const QByteArray page = format == 9 ? checks::parseArchive(checks::readAll(output)).value(0).data
                                            : checks::readAll(output);
        // The body's text, nothing of the file's own structure shown as text; LibreOffice
        // breaks lines between words.
        const QString html = QString::fromUtf8(page);
        const qsizetype body = html.indexOf(QLatin1String("<body"));
        QVERIFY(body >= 0);
        const QString visible = html.mid(body).remove(QRegularExpression(QStringLiteral("<[^>]*>"))).simplified();
        QCOMPARE(visible, text);
    }
};

QTEST_MAIN(TestOldWordDocuments)
#include "tst_OldWordDocuments.moc"
