// The filtered page's rewrite and the title and alt edits of the other formats, on
// pages written here the way LibreOffice writes them (no LibreOffice needed).
#include "engine/LibreOfficePages.h"
#include "engine/PublishingChecks.h"

#include "engine/web/CleanPage.h"
#include "engine/web/StyleSheet.h"
#include "engine/web/TitleAndAlt.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

const GumboNode* elementHolding(const GumboNode* root, const QByteArray& text)
{
    const GumboNode* found = nullptr;
    publishing::forEachNode(root, [&](const GumboNode* node) {
        if (!found && node->type == GUMBO_NODE_TEXT && QByteArray(node->v.text.text).contains(text))
            found = node->parent;
    });
    return found;
}

// Every declaration that the page's :where() rules give the element holding `text`
// and its ancestors: the look the old attributes had.
QByteArray hintedLook(const QByteArray& html, const QByteArray& text)
{
    const publishing::Tree tree = publishing::parse(html);
    QByteArray rules;
    publishing::forEachNode(tree->root, [&rules](const GumboNode* node) {
        if (node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == GUMBO_TAG_STYLE)
            rules += publishing::text(node);
    });
    QByteArray look;
    for (const GumboNode* node = elementHolding(tree->root, text); node && node->type == GUMBO_NODE_ELEMENT;
         node = node->parent) {
        const GumboAttribute* classes = gumbo_get_attribute(&node->v.element.attributes, "class");
        for (const QByteArray& name : QByteArray(classes ? classes->value : "").split(' ')) {
            const QRegularExpression rule(":where\\(\\." + QRegularExpression::escape(QString::fromUtf8(name))
                                          + "\\) \\{([^}]*)\\}");
            const QRegularExpressionMatch match = rule.match(QString::fromUtf8(rules));
            if (!name.isEmpty() && match.hasMatch())
                look += match.captured(1).toUtf8() + ';';
        }
    }
    return look;
}

QByteArray languageOf(const QByteArray& html, const QByteArray& text)
{
    const publishing::Tree tree = publishing::parse(html);
    for (const GumboNode* node = elementHolding(tree->root, text); node && node->type == GUMBO_NODE_ELEMENT; node = node->parent)
        if (const GumboAttribute* lang = gumbo_get_attribute(&node->v.element.attributes, "lang"))
            return lang->value;
    return {};
}

QByteArray withoutScripts(QByteArray html)
{
    const qsizetype start = html.indexOf("<script>");
    return html.remove(start, html.indexOf("</script>") + 9 - start);
}

QByteArray page(const QByteArray& head, const QByteArray& body)
{
    return "<!DOCTYPE html><html><head>" + head + "</head><body>" + body + "</body></html>";
}

} // namespace

class TestCleanPage : public QObject {
    Q_OBJECT

private slots:
    void writesAShellFitToPublish()
    {
        const QByteArray html = cleanPage(LibreOfficePage, QStringLiteral("Report"));
        QVERIFY(html.startsWith("<!DOCTYPE html>\n<html lang=\"de-DE\">"));
        const publishing::Findings findings = publishing::inspect(html);
        QVERIFY(findings.charsetDeclared);
        QCOMPARE(findings.language, QByteArray("de-DE"));
        QCOMPARE(findings.title, QStringLiteral("First Heading Alpha"));
        QCOMPARE(findings.personalMetadata, QStringList());
        QVERIFY(!html.contains("Alice") && !html.contains("Eddie") && !html.contains("Acme") && !html.contains("2020-"));
        QVERIFY(html.contains("<meta name=\"description\" content=\"Quarterly figures\">"));
        QVERIFY(html.contains("<meta name=\"keywords\" content=\"sales\">"));
    }

    void leavesNoDroppedOrInventedMarkup()
    {
        const publishing::Findings findings = publishing::inspect(cleanPage(LibreOfficePage, {}));
        QCOMPARE(findings.droppedMarkup, QStringList());
        QCOMPARE(findings.picturesWithoutAlt, 0);
    }

