// The web output written from a page LibreOffice staged: reference rewriting and the
// three formats, on pages made here (no LibreOffice needed).
#include "engine/LibreOfficeChecks.h"

#include "engine/web/HtmlReferences.h"
#include "engine/web/WebOutput.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray png(QColor color)
{
    return pngPicture(8, 6, color);
}

void writeFile(const QString& path, const QByteArray& data)
{
    QVERIFY(writeBytes(path, data));
}

const char StagedHtml[] =
    "<!DOCTYPE html><html><head><style type=\"text/css\">\n"
    "  p.banner { background: url(page_html_b.png) }\n"
    "</style></head>\n"
    "<body background=\"page_html_b.png\"><p>Quarterly text, see page_html_a.png</p>\n"
    "<img src=\"page_html_a.png\" name=\"Image1\"><img src='./page_html_b.png'>\n"
    "<img src=page_html_a.png>\n"
    "<table><tr><td style=\"background: url('page_html_a.png') no-repeat\">Cell A</td></tr></table>\n"
    "<a href=\"http://example.org/page_html_a.png\">elsewhere</a> <a href=\"notes.txt\">notes</a>\n"
    "</body></html>\n";

} // namespace

class TestWebOutput : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;
    QString stagedPage;

    // A staging folder as LibreOffice leaves it: the page, its pictures, and a stray file.
    void stage()
    {
        const QString folder = work.filePath(QStringLiteral("staging"));
        QVERIFY(QDir().mkpath(folder));
        stagedPage = folder + QStringLiteral("/page.html");
        writeFile(stagedPage, StagedHtml);
        writeFile(folder + QStringLiteral("/page_html_a.png"), png(Qt::red));
        writeFile(folder + QStringLiteral("/page_html_b.png"), png(Qt::blue));
        writeFile(folder + QStringLiteral("/stray.txt"), "staged, but the page never names it");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        stage();
    }

    // A link to another document of the run leads to its page; in the page to publish,
    // what lies beside the document stays relative, and nothing names the staging folder.
    void linksLeadToTheRunsPages()
    {
        const QString staged = work.filePath(QStringLiteral("linking/staging/page.html"));
        QVERIFY(QDir().mkpath(QFileInfo(staged).path()) && QDir().mkpath(work.filePath(QStringLiteral("linking/out"))));
        writeFile(staged, "<html><body><a href=\"../docs/other.docx#part\">other</a> <a href=\"../docs/notes.txt\">n</a></body></html>");
        const QString docs = work.filePath(QStringLiteral("linking/docs"));
        const QHash<QString, QString> pages{{docs + QStringLiteral("/other.docx"), work.filePath(QStringLiteral("linking/out/other.htm"))}};
        const DocumentPlace place{{}, docs, {}, &pages};
        for (int format : {8, 10}) {
            const QString output = work.filePath(QStringLiteral("linking/out/this%1.htm").arg(format));
            QCOMPARE(writeWebOutput(staged, output, format, {}, place), QString());
            const QByteArray html = checks::readAll(output);
            QVERIFY2(html.contains("href=\"other.htm#part\""), html.constData());
            QVERIFY(html.contains(format == 10 ? "href=\"notes.txt\"" : "href=\"file://" + QUrl::fromLocalFile(docs).toEncoded().mid(7) + "/notes.txt\""));
            QVERIFY(!html.contains("staging"));
        }
    }

    void findsEveryReferenceToAStagedFile()
    {
        const QByteArray html(StagedHtml);
        const QSet<QString> files{QStringLiteral("page_html_a.png"), QStringLiteral("page_html_b.png")};
        const QList<HtmlFileReference> references = findFileReferences(html, files);
        const QByteArray rewritten = replaceFileReferences(html, references, [](const QString& name) {
            return "NEW-" + name.toUtf8();
        });
        // The style element, body background, three img elements and the cell's style.
        QCOMPARE(references.size(), 6);
        QVERIFY(rewritten.contains("url(NEW-page_html_b.png)"));
        QVERIFY(rewritten.contains("background=\"NEW-page_html_b.png\""));
        QVERIFY(rewritten.contains("<img src=\"NEW-page_html_a.png\" name=\"Image1\">"));
        QVERIFY(rewritten.contains("<img src=\"NEW-page_html_b.png\">"));
        QVERIFY(rewritten.contains("<img src=\"NEW-page_html_a.png\">"));
        QVERIFY(rewritten.contains("url('NEW-page_html_a.png') no-repeat"));
        // Text, absolute addresses and files that are not pictures stay as they were.
        QVERIFY(rewritten.contains("see page_html_a.png</p>"));
        QVERIFY(rewritten.contains("http://example.org/page_html_a.png"));
        QVERIFY(rewritten.contains("href=\"notes.txt\""));
    }

    // Only addresses are references: a title, a class or a meta content that looks
    // like a file name or a relative address is text and stays as it is.
    void textThatLooksLikeAnAddressIsLeftAlone()
    {
        const QByteArray html = "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">"
                                "<meta name=\"generator\" content=\"page.html\"></head><body class=\"image001.png\">"
                                "<img alt=\"image001.png\" title=\"notes\" src=\"image001.png\"></body></html>";
        const QList<HtmlFileReference> staged = findFileReferences(html, {QStringLiteral("image001.png")});
        QCOMPARE(staged.size(), 1);
        QCOMPARE(html.mid(staged[0].offset, staged[0].length), QByteArray("\"image001.png\""));
        QCOMPARE(html.left(staged[0].offset).count("image001.png"), 2); // class and alt come first, untouched
        const QList<HtmlFileReference> relative = findRelativeReferences(html);
        QCOMPARE(relative.size(), 1);
        QCOMPARE(relative[0].offset, staged[0].offset);
    }

    void writesEachFormat_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("outputName");
        QTest::newRow("web page") << 8 << QStringLiteral("Report.htm");
        QTest::newRow("web page, awkward name")
            << 8 << QStringLiteral("Bericht #1 100% l'été \"x\" \u00DC.html");
        QTest::newRow("filtered page") << 10 << QStringLiteral("Filtered #%'\".htm");
        QTest::newRow("archive") << 9 << QStringLiteral("Archive #%' \u00E9.mht");
    }

    void writesEachFormat()
    {
        QFETCH(int, format);
        QFETCH(QString, outputName);
        const QString folder = work.filePath(QStringLiteral("out ") + QString::number(format));
        QVERIFY(QDir().mkpath(folder));
        const QString output = folder + '/' + outputName;

        QCOMPARE(writeWebOutput(stagedPage, output, format), QString());
        const QStringList texts{QStringLiteral("Quarterly text"), QStringLiteral("Cell A")};
        if (format == 8) {
            checks::verifyWebPage(output, texts, 3);
            const QString companion = folder + '/' + QFileInfo(output).completeBaseName() + "_files";
            QCOMPARE(QDir(companion).entryList(QDir::Files),
                     QStringList({QStringLiteral("image001.png"), QStringLiteral("image002.png")}));
        } else if (format == 10) {
            checks::verifyFilteredPage(output, texts, 3);
        } else {
            checks::verifyArchive(output, texts, 3);
            QCOMPARE(checks::parseArchive(checks::readAll(output)).size(), 3); // page + two pictures
        }
        QCOMPARE(QDir(folder).entryList(QStringList{QStringLiteral(".varnello-*")}, QDir::Files | QDir::Hidden),
                 QStringList());
    }

    // LibreOffice writes a link to a file it did not write relative to its staging folder.
    void linksToOtherFilesBecomeAbsolute()
    {
        const QString folder = work.filePath(QStringLiteral("deep/staging"));
        QVERIFY(QDir().mkpath(folder));
        writeFile(folder + QStringLiteral("/page.html"),
                  "<img src=\"../pictures/linked%20one.png\"><a href=\"#top\">top</a>"
                  "<a href=\"../doc.docx#part\">doc</a><a href=\"missing.txt\">x</a><img src=\"page_html_a.png\">");
        writeFile(folder + QStringLiteral("/page_html_a.png"), png(Qt::red));
        const QString output = work.filePath(QStringLiteral("linked.htm"));
        QCOMPARE(writeWebOutput(folder + QStringLiteral("/page.html"), output, 8), QString());

        const QByteArray html = checks::readAll(output);
        const auto address = [this](const char* path) { return QUrl::fromLocalFile(work.filePath(QLatin1String(path))).toEncoded(); };
        QVERIFY2(html.contains("src=\"" + address("deep/pictures/linked one.png") + '"'), html.constData());
        QVERIFY2(html.contains("href=\"" + address("deep/doc.docx") + "#part\""), html.constData());
        QVERIFY(html.contains("href=\"#top\""));
        QVERIFY(html.contains("href=\"missing.txt\"")); // names nothing, and nothing outside
        QVERIFY(html.contains("src=\"linked_files/image001.png\""));
    }

    void replacesAnExistingOutput()
    {
        const QString output = work.filePath(QStringLiteral("existing.htm"));
        writeFile(output, "old content that must go");
        QCOMPARE(writeWebOutput(stagedPage, output, 10), QString());
        QVERIFY(!checks::readAll(output).contains("old content"));
    }

    void reportsOutputThatCannotBeWritten()
    {
        const QString missing = work.filePath(QStringLiteral("gone/Report.htm"));
        QVERIFY(writeWebOutput(stagedPage, missing, 10).contains(missing));

        // A file where the picture folder must go.
        const QString blocked = work.filePath(QStringLiteral("Blocked.htm"));
        writeFile(work.filePath(QStringLiteral("Blocked_files")), "in the way");
        QVERIFY(!writeWebOutput(stagedPage, blocked, 8).isEmpty());
        QVERIFY(!QFileInfo::exists(blocked));

        QVERIFY(!writeWebOutput(stagedPage, work.filePath(QStringLiteral("x.htm")), 7).isEmpty());
    }

    void fullDiskKeepsThePreviousOutput()
    {
        const QString output = work.filePath(QStringLiteral("full.mht"));
        writeFile(output, "the previous archive");
        // A file size limit fails writes the way a full disk does.
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = previous;
        tiny.rlim_cur = 200;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        const QString error = writeWebOutput(stagedPage, output, 9);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(error.contains(output));
        QCOMPARE(checks::readAll(output), QByteArray("the previous archive"));
        QCOMPARE(QDir(work.path()).entryList(QStringList{QStringLiteral(".varnello-*")}, QDir::Files | QDir::Hidden),
                 QStringList());
    }
};

QTEST_MAIN(TestWebOutput)
#include "tst_WebOutput.moc"
