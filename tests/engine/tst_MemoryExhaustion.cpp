// A document that needs more memory than a helper may have fails alone, with a message
// that says so, and the next document converts on a fresh helper. The test lowers its
// own data limit, which the helper keeps, so that an ordinary large document reaches it.
#include "engine/LibreOfficeChecks.h"
#include "engine/RealLibreOffice.h"
#include "engine/ZipPackage.h"

#include "engine/word/AutomationError.h"
#include "engine/word/ErrorNumbers.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

namespace {

constexpr qint64 Limit = qint64(640) << 20;

QByteArray flatDocument(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document "
           "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
           "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.3\" "
           "office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:body><office:text>"
           + body + "</office:text></office:body></office:document>";
}

bool write(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

} // namespace

class TestMemoryExhaustion : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        rlimit data{};
        QCOMPARE(getrlimit(RLIMIT_DATA, &data), 0);
        data.rlim_cur = rlim_t(Limit);
        QCOMPARE(setrlimit(RLIMIT_DATA, &data), 0);
        // A million paragraphs: 36 MB of plain XML that LibreOffice holds in far more.
        QVERIFY(write(work.filePath(QStringLiteral("million.fodt")),
                      flatDocument(QByteArray("<text:p>x</text:p>").repeated(1000000))));
        QVERIFY(write(work.filePath(QStringLiteral("small.fodt")), flatDocument("<text:p>Small text</text:p>")));
        // 31 MB of paragraphs: small enough for the package check to let it through.
        QVERIFY(zippackage::writeMonstrousDocument(work.filePath(QStringLiteral("paragraphs.docx")), 900000, "x"));
    }

    void documentPastTheLimitFailsWithReasonAndTheNextConverts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("flat document") << QStringLiteral("million.fodt");
        QTest::newRow("package") << QStringLiteral("paragraphs.docx");
    }

    void documentPastTheLimitFailsWithReasonAndTheNextConverts()
    {
        QFETCH(QString, name);
        LibreOfficeWordAutomation word(reallibreoffice::engineSettings());
        word.Announce({work.filePath(name), work.filePath(QStringLiteral("small.fodt"))}, 8);
        word.CreateObject()->Quit(); // LibreOffice's start is not the document's time
        QElapsedTimer timer;
        timer.start();
        try {
            auto application = word.CreateObject();
            application->DocumentsOpen(work.filePath(name));
            application->ActiveDocumentSaveAs(work.filePath(QStringLiteral("large.htm")), 8);
            QFAIL("a document past the memory limit converted");
        } catch (const AutomationError& error) {
            // An open error, which the run shows, not a crash, which it would pass over.
            QCOMPARE(error.Number(), LibreOfficeErrors::OpenFailed);
            QVERIFY2(error.Description().contains(name) && error.Description().contains(QLatin1String("more memory"))
                         && error.Description().contains(QLatin1String("0.6 GiB")),
                     qPrintable(error.Description()));
        }
        // As soon as it has grown to the limit, however much more it would take (5-10 s
        // on a quiet machine; the bound is loose, as a busy one takes longer).
        QVERIFY2(timer.elapsed() < 60000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("large.htm"))));

        auto application = word.CreateObject();
        application->DocumentsOpen(work.filePath(QStringLiteral("small.fodt")));
        application->ActiveDocumentSaveAs(work.filePath(QStringLiteral("small.htm")), 8);
        application->ActiveDocumentClose();
        QVERIFY(checks::readAll(work.filePath(QStringLiteral("small.htm"))).contains("Small text"));
        // The helper that ran out of memory ended; one more served the rest.
        QCOMPARE(word.helperStarts(), 2);
    }
};

QTEST_MAIN(TestMemoryExhaustion)
#include "tst_MemoryExhaustion.moc"
