// Web archives unpacked into one page LibreOffice can read, judged from bytes alone.
#include "engine/WebArchives.h"
#include "engine/helper/WebArchiveUnpacker.h"
#include "support/TestFiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace webarchives;

using LibreOfficeHelperProtocol::HelperError;

Q_DECLARE_METATYPE(HelperError)

namespace {

// The pictures a page carries as data: URIs, decoded.
QList<QByteArray> inlinePictures(const QByteArray& page)
{
    static const QRegularExpression data(QStringLiteral("data:image/png;base64,([A-Za-z0-9+/=]+)"));
    QList<QByteArray> pictures;
    for (const auto& match : data.globalMatch(QString::fromLatin1(page)))
        pictures << QByteArray::fromBase64(match.captured(1).toLatin1());
    return pictures;
}

// The one page and its folder, as they show below the temporary folder.
QStringList writtenPage(const QString& temporary, const UnpackedWebArchive& unpacked)
{
    const QDir root(temporary);
    return {root.relativeFilePath(unpacked.folder->path()), root.relativeFilePath(unpacked.pagePath)};
}

} // namespace

class TestWebArchiveUnpacker : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;
    const QByteArray red = pngPicture(4, 4, Qt::red);
    const QByteArray blue = pngPicture(6, 6, Qt::blue);

    QByteArray file(const QString& name, const QByteArray& bytes)
    {
        const QString path = work.filePath(name);
        return writeBytes(path, bytes) ? QFile::encodeName(path) : QByteArray();
    }

