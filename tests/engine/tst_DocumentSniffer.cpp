// What the helper lets through to LibreOffice, judged from bytes alone.
#include "engine/files/LocalFileName.h"
#include "engine/helper/DocumentSniffer.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <QElapsedTimer>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(DocumentKind)

namespace {

QByteArray le(quint32 value, int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += char(value >> (8 * i) & 0xFF);
    return bytes;
}

// A ZIP file of empty stored entries, with its central directory at the end.
QByteArray zipOf(const QList<QByteArray>& names)
{
    QByteArray local, central;
    for (const QByteArray& name : names) {
        const quint32 offset = quint32(local.size());
        local += QByteArray("PK\x03\x04", 4) + le(20, 2) + le(0, 2) + le(0, 2) + le(0, 4) + le(0, 4) + le(0, 4)
                 + le(0, 4) + le(quint32(name.size()), 2) + le(0, 2) + name;
        central += QByteArray("PK\x01\x02", 4) + le(20, 2) + le(20, 2) + le(0, 2) + le(0, 2) + le(0, 4) + le(0, 4)
                   + le(0, 4) + le(0, 4) + le(quint32(name.size()), 2) + le(0, 2) + le(0, 2) + le(0, 2) + le(0, 2)
                   + le(0, 4) + le(offset, 4) + name;
    }
    return local + central + QByteArray("PK\x05\x06", 4) + le(0, 2) + le(0, 2) + le(quint32(names.size()), 2)
           + le(quint32(names.size()), 2) + le(quint32(central.size()), 4) + le(quint32(local.size()), 4) + le(0, 2);
}

QByteArray utf16(const QString& text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char low = char(c.unicode() & 0xFF), high = char(c.unicode() >> 8);
        bytes += littleEndian ? QByteArray{&low, 1} + QByteArray{&high, 1} : QByteArray{&high, 1} + QByteArray{&low, 1};
    }
    return bytes;
}

// A file header padded to the size of a real one.
QByteArray header(const char* magic, qsizetype size)
{
    return QByteArray(magic, size) + QByteArray(256, '\0');
}

const char MhtBody[] = "\r\nThis document is a Single File Web Page.\r\n\r\n------=_NextPart\r\n"
                       "Content-Type: text/html\r\n\r\n<html><body>x</body></html>\r\n------=_NextPart--\r\n";

} // namespace

class TestDocumentSniffer : public QObject {
    Q_OBJECT

private slots:
    void classifiesByContent_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<DocumentKind>("kind");
        const auto word = DocumentKind::WordLike;
        const auto notWord = DocumentKind::NotWord;

