// Pages fit to publish, made by the real engine from documents that LibreOffice writes
// for the test: HTML Tidy through tools/tidy-report.py, titles, alt text, metadata,
// every word, and the filtered page's look beside the web page's in Chromium.
#include "engine/LibreOfficeChecks.h"
#include "engine/PublishingChecks.h"
#include "engine/PublishingDocuments.h"
#include "engine/RealLibreOffice.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray pngBase64(QColor color, int width, int height)
{
    return pngPicture(width, height, color).toBase64();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    return writeBytes(path, data);
}

// The counts tools/tidy-report.py prints, by their label.
QHash<QString, int> tidyReport(const QString& folder)
{
    QProcess report;
    report.start(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../tools/tidy-report.py"), {QStringLiteral("--list"), folder});
    QHash<QString, int> counts;
    if (!report.waitForFinished(300000) || report.exitCode() != 0) {
        qWarning() << report.readAllStandardError();
        return counts;
    }
    const QString output = QString::fromUtf8(report.readAllStandardOutput());
    static const QRegularExpression count(QStringLiteral("^([a-z -]+): (\\d+)$"), QRegularExpression::MultilineOption);
    for (const auto& match : count.globalMatch(output))
        counts.insert(match.captured(1), match.captured(2).toInt());
    if (counts.value(QStringLiteral("pages with tidy errors")) || counts.value(QStringLiteral("pictures without alt")))
        qWarning().noquote() << output;
    return counts;
}

QStringList altTexts(const QByteArray& html)
{
    QStringList alts;
    const publishing::Tree tree = publishing::parse(html);
    publishing::forEachNode(tree->root, [&alts](const GumboNode* node) {
        if (node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == GUMBO_TAG_IMG)
            if (const GumboAttribute* alt = gumbo_get_attribute(&node->v.element.attributes, "alt"))
                alts << QString::fromUtf8(alt->value);
    });
    return alts;
}

} // namespace

