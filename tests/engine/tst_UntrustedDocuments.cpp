// Documents from strangers, converted with the real helper: nothing they link to is
// fetched or copied, oversized packages fail at once, and the helper leaves no litter.
#include "engine/LibreOfficeChecks.h"
// After the checks, whose GLib headers must come before any Qt header.
#include "engine/CountingServer.h"
#include "engine/RealLibreOffice.h"
#include "engine/ZipPackage.h"

#include "engine/client/DocumentCopy.h"
#include "engine/client/LibreOfficeWordAutomation.h"
#include "engine/client/ScratchFolder.h"
#include "engine/word/AutomationError.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <QtTest>

#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

QByteArray png()
{
    return pngPicture(16, 16, Qt::magenta);
}

bool writeFile(const QString& path, const QByteArray& data)
{
    return writeBytes(path, data);
}

QByteArray flatTextDocument(const QByteArray& text, const QList<QByteArray>& pictures)
{
    QByteArray frames;
    for (const QByteArray& picture : pictures)
        frames += "<draw:frame svg:width=\"2cm\" svg:height=\"2cm\"><draw:image xlink:href=\"" + picture
                  + "\" xlink:type=\"simple\" xlink:show=\"embed\" xlink:actuate=\"onLoad\"/></draw:frame>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document "
           "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
           "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
           "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" office:version=\"1.3\" "
           "office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:body><office:text><text:p>"
           + text + frames + "</text:p></office:text></office:body></office:document>";
}

bool hasLandlock()
{
    return syscall(SYS_landlock_create_ruleset, nullptr, 0, 1U) >= 1;
}

QStringList helperFolders()
{
    return QDir(scratchFolder())
        .entryList({QStringLiteral("varnello-lok-%1-*").arg(QCoreApplication::applicationPid())}, QDir::Dirs);
}

} // namespace