        QTest::newRow("empty") << QByteArray() << DocumentKind::Empty;
        QTest::newRow("Word 97-2003 compound file") << header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) << word;
        QTest::newRow("Word for Windows 2.0") << header("\xDB\xA5\x2D\x00", 4) << word;
        QTest::newRow("Word for Windows 1.x") << header("\x9B\xA5\x21\x00", 4) << word;
        QTest::newRow("Word for DOS") << header("\x31\xBE\x00\x00\x00\xAB\x00\x00", 8) << word;
        QTest::newRow("Word for DOS with pictures") << header("\x32\xBE\x00\x00\x00\xAB\x00\x00", 8) << word;
        QTest::newRow("two bytes that only look like Word 2.0") << QByteArray("\xDB\xA5xy") << notWord;
        QTest::newRow("RTF") << QByteArray("{\\rtf1\\ansi Hello}") << word;
        QTest::newRow("RTF after blank lines") << QByteArray("\r\n\r\n {\\rtf1 Hello}") << word;
        QTest::newRow("HTML with doctype")
            << QByteArray("<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\n<html></html>") << word;
        QTest::newRow("HTML after BOM, blanks and a comment")
            << QByteArray("\xEF\xBB\xBF \r\n\t<!-- saved by Word --><html></html>") << word;
        QTest::newRow("HTML in UTF-16, little-endian") << utf16(QStringLiteral(" <html></html>"), true) << word;
        QTest::newRow("HTML in UTF-16, big-endian") << utf16(QStringLiteral("<html></html>"), false) << word;
        QTest::newRow("Word 2003 XML")
            << QByteArray("<?xml version=\"1.0\"?>\n<?mso-application progid=\"Word.Document\"?>\n<w:wordDocument/>")
            << word;
        QTest::newRow("web archive, MIME-Version first")
            << QByteArray("MIME-Version: 1.0\r\nContent-Type: multipart/related; boundary=\"----=_NextPart\"\r\n")
                   + MhtBody
            << DocumentKind::WebArchive;
        QTest::newRow("web archive, folded header, From first")
            << QByteArray("From: <Saved by Word>\nSubject: Report\nContent-Type: multipart/related;\n\t"
                          "boundary=\"----=_NextPart\"\n")
                   + MhtBody
            << DocumentKind::WebArchive;
        QTest::newRow("plain text") << QByteArray("Just a line of plain text.\n") << notWord;
        QTest::newRow("plain text that starts like a header")
            << QByteArray("Subject: minutes\nDate: Monday\n\nWe met and talked.\n") << notWord;
        QTest::newRow("PDF") << QByteArray("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n1 0 obj") << notWord;
        QTest::newRow("JPEG") << header("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10) << notWord;
        QTest::newRow("PNG") << header("\x89PNG\r\n\x1A\n", 8) << notWord;
        QTest::newRow("Office Open XML package, manifest not first")
            << zipOf({"_rels/.rels", "word/document.xml", "[Content_Types].xml"}) << word;
        QTest::newRow("OpenDocument package") << zipOf({"mimetype", "content.xml"}) << word;
        QTest::newRow("ZIP of photos") << zipOf({"photo.jpg", "notes.txt"}) << notWord;
        // Cut short, it is left to LibreOffice to say how it is damaged.
        QTest::newRow("ZIP cut short (no directory)") << zipOf({"photo.jpg"}).left(40) << word;
        QByteArray noise(4096, '\0');
        QRandomGenerator generator(20261207);
        for (char& byte : noise)
            byte = char(generator.bounded(256));
        noise[0] = 'x'; // random, not by chance a signature
        QTest::newRow("random bytes") << noise << notWord;
    }

    void classifiesByContent()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(DocumentKind, kind);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(classifyDocument(buffer), kind);
    }

    // Only the Word for Windows 1.x and 2.0 signatures name their filter; the rest is
    // left to LibreOffice's own detection.
    void oldWordForWindowsNamesItsFilter()
    {
        QCOMPARE(importFilterFor(header("\x9B\xA5\x21\x00", 4)), QStringLiteral("MS WinWord 5"));
        QCOMPARE(importFilterFor(header("\xDB\xA5\x2D\x00", 4)), QStringLiteral("MS WinWord 5"));
        QCOMPARE(importFilterFor(QByteArray("\xDB\xA5\x2D\x00", 4)), QString()); // no room for its header
        QCOMPARE(importFilterFor(header("\xDB\xA5\x2C\x00", 4)), QStringLiteral("MS WinWord 5")); // another release
        QCOMPARE(importFilterFor(header("\x31\xBE\x00\x00\x00\xAB", 6)), QString());
        QCOMPARE(importFilterFor(header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)), QString());

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("w2.docx"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(header("\xDB\xA5\x2D\x00", 4));
        file.close();
        const SniffResult sniffed = sniffDocument(QFile::encodeName(path));
        QCOMPARE(sniffed.kind, DocumentKind::WordLike);
        QCOMPARE(sniffed.filter, QStringLiteral("MS WinWord 5"));
    }

    void filesThatAreNotDocumentsAreNeverRead()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QByteArray base = QFile::encodeName(folder.path());
        QCOMPARE(sniffDocument(base + "/missing.doc").kind, DocumentKind::Missing);
        QCOMPARE(sniffDocument(base + "/missing/below.doc").kind, DocumentKind::Missing);
        QCOMPARE(sniffDocument(base).kind, DocumentKind::Unreadable);
        // A FIFO named like a document would block whoever opens it for reading.
        const QByteArray fifo = base + "/pipe.doc";
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(sniffDocument(fifo).kind, DocumentKind::Unreadable);
        QVERIFY(timer.elapsed() < 5000);
    }

    void namesAreTakenAsBytes()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QByteArray path = QFile::encodeName(folder.path()) + "/R\xE9sum\xE9 ?*\n.doc";
        const int descriptor = open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        QVERIFY(descriptor >= 0);
        QCOMPARE(write(descriptor, "{\\rtf1 x}", 9), 9);
        close(descriptor);
        QCOMPARE(sniffDocument(path).kind, DocumentKind::WordLike);
        QCOMPARE(sniffDocument(LocalFileName::encode(LocalFileName::decode(path))).kind, DocumentKind::WordLike);
        QCOMPARE(unlink(path.constData()), 0); // beyond what QTemporaryDir can name
    }
};

QTEST_GUILESS_MAIN(TestDocumentSniffer)
#include "tst_DocumentSniffer.moc"