    void carriesTheLookInCss_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArrayList>("declarations");
        QTest::newRow("font and paragraph")
            << QByteArray("Centered") << QByteArrayList{"color: #ff0000", "font-size: large", "text-align: center"};
        QTest::newRow("justified") << QByteArray("Fields") << QByteArrayList{"text-align: justify"};
        QTest::newRow("table cell")
            << QByteArray("Cell quebec")
            << QByteArrayList{"background-color: #ccffcc", "padding: 4px", "border: 1px inset gray", "height: 20px",
                              "vertical-align: top", "width: 148px"};
        QTest::newRow("cell without wrapping") << QByteArray("Cell romeo") << QByteArrayList{"white-space: nowrap"};
        QTest::newRow("list") << QByteArray("Bullet india") << QByteArrayList{"list-style-type: square"};
        QTest::newRow("teletype") << QByteArray("typed") << QByteArrayList{"font-family: monospace"};
        QTest::newRow("big") << QByteArray("big") << QByteArrayList{"font-size: larger"};
        QTest::newRow("no break") << QByteArray("kept together") << QByteArrayList{"white-space: nowrap"};
        QTest::newRow("body") << QByteArray("victor") << QByteArrayList{"color: #000000"};
    }

    void carriesTheLookInCss()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArrayList, declarations);
        const QByteArray look = hintedLook(cleanPage(LibreOfficePage, {}), text);
        for (const QByteArray& declaration : declarations)
            QVERIFY2(look.contains(declaration), look + " lacks " + declaration);
    }

    void carriesTheLookOfPicturesAndLinks()
    {
        const QByteArray html = cleanPage(LibreOfficePage, {});
        QVERIFY(html.contains("float: left")); // the picture LibreOffice aligned left
        QVERIFY(html.contains(":where(a:link) { color: #000080 }"));
        // Whole-pixel sizes of pictures stay as they are.
        QVERIFY(html.contains("width=\"151\" height=\"113\""));
        // Hints weigh nothing, so the page's own rules keep winning as they did.
        QVERIFY(html.indexOf(":where(") < html.indexOf("p { color: #000000"));
    }

    void keepsEveryWordAndWhereLinksLead()
    {
        const QByteArray html = cleanPage(LibreOfficePage, {});
        QCOMPARE(publishing::words(html), publishing::words(withoutScripts(LibreOfficePage)));
        QVERIFY(html.contains("id=\"sdfootnote1sym\""));
        QVERIFY(html.contains("href=\"#sdfootnote1sym\""));
        QVERIFY(html.contains("id=\"sdfootnote1anc\""));
        QVERIFY(html.contains("<s>struck</s>"));
        QVERIFY(html.contains("<h1 class=\"western"));
        QVERIFY(html.contains("<thead>") == QByteArray(LibreOfficePage).contains("<thead>"));
    }

    void dropsScriptsCommentsAndHandlers()
    {
        const QByteArray html = cleanPage(LibreOfficePage, {});
        for (const char* gone : {"<script", "alert", "onclick", "javascript:", "Secret comment", "sdnum", "sdval",
                                 "so-language"})
            QVERIFY2(!html.contains(gone), gone);
        QVERIFY(html.contains("not a link"));
    }

    // What the document hides, as LibreOffice writes it, in every format's page.
    void noFormatKeepsHiddenTextOrComments()
    {
        const QByteArray page = "<html><body><p>Shown <!-- remark --><span style=\"Display : none\">quiet<b>deep</b>"
                                "</span><span style=\"visibility: hidden\">hush</span><p hidden>gone</p>"
                                "<span style=\"color: red\">end</span></p></body></html>";
        for (const QByteArray& html : {cleanPage(page, {}), withTitleAndAlt(page, {})}) {
            for (const char* gone : {"remark", "quiet", "deep", "hush", "gone", "<!--"})
                QVERIFY2(!html.contains(gone), gone);
            QCOMPARE(publishing::words(html), QStringList({QStringLiteral("Shown"), QStringLiteral("end")}));
        }
    }

    void putsWhatListsHoldIntoItems()
    {
        const QByteArray html = cleanPage(LibreOfficePage, {});
        const publishing::Tree tree = publishing::parse(html);
        int lists = 0;
        publishing::forEachNode(tree->root, [&lists](const GumboNode* node) {
            if (node->type != GUMBO_NODE_ELEMENT
                || (node->v.element.tag != GUMBO_TAG_OL && node->v.element.tag != GUMBO_TAG_UL))
                return;
            ++lists;
            const GumboVector& children = node->v.element.children;
            for (unsigned i = 0; i < children.length; ++i) {
                const auto* child = static_cast<const GumboNode*>(children.data[i]);
                QVERIFY(child->type == GUMBO_NODE_WHITESPACE
                        || (child->type == GUMBO_NODE_ELEMENT && child->v.element.tag == GUMBO_TAG_LI));
            }
        });
        QCOMPARE(lists, 4);
        // The added items show no marker and take no number.
        QVERIFY(hintedLook(html, "Loose paragraph").contains("display: block"));
        QVERIFY(hintedLook(html, "Second Heading").contains("display: block"));
    }

    void dropsPropertiesOnlyLibreOfficeKnows_data()
    {
        QTest::addColumn<QByteArray>("css");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("last in a rule") << QByteArray("p { color: red; so-language: de-DE }")
                                        << QByteArray("p { color: red;}");
        QTest::newRow("first in a rule") << QByteArray("h1{so-language:en-GB;font-weight:bold}")
                                         << QByteArray("h1{font-weight:bold}");
        QTest::newRow("style attribute") << QByteArray("so-language: fr-FR") << QByteArray();
        QTest::newRow("in strings and comments")
            << QByteArray("p { font-family: \"so-x: y; }\" } /* so-language: x; } */ @media print { p { so-y: 1 } }")
            << QByteArray("p { font-family: \"so-x: y; }\" } /* so-language: x; } */ @media print { p {} }");
        QTest::newRow("alike but not invented") << QByteArray("p { solid-ish: 1; so-language }")
                                                << QByteArray("p { solid-ish: 1; so-language }");
    }

    void dropsPropertiesOnlyLibreOfficeKnows()
    {
        QFETCH(QByteArray, css);
        QFETCH(QByteArray, expected);
        QCOMPARE(withoutInventedProperties(css), expected);
    }

    void keepsPreformattedText()
    {
        const QByteArray html = cleanPage(page({}, "<pre>\n\nafter a blank line\n  indented &lt;x&gt;</pre>"), {});
        QVERIFY2(html.contains("<pre>\n\nafter a blank line\n  indented &lt;x&gt;</pre>"), html);
    }

    void choosesTheTitle_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QString>("title");
        QTest::newRow("the document's own") << page("<title>Own  Title</title>", "<h1>Heading</h1>")
                                            << QStringLiteral("Own Title");
        QTest::newRow("first heading") << page("<title> </title>", "<p>x</p><h3>Third <b>level</b></h3><h1>One</h1>")
                                       << QStringLiteral("Third level");
        QTest::newRow("empty heading skipped") << page("<title></title>", "<h1> </h1><h2>Two</h2>")
                                               << QStringLiteral("Two");
        QTest::newRow("file name") << page({}, "<p>no heading</p>") << QStringLiteral("Quarterly Report");
        QTest::newRow("markup in it") << page("<title>a &lt;b&gt; &amp; c</title>", {})
                                      << QStringLiteral("a <b> & c");
    }

    void choosesTheTitle()
    {
        QFETCH(QByteArray, html);
        QFETCH(QString, title);
        QCOMPARE(publishing::inspect(cleanPage(html, QStringLiteral("Quarterly Report"))).title, title);
        QCOMPARE(publishing::inspect(withTitleAndAlt(html, QStringLiteral("Quarterly Report"))).title, title);
    }

    void hostileValuesStayInert()
    {
        const QByteArray html = cleanPage(
            page({}, "<p><font face='x\"</style><script>alert(1)</script>' color='red;}body{display:none'>"
                     "text</font><img src=x background=\"javascript:alert(2)\"></p>"),
            {});
        QVERIFY2(!html.contains("<script"), html);
        QVERIFY(!html.contains("display:none"));
        QVERIFY(!html.contains("javascript"));
        QCOMPARE(publishing::words(html), QStringList{QStringLiteral("text")});
    }

    void deepNestingNeitherOverflowsNorStalls()
    {
        const int depth = 200000;
        const QByteArray html = cleanPage(page({}, QByteArray("<span>").repeated(depth) + "deep"
                                                       + QByteArray("</span>").repeated(depth)),
                                          {});
        QCOMPARE(html.count("<span>"), depth);
        QVERIFY(html.contains("deep"));
    }

    void otherFormatsChangeOnlyTitleAndAlt()
    {
        const QByteArray original = LibreOfficePage;
        const QByteArray html = withTitleAndAlt(original, {});
        QVERIFY(html.contains("<title>First Heading Alpha</title>"));
        QVERIFY(html.contains("<img alt=\"\" src=\"picture.png\" name=\"Blue\""));
        QVERIFY(html.contains("alt=\"Red square\""));
        QCOMPARE(html.count(" alt="), original.count(" alt=") + 1);
        // Nothing else moved, metadata included.
        QByteArray restored = html;
        restored.replace("<title>First Heading Alpha</title>", "<title></title>").replace("<img alt=\"\" ", "<img ");
        QCOMPARE(restored, QByteArray(original).replace("<!-- Secret comment text -->", ""));
    }

    // LibreOffice marks the default language on <body>, others on runs: a mostly Russian
    // page with an English default says Russian, what is left in English still English.
    void pagesSayTheLanguageMostOfTheirTextIsIn()
    {
        const QByteArray russian = QByteArray("Текст по-русски. ").repeated(4);
        const QByteArray source = "<html><head><title>T</title></head><body lang=\"en-US\" dir=\"ltr\"><p>\n"
                                  "<span lang=\"ru-RU\">" + russian + "</span>\n</p><p>Plain English</p>"
                                  "<p><span lang=\"ru-RU\">Ещё </span>English words</p>Bare text"
                                  "<sdfield>Field text</sdfield><p lang=\"de-DE\">Deutsch</p></body></html>";
        for (const QByteArray& html : {cleanPage(source, {}), withTitleAndAlt(source, {})}) {
            QVERIFY2(html.contains("<body lang=\"ru-RU\" dir=\"ltr\">"), html.constData());
            for (const char* english : {"Plain English", "English words", "Bare text", "Field text"})
                QCOMPARE(languageOf(html, english), "en-US");
            QVERIFY(languageOf(html, russian) == "ru-RU" && languageOf(html, "Deutsch") == "de-DE");
        }
        QCOMPARE(publishing::inspect(cleanPage(source, {})).language, "ru-RU");
        const QByteArray right = QByteArray(source).replace(russian, "немного"); // already right: left alone
        QCOMPARE(withTitleAndAlt(right, {}), right);
        QCOMPARE(publishing::inspect(cleanPage(right, {})).language, "en-US");
    }

    void otherFormatsGetATitleWhereThereIsNone_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no title element") << QByteArray("<html><head><meta charset=utf-8></head><body>x</body></html>")
                                          << QByteArray("<html><head><title>Fallback</title><meta charset=utf-8>");
        QTest::newRow("no head") << QByteArray("<html><body><IMAGE src=a.png></body></html>")
                                 << QByteArray("<html><title>Fallback</title><body><IMAGE alt=\"\" src=a.png>");
        QTest::newRow("self-closing picture") << QByteArray("<title></title><img/src=a.png>")
                                              << QByteArray("<title>Fallback</title><img alt=\"\"/src=a.png>");
    }

    void otherFormatsGetATitleWhereThereIsNone()
    {
        QFETCH(QByteArray, html);
        QFETCH(QByteArray, expected);
        const QByteArray edited = withTitleAndAlt(html, QStringLiteral("Fallback"));
        QVERIFY2(edited.startsWith(expected), edited);
        QCOMPARE(publishing::inspect(edited).picturesWithoutAlt, 0);
    }
};

QTEST_MAIN(TestCleanPage)
#include "tst_CleanPage.moc"