class TestUntrustedDocuments : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;
    CountingServer server;
    QString secretPicture;
    std::unique_ptr<LibreOfficeWordAutomation> word;

    static LibreOfficeSettings settings()
    {
        LibreOfficeSettings settings = LibreOfficeSettings::forProgramFolder(QString());
        settings.helperPath = QStringLiteral(VARNELLO_LOK_HELPER);
        settings.profileRoot = QDir::tempPath() + QStringLiteral("/varnello-test-profiles-") + QString::number(getuid());
        settings.callTimeout = 60s;
        return settings;
    }

    QString path(const QString& name) const { return work.filePath(name); }

    void convert(const QString& document, const QString& output, int format)
    {
        reallibreoffice::convert(*word, document, output, format);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        QVERIFY(server.isListening());
        secretPicture = path(QStringLiteral("secret.png"));
        QVERIFY(writeFile(secretPicture, png()));
        const QByteArray secretUrl = QUrl::fromLocalFile(secretPicture).toEncoded();
        QVERIFY(zippackage::writeLinkingDocument(path(QStringLiteral("linked.docx")), "Linking docx text",
                                                 {server.url("/docx.png"), secretUrl}));
        QVERIFY(writeFile(path(QStringLiteral("linked.fodt")),
                          flatTextDocument("Linking odt text", {server.url("/odt.png"), secretUrl})));
        QVERIFY(writeFile(path(QStringLiteral("page.doc")),
                          "<html><head><link rel=\"stylesheet\" href=\"" + server.url("/style.css")
                              + "\"><style>@import url(" + server.url("/import.css") + "); body { background: url("
                              + server.url("/back.png") + ") }</style></head><body><p>Web page text</p><img src=\""
                              + server.url("/page.png") + "\"></body></html>"));
        // Documents that name local files LibreOffice would read while loading.
        const QByteArray secretPath = QFile::encodeName(secretPicture);
        QVERIFY(writeFile(path(QStringLiteral("rtf-linked.doc")),
                          R"({\rtf1\ansi Linked {\field{\*\fldinst INCLUDEPICTURE ")" + secretUrl
                              + R"(" \\d}{\fldrslt }} picture\par})"));
        QVERIFY(writeFile(path(QStringLiteral("rtf-included.doc")),
                          R"({\rtf1\ansi Included {\field{\*\fldinst INCLUDEPICTURE ")" + secretPath
                              + R"("}{\fldrslt }} picture\par})"));
        QVERIFY(writeFile(path(QStringLiteral("secret.css")), "p { color: #123456 }"));
        QVERIFY(writeFile(path(QStringLiteral("local-page.doc")),
                          "<html><head><link rel=\"stylesheet\" href=\"" + QUrl::fromLocalFile(path("secret.css")).toEncoded()
                              + "\"></head><body><p>Local page text</p><img src=\"" + secretUrl + "\"></body></html>"));
        QVERIFY(QDir(work.path()).mkpath(QStringLiteral("pictures")));
        QVERIFY(writeFile(path(QStringLiteral("pictures/near.png")), png()));
        QVERIFY(zippackage::writeLinkingDocument(path(QStringLiteral("relative.docx")), "Relative link text",
                                                 {"pictures/near.png"}));
        QVERIFY(zippackage::writeZipBomb(path(QStringLiteral("bomb.docx")), 3));
        QVERIFY(zippackage::writeZipBomb(path(QStringLiteral("disguised.docx")), 3, true));
        QVERIFY(zippackage::writeMonstrousDocument(path(QStringLiteral("monstrous.docx")), 600000));
        word = std::make_unique<LibreOfficeWordAutomation>(settings());
    }

    void cleanupTestCase()
    {
        word.reset();
        QCOMPARE(helperFolders(), QStringList());
    }

    void linksAreNeitherFetchedNorCopied_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("format");
        for (const char* name : {"linked.docx", "linked.fodt"})
            for (int format : {8, 9, 10})
                QTest::addRow("%s, format %d", name, format) << QString::fromLatin1(name) << format;
    }

    // Linked pictures stay links: the remote one its web address, the local one an
    // absolute file address, and neither is read.
    void linksAreNeitherFetchedNorCopied()
    {
        QFETCH(QString, document);
        QFETCH(int, format);
        const QString output = path(QStringLiteral("out-%1-%2.%3").arg(document).arg(format).arg(format == 9 ? "mht" : "htm"));
        convert(path(document), output, format);
        QCOMPARE(server.requests(), 0);

        const QByteArray html = format == 9 ? checks::parseArchive(checks::readAll(output)).value(0).data
                                            : checks::readAll(output);
        const QStringList sources = checks::imageSources(html);
        QCOMPARE(sources.size(), 2);
        QVERIFY2(sources.contains(QString::fromUtf8(server.url(document.endsWith(".docx") ? "/docx.png" : "/odt.png"))),
                 qPrintable(sources.join(' ')));
        // Beside the document: relative in a page to publish, else an absolute address.
        QVERIFY2(sources.contains(format == 10 ? QStringLiteral("secret.png")
                                               : QUrl::fromLocalFile(secretPicture).toString(QUrl::FullyEncoded)),
                 qPrintable(sources.join(' ')));
        QVERIFY(!html.contains(png().toBase64().left(40)));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("out-%1-%2_files").arg(document).arg(format))));
        if (format == 9)
            QCOMPARE(checks::parseArchive(checks::readAll(output)).size(), 1);
    }

    void localFilesAreNeverRead_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("format");
        for (const char* name : {"rtf-linked.doc", "rtf-included.doc", "local-page.doc", "relative.docx"})
            for (int format : {8, 9, 10})
                QTest::addRow("%s, format %d", name, format) << QString::fromLatin1(name) << format;
    }

    // Pictures, style sheets and fields that name local files: nothing of them is read,
    // so nothing reaches the output, and what stays a link points where the document's
    // own link points, never into the folder the helper worked in.
    void localFilesAreNeverRead()
    {
        QFETCH(QString, document);
        QFETCH(int, format);
        const QString base = QStringLiteral("local-%1-%2").arg(document).arg(format);
        const QString output = path(base + (format == 9 ? ".mht" : ".htm"));
        convert(path(document), output, format);

        const QByteArray html = format == 9 ? checks::parseArchive(checks::readAll(output)).value(0).data
                                            : checks::readAll(output);
        QVERIFY(!html.contains("data:image"));
        // A linked style sheet is kept from LibreOffice only by the kernel's sandbox.
        if (hasLandlock())
            QVERIFY(!html.contains("123456"));
        QVERIFY(!QFileInfo::exists(path(base + "_files")));
        if (format == 9)
            QCOMPARE(checks::parseArchive(checks::readAll(output)).size(), 1);
        const QStringList sources = checks::imageSources(html);
        for (const QString& source : sources)
            QVERIFY2(!source.contains(QLatin1String("/varnello-")), qPrintable(source));
        // A page to publish keeps what the document links relative to itself relative.
        if (document == QLatin1String("relative.docx"))
            QCOMPARE(sources, QStringList{format == 10 ? QStringLiteral("pictures/near.png")
                                                       : QUrl::fromLocalFile(path(QStringLiteral("pictures/near.png"))).toString(QUrl::FullyEncoded)});
        if (document == QLatin1String("local-page.doc"))
            QCOMPARE(sources, QStringList{format == 10 ? QStringLiteral("secret.png")
                                                       : QUrl::fromLocalFile(secretPicture).toString(QUrl::FullyEncoded)});
    }

    void webPageUnderWordNameFetchesNothing()
    {
        try {
            convert(path(QStringLiteral("page.doc")), path(QStringLiteral("page.htm")), 8);
        } catch (const AutomationError&) {
            // Whether it is refused or converted, it must not reach the server.
        }
        QCOMPARE(server.requests(), 0);
    }

    void zipBombFailsAtOnceAndTheNextDocumentConverts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("3 GB of text") << QStringLiteral("bomb") << QStringLiteral("word/document.xml");
        QTest::newRow("600,000 paragraphs") << QStringLiteral("monstrous") << QStringLiteral("word/document.xml");
        // Its stored directory offset leads to a decoy that lists every part as a few bytes.
        QTest::newRow("3 GB behind a decoy directory") << QStringLiteral("disguised")
                                                       << QStringLiteral("ZIP directory is not where");
    }

    void zipBombFailsAtOnceAndTheNextDocumentConverts()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        word->CreateObject()->Quit(); // LibreOffice's start is not the document's time
        QElapsedTimer timer;
        timer.start();
        QString message;
        try {
            convert(path(name + ".docx"), path(name + ".htm"), 8);
        } catch (const AutomationError& error) {
            message = error.Description();
        }
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(message.contains(name + ".docx") && message.contains(reason), qPrintable(message));
        QVERIFY(!QFileInfo::exists(path(name + ".htm")));
        convert(path(QStringLiteral("linked.fodt")), path(QStringLiteral("after.htm")), 10);
        QVERIFY(checks::readAll(path(QStringLiteral("after.htm"))).contains("Linking odt text"));
    }

    // A file larger than any Word document is neither copied for the helper nor loaded.
    void oversizedFileFailsWithoutBeingCopied()
    {
        const QString oversized = path(QStringLiteral("oversized.doc"));
        QFile file(oversized);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(largestDocumentBytes + 1)); // sparse: no disk used
        file.close();
        QString message;
        try {
            convert(oversized, path(QStringLiteral("oversized.htm")), 8);
        } catch (const AutomationError& error) {
            message = error.Description();
        }
        QVERIFY2(message.contains(QLatin1String("oversized.doc")) && message.contains(QLatin1String("larger than Word")),
                 qPrintable(message));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("oversized.htm"))));
        QFile::remove(oversized);
    }

    // The helper's temporary files live in a folder of the program's own that goes with
    // the helper, also when it is killed; folders whose owner is gone are swept. The
    // owner holds a lock in its folder: a run in another process namespace, whose
    // process number means nothing here, keeps its folders.
    void helperTemporaryFilesGoWithTheHelper()
    {
        QProcess ended;
        ended.start(QStringLiteral("true"));
        QVERIFY(ended.waitForStarted());
        const qint64 endedId = ended.processId();
        QVERIFY(ended.waitForFinished());
        const auto owned = [&](const QString& name, bool ownerAlive) {
            const QString folder = scratchFolder() + name.arg(endedId);
            QDir().mkpath(folder + QStringLiteral("/7/document"));
            const int lock = ::open(QFile::encodeName(folder + "/.owner-lock").constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (ownerAlive)
                ::flock(lock, LOCK_EX);
            else
                ::close(lock);
            return folder;
        };
        const QString stale = owned(QStringLiteral("/varnello-lok-%1-Stale1"), false);
        const QString staleStaging = owned(QStringLiteral("/varnello-staging-%1-Stale2"), false);
        const QString otherNamespace = owned(QStringLiteral("/varnello-staging-%1-Container"), true);
        // Another user's folder under a stale name stays (only root can make one here).
        const QString othersFolder = owned(QStringLiteral("/varnello-staging-%1-Others"), false);
        const bool haveOthersFolder = ::chown(QFile::encodeName(othersFolder).constData(), 65534, 65534) == 0;

        word.reset();
        word = std::make_unique<LibreOfficeWordAutomation>(settings());
        convert(path(QStringLiteral("linked.docx")), path(QStringLiteral("temp.htm")), 8);
        QVERIFY(!QFileInfo::exists(stale));
        QVERIFY(!QFileInfo::exists(staleStaging));
        QVERIFY(QDir(otherNamespace).removeRecursively());
        QCOMPARE(QFileInfo::exists(othersFolder), haveOthersFolder);
        QVERIFY(QDir(othersFolder).removeRecursively());
        QCOMPARE(helperFolders().size(), 1);
        const qint64 helper = word->helperProcessId();
        QVERIFY(helper > 0);
        // The helper's memory is capped (the soft limit, after the name's three words).
        const QByteArray limits = checks::readAll(QStringLiteral("/proc/%1/limits").arg(helper));
        const qsizetype line = limits.indexOf("Max data size");
        QVERIFY(line >= 0);
        const QByteArray soft = limits.mid(line, limits.indexOf('\n', line) - line).simplified().split(' ').value(3);
        QVERIFY2(soft.toLongLong() >= (qint64(2) << 30) && soft.toLongLong() <= (qint64(4) << 30), soft.constData());

        const QString first = helperFolders().value(0);
        QCOMPARE(::kill(pid_t(helper), SIGKILL), 0);
        QTest::qWait(200);
        try {
            convert(path(QStringLiteral("linked.docx")), path(QStringLiteral("temp.htm")), 8);
        } catch (const AutomationError&) {
        }
        convert(path(QStringLiteral("linked.docx")), path(QStringLiteral("temp.htm")), 8);
        QVERIFY(!helperFolders().contains(first));
        QCOMPARE(helperFolders().size(), 1);
    }
};

QTEST_MAIN(TestUntrustedDocuments)
#include "tst_UntrustedDocuments.moc"