private slots:
    void initTestCase() { QVERIFY(work.isValid()); }

    void wordArchiveBecomesOneSelfContainedPage()
    {
        QTemporaryDir temporary;
        UnpackedWebArchive unpacked =
            unpackWebArchive(file(QStringLiteral("report.doc"), wordWebArchive(red, blue)), temporary.path());
        QCOMPARE(unpacked.error, std::nullopt);
        const QString folder = unpacked.folder->path();
        QCOMPARE(entriesBelow(temporary.path()), writtenPage(temporary.path(), unpacked));
        QFile pageFile(unpacked.pagePath);
        QVERIFY(pageFile.open(QIODevice::ReadOnly));
        const QByteArray page = pageFile.readAll();

        // The text keeps its bytes, in the charset declared before anything else.
        QVERIFY(page.startsWith("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"));
        QVERIFY(page.contains("Caf\xE9 cr\xE8me \x93quoted\x94 na\xEFve r\xE9sum\xE9 of the quarter, a line long enough"));
        // The VML picture, its fallback and the cid: picture: all found, none left as a name.
        QCOMPARE(inlinePictures(page), (QList<QByteArray>{red, red, blue}));
        QVERIFY(!page.contains("image001.png\"") && !page.contains("cid:"));
        QVERIFY(page.contains("<style type=\"text/css\">\np.MsoNormal { margin-bottom: 8pt;"));
        QVERIFY(!page.contains("styles.css"));
        // What is no picture or style sheet of the archive stays as written.
        QVERIFY(page.contains("<link rel=File-List href=\"report_files/filelist.xml\">"));
        QVERIFY(page.contains("<a href=\"https://example.invalid/more.htm\">"));
        // They resolve from where the archive is, as those of any page would.
        QVERIFY(page.contains("\n<base href=\"" + QUrl::fromLocalFile(work.filePath(QStringLiteral("report.doc"))).toEncoded()
                              + "\">\n<html"));

        unpacked = {};
        QVERIFY(!QFileInfo::exists(folder));
    }

    void partsAreSplitAndDecoded_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("page");

        const QByteArray lf = "MIME-Version: 1.0\nContent-Type: multipart/related;\n\tboundary=b\n\n--b\n"
                              "Content-Type: text/html\n\n<p>LF only</p>\n--b--\n";
        QTest::newRow("LF line ends, folded header") << lf << QByteArray("<p>LF only</p>");
        QTest::newRow("no closing delimiter")
            << QByteArray("Content-Type: multipart/related; boundary=\"b\"\r\n\r\n--b\r\n"
                          "Content-Type: text/html\r\n\r\n<p>cut short</p>\r\n")
            << QByteArray("<p>cut short</p>\r\n");
        QTest::newRow("start names the second page; padding after delimiters")
            << QByteArray("Content-Type: multipart/related; type=\"text/html\"; start=\"<main@x>\"; boundary=\"b\"\r\n"
                          "\r\npreamble\r\n--b  \r\nContent-Type: text/html\r\n\r\n<p>frame</p>\r\n--b\t\r\n"
                          "Content-Type: text/html\r\nContent-ID: <main@x>\r\n\r\n<p>main</p>\r\n--b--  \r\nepilogue")
            << QByteArray("<p>main</p>");
        QTest::newRow("a line that only starts like the delimiter")
            << QByteArray("Content-Type: multipart/related; boundary=\"b\"\r\n\r\n--b\r\nContent-Type: text/html\r\n\r\n"
                          "<p>one</p>\r\n--bx is text\r\n--b--\r\n")
            << QByteArray("<p>one</p>\r\n--bx is text");
        QTest::newRow("quoted-printable: soft breaks, escapes, stray =")
            << QByteArray("Content-Type: multipart/related; boundary=\"b\"\r\n\r\n--b\r\nContent-Type: text/html\r\n"
                          "Content-Transfer-Encoding: Quoted-Printable\r\n\r\n<p class=3DA>Caf=E9 spl=\r\nit =  \r\n"
                          "a=3d=ZZ 1=</p>\r\n--b--\r\n")
            << QByteArray("<p class=A>Caf\xE9 split a==ZZ 1=</p>");
        QTest::newRow("a page sent as a single part")
            << QByteArray("MIME-Version: 1.0\r\nContent-Type: text/html\r\nContent-Transfer-Encoding: base64\r\n\r\n"
                          + QByteArray("<p>single</p>").toBase64() + "\r\n")
            << QByteArray("<p>single</p>");
    }

    void partsAreSplitAndDecoded()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, page);
        QTemporaryDir temporary;
        const UnpackedWebArchive unpacked = unpackWebArchive(file(QStringLiteral("split.doc"), message), temporary.path());
        QCOMPARE(unpacked.error, std::nullopt);
        QFile written(unpacked.pagePath);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray all = written.readAll();
        QVERIFY(all.startsWith("<base href=\"file:///")); // no charset named, none declared
        QCOMPARE(all.mid(all.indexOf('\n') + 1), page);
    }

    // A page in UTF-16 cannot take ASCII spliced in: it is written as UTF-8, said so.
    void wideCharsetsBecomeUtf8()
    {
        QByteArray html = "<html><body><p>\xC3\xA9t\xC3\xA9 <img src=\"cid:p\"></p></body></html>";
        const QString text = QString::fromUtf8(html);
        QByteArray utf16("\xFF\xFE");
        utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        QTemporaryDir temporary;
        const UnpackedWebArchive unpacked = unpackWebArchive(
            file(QStringLiteral("wide.doc"), archive({{"Content-Type: text/html; charset=utf-16\r\n"
                                                        "Content-Transfer-Encoding: base64\r\n",
                                                        base64Lines(utf16)},
                                                       picturePart("Content-ID: <p>", red)})),
            temporary.path());
        QFile written(unpacked.pagePath);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray page = written.readAll();
        QVERIFY2(page.startsWith("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"), page.left(100));
        QVERIFY(page.contains("<p>\xC3\xA9t\xC3\xA9 <img src=\"data:image/png;base64,"));
        QCOMPARE(inlinePictures(page), QList<QByteArray>{red});
    }

    // Part names never name files, whatever they hold; only the page is written.
    void hostileLocationsWriteNothingElse()
    {
        const QByteArray html = "<p>Hostile</p><img src=\"../../../etc/x\"><img src=\"/etc/passwd\">"
                                "<img src=\"file:///etc/hostname\"><img src=\"x_files/away.png\">";
        const QByteArray message = archive({htmlPart("../../../page.htm", html),
                                            picturePart("Content-Location: ../../../etc/x", red),
                                            picturePart("Content-Location: /etc/passwd", blue)});
        QTemporaryDir temporary;
        const UnpackedWebArchive unpacked = unpackWebArchive(file(QStringLiteral("hostile.doc"), message), temporary.path());
        QCOMPARE(unpacked.error, std::nullopt);
        QCOMPARE(entriesBelow(temporary.path()), writtenPage(temporary.path(), unpacked));
        QFile written(unpacked.pagePath);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray page = written.readAll();
        QCOMPARE(inlinePictures(page), (QList<QByteArray>{red, blue}));
        // Found in no part, these stay as the page wrote them: nothing is read for them.
        QVERIFY(page.contains("<img src=\"file:///etc/hostname\"><img src=\"x_files/away.png\">"));
    }

    // A page saved from the web keeps its address as the base of what is not in the archive.
    void pagesFromTheWebResolveFromTheirAddress()
    {
        QTemporaryDir temporary;
        const UnpackedWebArchive unpacked = unpackWebArchive(
            file(QStringLiteral("web.doc"), archive({htmlPart("https://example.com/news/today.htm", "<img src=a.png>"),
                                                     picturePart("Content-Location: https://example.com/news/a.png", red)})),
            temporary.path());
        QFile written(unpacked.pagePath);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray page = written.readAll();
        QVERIFY(page.contains("<base href=\"https://example.com/news/today.htm\">"));
        QCOMPARE(inlinePictures(page), QList<QByteArray>{red});
    }

    void unusableArchivesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<HelperError>("error");
        QTest::addColumn<QString>("detail");

        QTest::newRow("no boundary") << QByteArray("MIME-Version: 1.0\r\nContent-Type: multipart/related\r\n\r\n--b\r\n")
                                     << HelperError::WebArchive << "boundary";
        QTest::newRow("no part") << QByteArray("Content-Type: multipart/related; boundary=b\r\n\r\nonly a preamble\r\n")
                                 << HelperError::WebArchive << "no parts";
        QTest::newRow("no page") << archive({picturePart("Content-Location: a.png", red)}) << HelperError::WebArchive
                                 << "no HTML page";
        QTest::newRow("malformed part headers")
            << QByteArray("Content-Type: multipart/related; boundary=b\r\n\r\n--b\r\nnot a header\r\n\r\nx\r\n--b--\r\n")
            << HelperError::WebArchive << "malformed";
        QList<Part> many;
        for (int i = 0; i < 30; ++i)
            many.append(Part{"Content-Type: text/plain\r\n", "x"});
        QTest::newRow("too many parts") << archive(many) << HelperError::TooLarge << "more than 20 parts";
        // One small picture referenced over and over would inline into gigabytes.
        QByteArray references;
        for (int i = 0; i < 200; ++i)
            references += "<img src=cid:p>";
        QTest::newRow("one picture, many references")
            << archive({htmlPart("page.htm", references), picturePart("Content-ID: <p>", QByteArray(600, 'x'))})
            << HelperError::TooLarge << "would grow past 64.0 kB";
        QByteArray rules;
        for (int i = 0; i < 200; ++i)
            rules += "p.c" + QByteArray::number(i) + " { background: url(cid:p) }\n";
        QTest::newRow("a style sheet, many references")
            << archive({htmlPart("page.htm", "<link rel=stylesheet href=s.css><p>x</p>"),
                        {"Content-Location: s.css\r\nContent-Type: text/css\r\n", rules},
                        picturePart("Content-ID: <p>", QByteArray(600, 'x'))})
            << HelperError::TooLarge << "would grow past 64.0 kB";
        QTest::newRow("larger than an archive may be")
            << archive({htmlPart("page.htm", QByteArray(300 * 1024, 'x'))}) << HelperError::TooLarge << "(256.0 kB)";
    }

    void unusableArchivesAreRefused()
    {
        QFETCH(QByteArray, message);
        QFETCH(HelperError, error);
        QFETCH(QString, detail);
        WebArchiveLimits limits;
        limits.parts = 20;
        limits.pageSize = 64 * 1024;
        limits.archiveSize = 256 * 1024;
        QTemporaryDir temporary;
        const UnpackedWebArchive unpacked =
            unpackWebArchive(file(QStringLiteral("refused.doc"), message), temporary.path(), limits);
        QCOMPARE(unpacked.error, error);
        QVERIFY2(unpacked.detail.contains(detail), qPrintable(unpacked.detail));
        QCOMPARE(entriesBelow(temporary.path()), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestWebArchiveUnpacker)
#include "tst_WebArchiveUnpacker.moc"
