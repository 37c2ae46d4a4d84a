// A filled-in table of contents, as Word writes it (linked entries with page numbers,
// in a building-block control), reaches every kind of page as the document shows it,
// and so does text in a section of its own (a part set in two columns).
#include "engine/LibreOfficeChecks.h"
#include "engine/PublishingChecks.h"
#include "engine/RealLibreOffice.h"
#include "engine/ZipPackage.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray run(const QByteArray& inner) { return "<w:r>" + inner + "</w:r>"; }

QByteArray field(const QByteArray& code, const QByteArray& result)
{
    return run(R"(<w:fldChar w:fldCharType="begin"/>)") + run(R"(<w:instrText xml:space="preserve"> )" + code + " </w:instrText>")
           + run(R"(<w:fldChar w:fldCharType="separate"/>)") + result + run(R"(<w:fldChar w:fldCharType="end"/>)");
}

QByteArray entry(const QByteArray& bookmark, const QByteArray& title, const QByteArray& page)
{
    return R"(<w:hyperlink w:anchor=")" + bookmark + R"(" w:history="1">)" + run("<w:t>" + title + "</w:t>") + run("<w:tab/>")
           + field("PAGEREF " + bookmark + R"( \h)", run("<w:t>" + page + "</w:t>")) + "</w:hyperlink>";
}

QByteArray heading(int id, const QByteArray& title)
{
    const QByteArray bookmark = "_Toc" + QByteArray::number(id);
    return R"(<w:p><w:pPr><w:outlineLvl w:val="0"/></w:pPr><w:bookmarkStart w:id=")" + QByteArray::number(id) + R"(" w:name=")"
           + bookmark + R"("/>)" + run("<w:t>" + title + "</w:t>") + R"(<w:bookmarkEnd w:id=")" + QByteArray::number(id)
           + R"("/></w:p><w:p>)" + run("<w:t>Words of part " + QByteArray::number(id) + ".</w:t>") + "</w:p>";
}

// The contents list both headings; the second heading's part is set in two columns.
QByteArray documentXml()
{
    const QByteArray toc = R"(<w:p>)" + run("<w:t>Contents</w:t>") + "</w:p><w:p>" + run(R"(<w:fldChar w:fldCharType="begin"/>)")
                           + run(R"(<w:instrText xml:space="preserve"> TOC \o "1-3" \h \z \u </w:instrText>)")
                           + run(R"(<w:fldChar w:fldCharType="separate"/>)") + entry("_Toc1", "Tangerine overview", "1")
                           + "</w:p><w:p>" + entry("_Toc2", "Quince outlook", "2") + run(R"(<w:fldChar w:fldCharType="end"/>)")
                           + "</w:p>";
    return zippackage::DocumentStart.chopped(5)
           + R"(<w:sdt><w:sdtPr><w:docPartObj><w:docPartGallery w:val="Table of Contents"/><w:docPartUnique/></w:docPartObj></w:sdtPr><w:sdtContent>)"
           + toc + "</w:sdtContent></w:sdt>" + heading(1, "Tangerine overview")
           + R"(<w:p><w:pPr><w:sectPr><w:type w:val="continuous"/></w:sectPr></w:pPr></w:p>)" + heading(2, "Quince outlook")
           + R"(<w:p><w:pPr><w:sectPr><w:type w:val="continuous"/><w:cols w:num="2"/></w:sectPr></w:pPr></w:p>)"
           + R"(<w:sectPr><w:type w:val="continuous"/></w:sectPr></w:body></w:document>)";
}

bool writeDocument(const QString& path, bool macroEnabled)
{
    QByteArray types = zippackage::ContentTypes;
    if (macroEnabled)
        types.replace("officedocument.wordprocessingml.document.main", "ms-word.document.macroEnabled.main");
    return zippackage::writePackage(path, {{"[Content_Types].xml", types, {}, 0, {}},
                                           {"_rels/.rels", zippackage::PackageRelations, {}, 0, {}},
                                           {"word/document.xml", documentXml(), {}, 0, {}}});
}

} // namespace

class TestTableOfContents : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;

private slots:
    void contentsAndSectionsReachEveryPage()
    {
        QVERIFY(work.isValid());
        const QString documents = work.filePath(QStringLiteral("documents"));
        QVERIFY(QDir().mkpath(documents));
        QVERIFY(writeDocument(documents + QStringLiteral("/Contents.docx"), false));
        QVERIFY(writeDocument(documents + QStringLiteral("/Macro Contents.docm"), true));
        QVERIFY(reallibreoffice::runSoffice(reallibreoffice::sofficeProfile(QStringLiteral("contents-")),
                                            {QStringLiteral("--convert-to"), QStringLiteral("doc:MS Word 97"),
                                             QStringLiteral("--outdir"), documents,
                                             documents + QStringLiteral("/Contents.docx")}));
        LibreOfficeWordAutomation word(reallibreoffice::engineSettings());
        for (const QString& file : {QStringLiteral("Contents.docx"), QStringLiteral("Macro Contents.docm"),
                                    QStringLiteral("Contents.doc")}) {
            for (int format : {8, 9, 10}) {
                const QString where = QStringLiteral("%1 in format %2").arg(file).arg(format);
                const QString page = work.filePath(QStringLiteral("out%1/%2.%3").arg(format).arg(file).arg(format == 9 ? "mht" : "htm"));
                QVERIFY(QDir().mkpath(QFileInfo(page).path()));
                reallibreoffice::convert(word, documents + '/' + file, page, format);
                const QByteArray bytes = checks::readAll(page);
                const QString text = publishing::words(format == 9 ? checks::parseArchive(bytes).value(0).data : bytes).join(' ');
                QVERIFY2(text.contains(QStringLiteral("Contents")), qPrintable(where));
                // Each title twice: its entry in the contents, and the heading itself.
                for (const QString& title : {QStringLiteral("Tangerine overview"), QStringLiteral("Quince outlook")})
                    QVERIFY2(text.count(title) == 2, qPrintable(where + QStringLiteral(": ") + text));
                QVERIFY2(text.contains(QStringLiteral("Words of part 2.")), qPrintable(where));
            }
        }
    }
};

QTEST_MAIN(TestTableOfContents)
#include "tst_TableOfContents.moc"
