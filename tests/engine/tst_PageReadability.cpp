// What readers get in every kind of page: the words people wrote where LibreOffice
// writes others (link titles, alt text), readable characters, heading cells, and, in
// the filtered page, each style attribute's look said once.
#include "engine/web/CleanPage.h"
#include "engine/web/PageCharacters.h"
#include "engine/web/TitleAndAlt.h"

#include <QtTest>

class TestPageReadability : public QObject {
    Q_OBJECT

private slots:
    // Readers get the words a person wrote: a ScreenTip as the link's title, not as a
    // window's name; no object name or file path as a picture's alt text.
    void screenTipsAndAltTextAreForReaders()
    {
        const QByteArray page = "<html><body><p><a href=\"https://e.org/\" target=\"Tip &amp; more\">tip</a>"
                                "<a href=\"https://e.org/b\" target=\"_blank\">new</a><a href=\"x\" target=\"t\" title=\"Own\">own</a>"
                                "<img alt=\"Shape1\" src=\"a.png\"><img alt=\"Picture 12\" src=\"b.png\">"
                                "<img alt=\"C:\\Users\\me\\scan.jpg\" src=\"c.png\"><img alt=\"A red bus\" src=\"d.png\"></p></body></html>";
        for (const QByteArray& html : {withTitleAndAlt(page, {}), cleanPage(page, {})}) {
            QVERIFY2(html.contains("title=\"Tip &amp; more\">tip</a>"), html.constData());
            QVERIFY(html.contains("target=\"_blank\"") && html.contains("title=\"Own\""));
            QCOMPARE(html.count("target="), 1);
            QCOMPARE(html.count("alt=\"\""), 3);
            QVERIFY(html.contains("alt=\"A red bus\""));
        }
    }

    // Field marks go, symbol-font characters become what they show: no box, no
    // replacement character, in either kind of page.
    void charactersAreReadable()
    {
        const QByteArray page = "<html><body><p>A\x13 field\x14result\x15&#1;&#x07;\tend</p>"
                                "<p>5 <font face=\"Symbol, serif\">\xEF\x81\xAD</font>m"
                                " <span style=\"font-family: 'Wingdings'\">\xEF\x83\xBC \xEF\x80\x80</span>"
                                " \xEF\x81\xAD</p></body></html>";
        const QByteArray readable = withReadableCharacters(page);
        QVERIFY(readable.contains("<p>A fieldresult\tend</p>"));
        QVERIFY(readable.contains("serif\">\u03BC</font>m"));
        QVERIFY(readable.contains("'Wingdings'\">\u2713 \xEF\x80\x80</span>")); // unknown code points stay
        QVERIFY(readable.endsWith(" \xEF\x81\xAD</p></body></html>"));               // outside a symbol font too
        for (const QByteArray& html : {cleanPage(readable, {}), withTitleAndAlt(readable, {})}) {
            QVERIFY(!html.contains("\xEF\xBF\xBD") && !html.contains('\x13') && !html.contains("&#1;"));
            QVERIFY(html.contains("\u03BC"));
        }
    }

    // A style attribute's look is said once, as a class that still wins over the page's
    // own rules; what only print uses is gone.
    void styleAttributesBecomeClasses()
    {
        const QByteArray page = "<html><head><style>p { color: blue }</style></head><body>"
                                "<p style=\"color: red; widows: 2; orphans: 2\">a</p><p style=\"color: red\">b</p>"
                                "<p style=\"page-break-before: always; background: url(data:image/png;base64,AA==)\">c</p>"
                                "</body></html>";
        const QByteArray html = cleanPage(page, {});
        QVERIFY2(!html.contains(" style=") && !html.contains("widows") && !html.contains("page-break"), html.constData());
        QCOMPARE(html.count("class=\"c1\""), 2);
        QVERIFY(html.indexOf(".c1 { color: red !important }") > html.indexOf("p { color: blue }"));
        QVERIFY(html.contains(".c2 { background: url(data:image/png;base64,AA==) !important }"));
    }

    // Formatting around nothing goes, and no list item is made to hold it; a blank
    // between words, a picture or an anchor keeps its element.
    void emptyFormattingGoes()
    {
        const QByteArray page = "<html><body><p>a<span></span><b><i><span></span></i></b>b<span> </span>c"
                                "<a name=\"here\"></a><font face=\"x\"><img src=\"p.png\"></font></p>"
                                "<ul><li>one</li><span></span></ul></body></html>";
        const QByteArray html = cleanPage(page, {});
        QVERIFY2(html.contains("<p>ab<span> </span>c<a id=\"here\"></a><span"), html.constData());
        QVERIFY(html.contains("<img") && !html.contains("<b>") && !html.contains("<i>"));
        QCOMPARE(html.count("<li"), 1);
    }

    // Rows the document repeats as a table's header are its headings.
    void headerRowsHaveHeadingCells()
    {
        const QByteArray page = "<html><body><table><thead><tr><td width=\"9\"><p>Name</p></td><td>Value</td></tr></thead>"
                                "<tbody><tr><td>a</td><td>1</td></tr></tbody></table></body></html>";
        for (const QByteArray& html : {withTitleAndAlt(page, {}), cleanPage(page, {})}) {
            QCOMPARE(html.count("<th scope=\"col\""), 2);
            QCOMPARE(html.count("</th>"), 2);
            QCOMPARE(html.count("<td"), 2);
        }
    }
};

QTEST_MAIN(TestPageReadability)
#include "tst_PageReadability.moc"