class TestPublishablePages : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;
    QString documents;
    const QStringList names{QStringLiteral("Report With Title"), QStringLiteral("No Title"),
                            QStringLiteral("plain notes"), QStringLiteral("Reviewed Draft"),
                            QStringLiteral("Reviewed Old")};

    QString output(int format) const { return work.filePath(QStringLiteral("out%1").arg(format)); }
    QString page(int format, const QString& name) const
    {
        return output(format) + '/' + name + (format == 9 ? QStringLiteral(".mht") : QStringLiteral(".htm"));
    }
    QByteArray html(int format, const QString& name) const
    {
        const QByteArray bytes = checks::readAll(page(format, name));
        return format == 9 ? checks::parseArchive(bytes).value(0).data : bytes;
    }

    void makeDocuments()
    {
        documents = work.filePath(QStringLiteral("documents"));
        QVERIFY(QDir().mkpath(documents));
        const QByteArray red = pngBase64(QColor(200, 30, 30), 40, 30);
        const QByteArray blue = pngBase64(QColor(30, 30, 200), 30, 20);
        QVERIFY(writeFile(work.filePath(QStringLiteral("Report With Title.fodt")), publishingDocument(true, red, blue)));
        QVERIFY(writeFile(work.filePath(QStringLiteral("No Title.fodt")), publishingDocument(false, red, blue)));
        QVERIFY(writeFile(work.filePath(QStringLiteral("plain notes.html")),
                          "<html><body><p>Only plain words here.</p></body></html>"));
        const QString profile = reallibreoffice::sofficeProfile(QStringLiteral("pages-"));
        QVERIFY(reallibreoffice::runSoffice(profile, {QStringLiteral("--convert-to"), QStringLiteral("docx:MS Word 2007 XML"),
                                                      QStringLiteral("--outdir"), documents,
                                                      work.filePath(QStringLiteral("Report With Title.fodt")),
                                                      work.filePath(QStringLiteral("plain notes.html"))}));
        QVERIFY(zippackage::writePackage(documents + QStringLiteral("/Reviewed Draft.docx"), reviewedDocument()));
        QVERIFY(zippackage::writePackage(work.filePath(QStringLiteral("Reviewed Old.docx")), reviewedDocument()));
        QVERIFY(reallibreoffice::runSoffice(profile, {QStringLiteral("--convert-to"), QStringLiteral("doc:MS Word 97"),
                                                      QStringLiteral("--outdir"), documents,
                                                      work.filePath(QStringLiteral("No Title.fodt")),
                                                      work.filePath(QStringLiteral("Reviewed Old.docx"))}));
    }

    void convertAll()
    {
        LibreOfficeWordAutomation word(reallibreoffice::engineSettings());
        const QStringList files = QDir(documents).entryList(QDir::Files);
        QCOMPARE(files.size(), names.size());
        for (int format : {8, 9, 10}) {
            QVERIFY(QDir().mkpath(output(format)));
            for (const QString& file : files) {
                auto application = word.CreateObject();
                application->DocumentsOpen(documents + '/' + file);
                application->ActiveDocumentSaveAs(page(format, QFileInfo(file).completeBaseName()), format);
                application->ActiveDocumentClose();
                application->Quit();
            }
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        makeDocuments();
        convertAll();
    }

    void filteredPagesPassTidyAndNameNoOne()
    {
        const QHash<QString, int> counts = tidyReport(output(10));
        QCOMPARE(counts.value(QStringLiteral("pages"), -1), names.size());
        for (const char* label : {"pages with tidy errors", "warnings about dropped or invented markup",
                                  "pictures without alt", "pages with an empty title", "pages with personal metadata"})
            QVERIFY2(counts.value(QLatin1String(label), -1) == 0, label);
        // What readers stumble on, in the page to publish and in the web page.
        for (int format : {10, 8}) {
            const QHash<QString, int> reader = format == 10 ? counts : tidyReport(output(format));
            for (const char* label : {"replacement characters", "private-use characters", "field marker characters",
                                      "links with a tooltip as target", "pictures with generated alt text",
                                      "header cells that are not th"})
                QVERIFY2(reader.value(QLatin1String(label), -1) == 0, label);
            QVERIFY(html(format, QStringLiteral("Reviewed Draft")).contains("title=\"Tip for readers\""));
            QVERIFY(html(format, QStringLiteral("Reviewed Draft")).contains("\u03BC"));
        }
        for (const QString& name : names) {
            const publishing::Findings findings = publishing::inspect(html(10, name));
            QCOMPARE(findings.droppedMarkup, QStringList());
            QVERIFY(findings.charsetDeclared);
            // The document's language, as LibreOffice gives it for the whole body.
            QVERIFY(!findings.language.isEmpty());
            QVERIFY(html(8, name).contains("<body lang=\"" + findings.language + '"'));
            QVERIFY2(!html(10, name).contains("Secret remark"), qPrintable(name));
        }
    }

    void everyFormatHasTitlesAndAltText_data()
    {
        QTest::addColumn<int>("format");
        for (int format : {8, 9, 10})
            QTest::addRow("format %d", format) << format;
    }

    void everyFormatHasTitlesAndAltText()
    {
        QFETCH(int, format);
        const QHash<QString, int> counts = tidyReport(output(format));
        QCOMPARE(counts.value(QStringLiteral("pictures without alt"), -1), 0);
        QCOMPARE(counts.value(QStringLiteral("pages with an empty title"), -1), 0);
        // The document's property, else its first heading, else its file name.
        QCOMPARE(publishing::inspect(html(format, names[0])).title, QStringLiteral("Quarterly Report Title"));
        QCOMPARE(publishing::inspect(html(format, names[1])).title, QStringLiteral("First Heading Alpha"));
        QCOMPARE(publishing::inspect(html(format, names[2])).title, QStringLiteral("plain notes"));
        // A picture's description first, else its title, else an empty alt for decoration.
        QStringList alts = altTexts(html(format, names[0]));
        alts.sort();
        QCOMPARE(alts, QStringList({QString(), QStringLiteral("A red square description"),
                                    QStringLiteral("Blue square title")}));
        // The web page and the archive keep LibreOffice's metadata.
        if (format != 10)
            QVERIFY(publishing::inspect(html(format, names[0])).personalMetadata.contains(QStringLiteral("author")));
    }

    void everyWordReachesTheFilteredPage()
    {
        for (const QString& name : names.first(2)) {
            const QStringList words = publishing::words(html(10, name));
            const QString text = words.join(' ');
            for (const char* word : DocumentWords)
                QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QLatin1String(word)))), word);
            QCOMPARE(words, publishing::words(html(8, name)));
        }
        QCOMPARE(publishing::words(html(10, names[2])), publishing::words(html(8, names[2])));
    }

    // Pages read as the document does with its changes accepted: no deleted text, no
    // comment and no hidden text anywhere in their bytes, the inserted text kept.
    void everyFormatKeepsOnlyWhatTheDocumentShows()
    {
        for (int format : {8, 9, 10}) {
            for (const QString& name : names.sliced(3)) {
                const QByteArray bytes = checks::readAll(page(format, name));
                QByteArray all = bytes;
                if (format == 9)
                    for (const checks::ArchivePart& part : checks::parseArchive(bytes))
                        all += part.data;
                const QString where = QStringLiteral("%1 in format %2").arg(name).arg(format);
                QVERIFY2(!html(format, name).isEmpty(), qPrintable(where));
                for (const char* word : HiddenWords)
                    QVERIFY2(!all.contains(word), qPrintable(where + QStringLiteral(": ") + QLatin1String(word)));
                QVERIFY2(!all.contains("<!--"), qPrintable(where));
                const QString text = publishing::words(html(format, name)).join(' ');
                for (const char* word : ReadWords)
                    QVERIFY2(text.contains(QLatin1String(word)), qPrintable(where + QStringLiteral(": ") + QLatin1String(word)));
            }
        }
    }

    void filteredPageLooksLikeTheWebPage()
    {
        const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (chromium.isEmpty())
            QSKIP("Chromium is not installed (tools/install-deps.sh installs it)");
        const auto screenshot = [&](const QString& pagePath) {
            const QString image = pagePath + QStringLiteral(".png");
            QProcess browser;
            browser.start(chromium, {QStringLiteral("--headless=new"), QStringLiteral("--no-sandbox"),
                                     QStringLiteral("--disable-gpu"), QStringLiteral("--hide-scrollbars"),
                                     QStringLiteral("--user-data-dir=") + work.filePath(QStringLiteral("chromium")),
                                     QStringLiteral("--window-size=800,1600"), QStringLiteral("--screenshot=") + image,
                                     QUrl::fromLocalFile(pagePath).toString()});
            browser.waitForFinished(120000);
            return QImage(image).convertToFormat(QImage::Format_RGB32);
        };
        for (const QString& name : names) {
            const QImage webPage = screenshot(page(8, name));
            const QImage filtered = screenshot(page(10, name));
            QVERIFY2(!webPage.isNull() && webPage.size() == filtered.size(), qPrintable(name));
            qsizetype ink = 0;
            qsizetype different = 0;
            for (int y = 0; y < webPage.height(); ++y)
                for (int x = 0; x < webPage.width(); ++x) {
                    ink += webPage.pixel(x, y) != qRgb(255, 255, 255);
                    different += webPage.pixel(x, y) != filtered.pixel(x, y);
                }
            // Measured against what the page draws, so that one line of text moved shows;
            // a little anti-aliasing is allowed.
            const double share = double(different) / double(std::max<qsizetype>(ink, 1));
            QVERIFY2(ink > 0 && share < 0.02,
                     qPrintable(QStringLiteral("%1: %2% of the drawn pixels differ").arg(name).arg(share * 100)));
        }
    }
};

QTEST_MAIN(TestPublishablePages)
#include "tst_PublishablePages.moc"
