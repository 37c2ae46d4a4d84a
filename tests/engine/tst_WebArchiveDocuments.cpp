// Single-file web pages saved under a Word name, converted with the real helper: their
// text and pictures reach every format, and hostile ones fail cleanly or stay contained.
#include "engine/LibreOfficeChecks.h"
#include "engine/RealLibreOffice.h"
#include "engine/WebArchives.h"

#include "engine/client/LibreOfficeWordAutomation.h"
#include "engine/client/ScratchFolder.h"
#include "engine/word/AutomationError.h"
#include "engine/word/ErrorNumbers.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace webarchives;

namespace {

// LibreOffice breaks lines between words.
const QStringList PageTexts{QStringLiteral("Caf\u00E9 cr\u00E8me"), QStringLiteral("\u201Cquoted\u201D na\u00EFve r\u00E9sum\u00E9"),
                            QStringLiteral("Second picture:")};

// What the helpers of this test keep in their temporary folders.
QStringList helperTemporaryFiles()
{
    QStringList files;
    const QDir temporary(scratchFolder());
    for (const QString& folder : temporary.entryList(
             {QStringLiteral("varnello-lok-%1-*").arg(QCoreApplication::applicationPid())}, QDir::Dirs))
        for (const QString& entry : entriesBelow(temporary.filePath(folder)))
            files << folder + '/' + entry;
    return files;
}

} // namespace

class TestWebArchiveDocuments : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;
    std::unique_ptr<LibreOfficeWordAutomation> word;
    const QByteArray red = pngPicture(24, 24, Qt::red);
    const QByteArray blue = pngPicture(20, 20, Qt::blue);

    QString path(const QString& name) const { return work.filePath(name); }

    void convert(const QString& document, const QString& output, int format)
    {
        reallibreoffice::convert(*word, document, output, format);
    }

    QString openFailure(const QString& document)
    {
        auto application = word->CreateObject();
        try {
            application->DocumentsOpen(document);
        } catch (const AutomationError& error) {
            application->Quit();
            return error.Number() == LibreOfficeErrors::OpenFailed ? error.Description() : QString();
        }
        application->ActiveDocumentClose();
        application->Quit();
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        QVERIFY(QDir().mkpath(path(QStringLiteral("documents"))));
        QVERIFY(QDir().mkpath(path(QStringLiteral("out"))));
        QVERIFY(writeBytes(path(QStringLiteral("documents/Quarterly report.doc")), wordWebArchive(red, blue)));
        word = std::make_unique<LibreOfficeWordAutomation>(reallibreoffice::engineSettings());
    }

    void cleanupTestCase() { word.reset(); }

    void wordWebArchiveConverts_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("web page") << 8;
        QTest::newRow("web archive") << 9;
        QTest::newRow("filtered web page") << 10;
    }

    void wordWebArchiveConverts()
    {
        QFETCH(int, format);
        const QString output = path(QStringLiteral("out/report%1.%2").arg(format).arg(format == 9 ? "mht" : "htm"));
        convert(path(QStringLiteral("documents/Quarterly report.doc")), output, format);
        if (format == 8)
            checks::verifyWebPage(output, PageTexts, 2);
        else if (format == 9)
            checks::verifyArchive(output, PageTexts, 2);
        else
            checks::verifyFilteredPage(output, PageTexts, 2);
        // Links to what is not in the archive resolve from the document, never from its private copy.
        if (format != 9) {
            const QByteArray html = checks::readAll(output);
            // (beside the document: relative in a page to publish)
            QVERIFY(html.contains("href=\"" + (format == 10 ? QByteArray("minutes.htm")
                                                           : QUrl::fromLocalFile(path(QStringLiteral("documents/minutes.htm"))).toEncoded())));
            QVERIFY(!html.contains("varnello-archive"));
        }
        // The unpacked page went with the document.
        QCOMPARE(helperTemporaryFiles().filter(QStringLiteral("varnello-archive")), QStringList());
    }

    // Hostile part names stay names: only the output and its picture folder are written.
    void hostileArchiveWritesOnlyItsOutput()
    {
        const QByteArray html = "<p>Hostile archive text</p><img src=\"../../../etc/x\"><img src=\"cid:../../y\">";
        QVERIFY(writeBytes(path(QStringLiteral("documents/hostile.doc")),
                           archive({htmlPart("../../../etc/page.htm", html),
                                    picturePart("Content-Location: ../../../etc/x", red),
                                    picturePart("Content-ID: <../../y>", blue)})));
        const QStringList before = entriesBelow(work.path());
        convert(path(QStringLiteral("documents/hostile.doc")), path(QStringLiteral("out/hostile.htm")), 8);
        checks::verifyWebPage(path(QStringLiteral("out/hostile.htm")), {QStringLiteral("Hostile archive text")}, 2);
        QStringList added = entriesBelow(work.path());
        for (const QString& entry : before)
            added.removeOne(entry);
        QCOMPARE(added.filter(QRegularExpression(QStringLiteral("^out/hostile(\\.htm|_files)"))), added);
        QVERIFY(!QFileInfo::exists(QStringLiteral("/etc/x")));
    }

    void brokenArchivesFailCleanly_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QList<Part> bomb;
        for (int i = 0; i < 20000; ++i)
            bomb.append(Part{"Content-Type: text/plain\r\n", {}});
        QTest::newRow("20,000 parts") << archive(bomb) << "more than 10000 parts";
        QTest::newRow("no page") << archive({picturePart("Content-Location: a.png", red)}) << "no HTML page";
        QTest::newRow("no boundary") << QByteArray("MIME-Version: 1.0\r\nContent-Type: multipart/related\r\n\r\nx\r\n")
                                     << "boundary";
    }

    void brokenArchivesFailCleanly()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString document = path(QStringLiteral("documents/broken.doc"));
        QVERIFY(writeBytes(document, bytes));
        const QString message = openFailure(document);
        QVERIFY2(message.contains(document) && message.contains(reason), qPrintable(message));
        QCOMPARE(helperTemporaryFiles().filter(QStringLiteral("varnello-archive")), QStringList());
        // The helper goes on with the next document.
        convert(path(QStringLiteral("documents/Quarterly report.doc")), path(QStringLiteral("out/next.htm")), 10);
        checks::verifyFilteredPage(path(QStringLiteral("out/next.htm")), PageTexts, 2);
    }
};

QTEST_MAIN(TestWebArchiveDocuments)
#include "tst_WebArchiveDocuments.moc"
