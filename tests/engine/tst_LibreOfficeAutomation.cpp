// The Word automation interface as LibreOffice serves it, with the real helper and
// documents that LibreOffice writes for the test at its start.
#include "engine/LibreOfficeChecks.h"
#include "engine/RealLibreOffice.h"
#include "engine/TestDocuments.h"

#include "engine/word/ErrorNumbers.h"
#include "engine/client/LibreOfficeWordAutomation.h"
#include "engine/files/LocalFileName.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

const QStringList SampleTexts{QStringLiteral("Hello Varnello text"), QStringLiteral("Cell A")};

QByteArray pngBytes()
{
    return pngPicture(40, 30, QColor(200, 30, 30));
}

bool writeFile(const QString& path, const QByteArray& data)
{
    return writeBytes(path, data);
}

QByteArray checksum(const QString& path)
{
    return QCryptographicHash::hash(checks::readAll(path), QCryptographicHash::Sha256);
}

} // namespace

class TestLibreOfficeAutomation : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;
    QString documents;
    QString output;
    std::unique_ptr<LibreOfficeWordAutomation> word;
    QHash<QString, QByteArray> originalChecksums;

    static LibreOfficeSettings settings() { return reallibreoffice::engineSettings(); }

    QString document(const QString& name) const { return documents + '/' + name; }

    static QString sofficeProfile() { return reallibreoffice::sofficeProfile({}); }

    bool runSoffice(const QStringList& arguments) { return reallibreoffice::runSoffice(sofficeProfile(), arguments); }

    void makeDocuments()
    {
        documents = work.filePath(QStringLiteral("documents"));
        QVERIFY(QDir().mkpath(documents));
        const QByteArray html = "<html><body><p>Hello Varnello text</p><img src=\"data:image/png;base64,"
                                + pngBytes().toBase64()
                                + "\" width=\"40\" height=\"30\"><table border=\"1\"><tr><td>Cell A</td>"
                                  "<td>Cell B</td></tr></table></body></html>";
        QVERIFY(writeFile(work.filePath(QStringLiteral("sample.html")), html));
        QVERIFY(runSoffice({QStringLiteral("--convert-to"), QStringLiteral("docx:MS Word 2007 XML"),
                            QStringLiteral("--outdir"), documents, work.filePath(QStringLiteral("sample.html"))}));
        QVERIFY(QFileInfo::exists(document(QStringLiteral("sample.docx"))));

        const QString basic = sofficeProfile() + QStringLiteral("/user/basic/Standard/Module1.xba");
        QVERIFY(writeFile(basic, PrepareModule));
        const auto url = [this](const QString& name) { return QUrl::fromLocalFile(document(name)).toString(); };
        QVERIFY(runSoffice({QStringLiteral("macro:///Standard.Module1.Prepare(\"%1\",\"%2\",\"%3\",\"%4\")")
                                .arg(url(QStringLiteral("sample.docx")), url(QStringLiteral("sample.doc")),
                                     url(QStringLiteral("sample.docm")), url(QStringLiteral("protected.doc")))}));
        for (const char* name : {"sample.doc", "sample.docm", "protected.doc"})
            QVERIFY2(QFileInfo::exists(document(QLatin1String(name))), name);

        const QByteArray docx = checks::readAll(document(QStringLiteral("sample.docx")));
        QVERIFY(writeFile(document(QStringLiteral("corrupt.docx")), docx.left(docx.size() / 2)));
        QVERIFY(writeFile(document(QStringLiteral("empty.doc")), {}));
        QVERIFY(writeFile(document(QStringLiteral("plain text.doc")), "Just a line of plain text.\n"));
        QVERIFY(writeFile(document(QStringLiteral("web archive.doc")),
                          "MIME-Version: 1.0\r\nContent-Type: multipart/related; boundary=\"b\"\r\n\r\n--b\r\n"
                          "Content-Type: text/plain\r\n\r\nNo page in this archive\r\n--b--\r\n"));
        QVERIFY(writeFile(document(QStringLiteral("AutoRun.docm")), autoRunDocument(work.filePath(QStringLiteral("marker.txt")))));
        QVERIFY(QFile::copy(document(QStringLiteral("sample.docx")), document(awkwardName() + QStringLiteral(".docx"))));
        QVERIFY(QFile::copy(document(QStringLiteral("protected.doc")), document(awkwardName() + QStringLiteral(".doc"))));
        QVERIFY(QFile::copy(document(QStringLiteral("sample.docx")), document(QString(200, QLatin1Char('L')) + QStringLiteral(".docx"))));

        for (const auto& [name, content] : otherKindsWordOpens())
            QVERIFY(writeFile(document(name), content));

        for (const QString& name : QDir(documents).entryList(QDir::Files))
            originalChecksums.insert(name, checksum(document(name)));
    }

    // Word opens these under a Word name as well: older formats, RTF, pages and XML.
    static QList<std::pair<QString, QByteArray>> otherKindsWordOpens()
    {
        return {
            {QStringLiteral("rtf.doc"), "{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 Hello Varnello text\\par}\n"},
            {QStringLiteral("web page.doc"),
             "<!DOCTYPE html>\n<!-- saved as a web page -->\n<html><body><p>Hello Varnello text</p></body></html>\n"},
            {QStringLiteral("web page with BOM.doc"),
             "\xEF\xBB\xBF \r\n<html><body><p>Hello Varnello text</p></body></html>\n"},
            {QStringLiteral("word 2003.xml.doc"),
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?mso-application progid=\"Word.Document\"?>\n"
             "<w:wordDocument xmlns:w=\"http://schemas.microsoft.com/office/word/2003/wordml\"><w:body><w:p><w:r>"
             "<w:t>Hello Varnello text</w:t></w:r></w:p></w:body></w:wordDocument>\n"},
            {QStringLiteral("flat.fodt.doc"),
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document xmlns:office=\"urn:oasis:names:tc:"
             "opendocument:xmlns:office:1.0\" xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
             "office:version=\"1.3\" office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:body>"
             "<office:text><text:p>Hello Varnello text</text:p></office:text></office:body></office:document>\n"},
        };
    }

    static QString awkwardName() { return QStringLiteral("Bericht #1 100% l'été \"quoted\" \u00DCml\u00E4ut"); }

    // The whole conversion of one document, as the program makes it.
    void convert(const QString& documentPath, const QString& outputPath, int format)
    {
        auto application = word->CreateObject();
        application->DocumentsOpen(documentPath);
        application->ActiveDocumentSaveAs(outputPath, format);
        application->ActiveDocumentClose();
        application->Quit();
    }

    void convertsAfterwards()
    {
        const QString page = output + QStringLiteral("/afterwards.htm");
        convert(document(QStringLiteral("sample.docx")), page, 10);
        checks::verifyFilteredPage(page, SampleTexts, 1);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        makeDocuments();
        output = work.filePath(QStringLiteral("output"));
        QVERIFY(QDir().mkpath(output));
        word = std::make_unique<LibreOfficeWordAutomation>(settings());
    }

    void cleanupTestCase()
    {
        word.reset();
        // Nothing the tests did changed a source document or left a lock file beside it.
        QCOMPARE(QDir(documents).entryList(QDir::Files | QDir::Hidden).size(), originalChecksums.size());
        for (auto it = originalChecksums.cbegin(); it != originalChecksums.cend(); ++it)
            QVERIFY2(checksum(document(it.key())) == it.value(), qPrintable(it.key()));
    }

    void convertsEachFormat_data()
    {
        QTest::addColumn<QString>("documentName");
        QTest::addColumn<int>("format");
        for (const char* name : {"sample.docx", "sample.doc", "sample.docm"})
            for (int format : {8, 10, 9})
                QTest::addRow("%s, format %d", name, format) << QString::fromLatin1(name) << format;
    }

    void convertsEachFormat()
    {
        QFETCH(QString, documentName);
        QFETCH(int, format);
        const QString target = output + QStringLiteral("/%1-%2.%3").arg(QFileInfo(documentName).suffix()).arg(format)
                                   .arg(format == 9 ? QStringLiteral("mht") : QStringLiteral("htm"));
        convert(document(documentName), target, format);
        if (format == 8)
            checks::verifyWebPage(target, SampleTexts, 1);
        else if (format == 10)
            checks::verifyFilteredPage(target, SampleTexts, 1);
        else
            checks::verifyArchive(target, SampleTexts, 1);
    }

    void handlesAwkwardNames_data()
    {
        QTest::addColumn<QString>("documentName");
        QTest::addColumn<QString>("outputName");
        QTest::addColumn<int>("format");
        const QString awkward = awkwardName();
        QTest::newRow("blanks, #, %, quotes, non-ASCII, web page") << awkward + ".docx" << awkward + ".htm" << 8;
        QTest::newRow("blanks, #, %, quotes, non-ASCII, filtered") << awkward + ".docx" << awkward + ".html" << 10;
        QTest::newRow("blanks, #, %, quotes, non-ASCII, archive") << awkward + ".docx" << awkward + ".mhtml" << 9;
        const QString longName(200, QLatin1Char('L'));
        QTest::newRow("very long name, web page") << longName + ".docx" << longName + ".htm" << 8;
        QTest::newRow("very long name, archive") << longName + ".docx" << longName + ".mht" << 9;
    }

    void handlesAwkwardNames()
    {
        QFETCH(QString, documentName);
        QFETCH(QString, outputName);
        QFETCH(int, format);
        const QString folder = output + QStringLiteral("/out #%'\" \u00E9 %1").arg(format);
        QVERIFY(QDir().mkpath(folder));
        convert(document(documentName), folder + '/' + outputName, format);
        if (format == 8)
            checks::verifyWebPage(folder + '/' + outputName, SampleTexts, 1);
        else if (format == 10)
            checks::verifyFilteredPage(folder + '/' + outputName, SampleTexts, 1);
        else
            checks::verifyArchive(folder + '/' + outputName, SampleTexts, 1);
    }

    void convertsEveryKindWordOpens_data()
    {
        QTest::addColumn<QString>("documentName");
        for (const auto& [name, content] : otherKindsWordOpens())
            QTest::newRow(qPrintable(name)) << name;
    }

    void convertsEveryKindWordOpens()
    {
        QFETCH(QString, documentName);
        const QString target = output + QStringLiteral("/kind %1.htm").arg(documentName);
        convert(document(documentName), target, 10);
        checks::verifyFilteredPage(target, {QStringLiteral("Hello Varnello text")}, 0);
    }

    // Names Linux allows but URLs and UTF-8 text do not carry as they stand.
    void reachesDocumentsByAnyName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("question mark and star") << QByteArray("What? *Really*.docx");
        QTest::newRow("line break and tab") << QByteArray("two\nlines\there.docx");
        QTest::newRow("Latin-1 bytes, not UTF-8") << QByteArray("R\xE9sum\xE9 1.docx");
        QTest::newRow("lone byte and a suffix that is not UTF-8") << QByteArray("x\xFF.d\xF6" "c");
    }

    void reachesDocumentsByAnyName()
    {
        QFETCH(QByteArray, name);
        const QByteArray path = LocalFileName::encode(documents) + "/../" + name;
        const QByteArray docx = checks::readAll(document(QStringLiteral("sample.docx")));
        const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        QVERIFY(descriptor >= 0);
        QCOMPARE(::write(descriptor, docx.constData(), size_t(docx.size())), ssize_t(docx.size()));
        ::close(descriptor);
        const QString target = output + QStringLiteral("/any name %1.htm").arg(QString::fromLatin1(QTest::currentDataTag()));
        convert(LocalFileName::decode(path), target, 10);
        ::unlink(path.constData());
        checks::verifyFilteredPage(target, SampleTexts, 1);
        // The same names, missing, fail with a reason that names them.
        auto application = word->CreateObject();
        try {
            application->DocumentsOpen(LocalFileName::decode(path));
            QFAIL("a missing document opened");
        } catch (const AutomationError& error) {
            QVERIFY2(error.Description().contains(QLatin1String("does not exist")), qPrintable(error.Description()));
        }
    }

    void unwritableProfileFolderFallsBackToATemporaryOne()
    {
        // Below a file, no folder can be made: as in a read-only home, even for root.
        const QString file = work.filePath(QStringLiteral("a file"));
        QVERIFY(writeFile(file, "x"));
        LibreOfficeSettings unwritable = settings();
        unwritable.profileRoot = file + QStringLiteral("/varnello");
        LibreOfficeWordAutomation fallback(unwritable);
        auto application = fallback.CreateObject();
        const QString target = output + QStringLiteral("/temporary profile.htm");
        application->DocumentsOpen(document(QStringLiteral("sample.docx")));
        application->ActiveDocumentSaveAs(target, 10);
        application->Quit();
        checks::verifyFilteredPage(target, SampleTexts, 1);
    }

    void replacesAnExistingOutput()
    {
        const QString target = output + QStringLiteral("/existing.mht");
        QVERIFY(writeFile(target, "an older file"));
        convert(document(QStringLiteral("sample.docx")), target, 9);
        checks::verifyArchive(target, SampleTexts, 1);
    }

    void unreadableDocumentsFailToOpen_data()
    {
        QTest::addColumn<QString>("documentName");
        QTest::addColumn<QString>("reason");
        QTest::newRow("corrupt") << "corrupt.docx" << "damaged";
        QTest::newRow("empty") << "empty.doc" << "empty";
        QTest::newRow("plain text named .doc") << "plain text.doc" << "not a Word document";
        QTest::newRow("web archive named .doc") << "web archive.doc" << "web archive";
        QTest::newRow("password-protected") << "protected.doc" << "password";
        QTest::newRow("password-protected, awkward name") << awkwardName() + ".doc" << "password";
        QTest::newRow("missing") << "no such document.doc" << "does not exist";
    }

    void unreadableDocumentsFailToOpen()
    {
        QFETCH(QString, documentName);
        QFETCH(QString, reason);
        auto application = word->CreateObject();
        try {
            application->DocumentsOpen(document(documentName));
            QFAIL("the document opened");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), LibreOfficeErrors::OpenFailed);
            QVERIFY2(error.Description().contains(document(documentName)), qPrintable(error.Description()));
            QVERIFY2(error.Description().contains(reason), qPrintable(error.Description()));
        }
        application->Quit();
        convertsAfterwards();
    }

    void callsWithoutADocumentFail()
    {
        auto application = word->CreateObject();
        try {
            application->ActiveDocumentSaveAs(output + QStringLiteral("/nothing.htm"), 8);
            QFAIL("saved without a document");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), LibreOfficeErrors::NoDocument);
        }
        application->DocumentsOpen(document(QStringLiteral("sample.docx")));
        try {
            application->ActiveDocumentSaveAs(output + QStringLiteral("/format.htm"), 7);
            QFAIL("saved in an unknown format");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), LibreOfficeErrors::SaveFailed);
        }
        application->Quit();
    }

    void macrosNeverRun()
    {
        const QString page = output + QStringLiteral("/autorun.htm");
        convert(document(QStringLiteral("AutoRun.docm")), page, 8);
        QVERIFY(checks::readAll(page).contains("Macro document text"));
        QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("marker.txt"))));
    }

    void outputFolderThatVanishedOrTurnedReadOnlyFailsTheSave_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("vanished") << false;
        QTest::newRow("read-only") << true;
    }

    void outputFolderThatVanishedOrTurnedReadOnlyFailsTheSave()
    {
        QFETCH(bool, readOnly);
        if (readOnly && geteuid() == 0)
            QSKIP("permissions do not bind root");
        const QString folder = output + (readOnly ? QStringLiteral("/locked") : QStringLiteral("/vanishing"));
        QVERIFY(QDir().mkpath(folder));
        auto application = word->CreateObject();
        application->DocumentsOpen(document(QStringLiteral("sample.docx")));
        if (readOnly)
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        else
            QVERIFY(QDir(folder).removeRecursively());
        const QString target = folder + QStringLiteral("/Report.htm");
        try {
            application->ActiveDocumentSaveAs(target, 8);
            QFAIL("saved into a missing folder");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), LibreOfficeErrors::SaveFailed);
            QVERIFY2(error.Description().contains(target), qPrintable(error.Description()));
        }
        application->Quit();
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
        convertsAfterwards();
    }

    void fullDiskFailsTheSave()
    {
        const QString target = output + QStringLiteral("/full.htm");
        QVERIFY(writeFile(target, "previous page"));
        auto application = word->CreateObject();
        application->DocumentsOpen(document(QStringLiteral("sample.docx")));
        // Writes beyond a file size limit fail as on a full disk.
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = previous;
        tiny.rlim_cur = 100;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        int number = 0;
        try {
            application->ActiveDocumentSaveAs(target, 10);
        } catch (const AutomationError& error) {
            number = error.Number();
        }
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(number, LibreOfficeErrors::SaveFailed);
        QCOMPARE(checks::readAll(target), QByteArray("previous page"));
        application->Quit();
        convertsAfterwards();
    }

    // A helper killed under a document (say by the kernel's out-of-memory killer) costs
    // that document nothing: it is converted again on a fresh helper.
    void helperKilledDuringACall()
    {
        word->CreateObject()->Quit(); // a helper is running
        const qint64 pid = word->helperProcessId();
        QVERIFY(pid > 0);
        const int startsBefore = word->helperStarts();
        // Stopped first, so the call is surely under way when the kill arrives.
        QCOMPARE(::kill(pid_t(pid), SIGSTOP), 0);
        std::thread killer([pid] {
            std::this_thread::sleep_for(300ms);
            ::kill(pid_t(pid), SIGKILL);
        });
        const QString page = output + QStringLiteral("/killed.htm");
        try {
            convert(document(QStringLiteral("sample.docx")), page, 10);
        } catch (const AutomationError& error) {
            killer.join();
            QFAIL(qPrintable(error.Description()));
        }
        killer.join();
        checks::verifyFilteredPage(page, SampleTexts, 1);
        QVERIFY(word->helperStarts() > startsBefore);
        QVERIFY(word->helperProcessId() != pid);
    }

    // Work done ahead by two helpers writes, byte for byte, what one-at-a-time calls
    // write, with every failure at its own document.
    void lookAheadWritesWhatDirectCallsWrite()
    {
        const QStringList names{QStringLiteral("sample.docx"), QStringLiteral("corrupt.docx"),
                                QStringLiteral("sample.doc"), QStringLiteral("protected.doc"),
                                QStringLiteral("sample.docm"), awkwardName() + QStringLiteral(".docx")};
        QStringList paths;
        for (const QString& name : names)
            paths << document(name);
        const auto runInto = [&](WordAutomation& automation, const QString& folder, int32_t format) {
            QStringList outcomes;
            QDir().mkpath(folder);
            for (int i = 0; i < paths.size(); ++i) {
                auto application = automation.CreateObject();
                try {
                    application->DocumentsOpen(paths[i]);
                    application->ActiveDocumentSaveAs(folder + QStringLiteral("/page%1.htm").arg(i), format);
                    application->ActiveDocumentClose();
                    outcomes << QStringLiteral("ok");
                } catch (const AutomationError& error) {
                    outcomes << error.Description();
                }
            }
            return outcomes;
        };
        for (const int32_t format : {8, 10}) {
            const QString direct = output + QStringLiteral("/direct%1").arg(format);
            const QStringList directOutcomes = runInto(*word, direct, format);
            LibreOfficeSettings pooled = settings();
            pooled.helpers = 2;
            LibreOfficeWordAutomation ahead(pooled);
            ahead.Announce(paths, format);
            const QString planned = output + QStringLiteral("/ahead%1").arg(format);
            const QStringList aheadOutcomes = runInto(ahead, planned, format);
            QCOMPARE(aheadOutcomes, directOutcomes);
            QCOMPARE(QDir(planned).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QDir(direct).entryList(QDir::AllEntries | QDir::NoDotAndDotDot));
            for (int i = 0; i < paths.size(); ++i) {
                const QString page = QStringLiteral("/page%1.htm").arg(i);
                QCOMPARE(checks::readAll(planned + page), checks::readAll(direct + page));
            }
            QCOMPARE(ahead.helperStarts(), 2);
        }
    }

    void helperThatDiedBetweenDocumentsIsReplaced()
    {
        word->CreateObject()->Quit();
        const qint64 pid = word->helperProcessId();
        QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
        QTest::qWait(100);
        convertsAfterwards();
    }

    void callThatHangsTimesOut()
    {
        word->CreateObject()->Quit();
        const qint64 pid = word->helperProcessId();
        word->setCallTimeout(1500ms);
        QCOMPARE(::kill(pid_t(pid), SIGSTOP), 0);
        auto application = word->CreateObject();
        QElapsedTimer timer;
        timer.start();
        int number = 0;
        QString description;
        try {
            application->DocumentsOpen(document(QStringLiteral("sample.docx")));
        } catch (const AutomationError& error) {
            number = error.Number();
            description = error.Description();
        }
        word->setCallTimeout(60s);
        QCOMPARE(number, LibreOfficeErrors::TimedOut);
        // A stopped helper does no work: it is not the document's size that held it up.
        QVERIFY2(description.contains(QLatin1String("stopped answering")), qPrintable(description));
        QVERIFY2(description.contains(document(QStringLiteral("sample.docx"))), qPrintable(description));
        QVERIFY(timer.elapsed() < 10000);
        // The hung helper is gone, not left behind.
        QTRY_VERIFY(::kill(pid_t(pid), 0) != 0);
        application.reset();
        convertsAfterwards();
    }

    void helperIsReplacedAfterItsDocumentQuota()
    {
        LibreOfficeSettings quota = settings();
        quota.documentsPerHelper = 3;
        LibreOfficeWordAutomation limited(quota);
        QSet<qint64> helpers;
        for (int i = 0; i < 7; ++i) {
            auto application = limited.CreateObject();
            helpers.insert(limited.helperProcessId());
            application->DocumentsOpen(document(QStringLiteral("sample.docx")));
            application->ActiveDocumentSaveAs(output + QStringLiteral("/quota.htm"), 10);
            application->ActiveDocumentClose();
            application->Quit();
        }
        QCOMPARE(limited.helperStarts(), 3);
        QCOMPARE(helpers.size(), 3);
    }

    void missingLibreOfficeCannotCreate()
    {
        LibreOfficeSettings broken = settings();
        broken.libreOfficeProgramFolder = work.filePath(QStringLiteral("no-libreoffice/program"));
        LibreOfficeWordAutomation missing(broken);
        try {
            missing.CreateObject();
            QFAIL("created an application without LibreOffice");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), WordErrors::CannotCreate);
            QVERIFY2(error.Description().contains(QLatin1String("apt-get install libreoffice-writer")),
                     qPrintable(error.Description()));
        }
    }
};

QTEST_MAIN(TestLibreOfficeAutomation)
#include "tst_LibreOfficeAutomation.moc"
