#pragma once

// The Word automation interface as LibreOffice serves it, with the real helper and
// documents that LibreOffice writes for the test at its start; the tests check that
// the documents stay as they were.
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

namespace automationfixture {

inline const QStringList SampleTexts{QStringLiteral("Hello Varnello text"), QStringLiteral("Cell A")};

inline QByteArray pngBytes()
{
    return pngPicture(40, 30, QColor(200, 30, 30));
}

inline bool writeFile(const QString& path, const QByteArray& data)
{
    return writeBytes(path, data);
}

inline QByteArray checksum(const QString& path)
{
    return QCryptographicHash::hash(checks::readAll(path), QCryptographicHash::Sha256);
}

} // namespace automationfixture


using namespace automationfixture;

class AutomationFixture {
protected:
    QTemporaryDir work;
    QString documents;
    QString output;
    std::unique_ptr<LibreOfficeWordAutomation> word;
    QHash<QString, QByteArray> originalChecksums;

    static LibreOfficeSettings settings() { return reallibreoffice::engineSettings(); }

    QString document(const QString& name) const { return documents + '/' + name; }

    // One profile per test program: two programs running at once must not share one.
    static QString sofficeProfile() { return reallibreoffice::sofficeProfile(QCoreApplication::applicationName()); }

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
        reallibreoffice::convert(*word, documentPath, outputPath, format);
    }

    void convertsAfterwards()
    {
        const QString page = output + QStringLiteral("/afterwards.htm");
        convert(document(QStringLiteral("sample.docx")), page, 10);
        checks::verifyFilteredPage(page, SampleTexts, 1);
    }

    void setUpFixture()
    {
        QVERIFY(work.isValid());
        makeDocuments();
        output = work.filePath(QStringLiteral("output"));
        QVERIFY(QDir().mkpath(output));
        word = std::make_unique<LibreOfficeWordAutomation>(settings());
    }

    void verifyDocumentsUntouched()
    {
        word.reset();
        // Nothing the tests did changed a source document or left a lock file beside it.
        QCOMPARE(QDir(documents).entryList(QDir::Files | QDir::Hidden).size(), originalChecksums.size());
        for (auto it = originalChecksums.cbegin(); it != originalChecksums.cend(); ++it)
            QVERIFY2(checksum(document(it.key())) == it.value(), qPrintable(it.key()));
    }
};
