#pragma once

// A text document with what publishing has to carry: title and people in its
// properties, headings, lists, a table, pictures with a description, with a title and
// with neither, fields, footnotes, a page break, a comment. Kept apart: moc does not
// read raw string literals.

#include "engine/ZipPackage.h"

#include <QByteArray>

namespace {

// The words the document shows, each once, so that a test can look for all of them.
const char* const DocumentWords[] = {"Alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel",
                                     "india", "juliet", "kilo", "lima", "mike", "November", "oscar", "papa",
                                     "quebec", "romeo", "sierra", "tango", "uniform", "victor", "whiskey"};

QByteArray publishingDocument(bool withTitle, const QByteArray& redPng, const QByteArray& bluePng)
{
    const QByteArray title = withTitle ? "<dc:title>Quarterly Report Title</dc:title>" : "";
    return R"odt(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" xmlns:xlink="http://www.w3.org/1999/xlink" xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0" xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:meta>)odt" + title + R"odt(<meta:initial-creator>Alice Author</meta:initial-creator><dc:creator>Eddie Editor</dc:creator><meta:creation-date>2020-01-02T03:04:05</meta:creation-date><dc:date>2021-02-03T04:05:06</dc:date></office:meta>
<office:styles>
<style:default-style style:family="paragraph"><style:text-properties fo:language="de" fo:country="DE"/></style:default-style>
<style:style style:name="Heading_20_1" style:display-name="Heading 1" style:family="paragraph" style:default-outline-level="1"><style:text-properties fo:font-size="18pt" fo:font-weight="bold"/></style:style>
<style:style style:name="Heading_20_2" style:display-name="Heading 2" style:family="paragraph" style:default-outline-level="2"><style:text-properties fo:font-size="14pt" fo:font-weight="bold"/></style:style>
</office:styles>
<office:automatic-styles>
<style:style style:name="P1" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/><style:text-properties fo:color="#ff0000" fo:font-size="14pt"/></style:style>
<style:style style:name="P2" style:family="paragraph"><style:paragraph-properties fo:break-before="page"/></style:style>
<style:style style:name="P3" style:family="paragraph"><style:paragraph-properties fo:text-align="end" fo:background-color="#ffff00"/></style:style>
<style:style style:name="T1" style:family="text"><style:text-properties fo:font-weight="bold" fo:color="#0000ff" fo:font-style="italic"/></style:style>
<style:style style:name="Tab1" style:family="table"><style:table-properties style:width="12cm" table:align="center"/></style:style>
<style:style style:name="Cell1" style:family="table-cell"><style:table-cell-properties fo:border="0.5pt solid #000000" fo:background-color="#ccffcc"/></style:style>
<style:style style:name="fr1" style:family="graphic"><style:graphic-properties style:wrap="none" style:horizontal-pos="center" style:horizontal-rel="paragraph"/></style:style>
<text:list-style style:name="L1"><text:list-level-style-bullet text:level="1" text:bullet-char="*"/></text:list-style>
<text:list-style style:name="L2"><text:list-level-style-number text:level="1" style:num-format="1" style:num-suffix="."/><text:list-level-style-number text:level="2" style:num-format="a" style:num-suffix=")"/></text:list-style>
</office:automatic-styles>
<office:body><office:text>
<text:h text:style-name="Heading_20_1" text:outline-level="1">First Heading Alpha</text:h>
<text:p text:style-name="P1">Centered red paragraph bravo.</text:p>
<text:p>Plain paragraph with <text:span text:style-name="T1">bold blue italic charlie</text:span> and a <text:a xlink:type="simple" xlink:href="https://example.org/">link delta</text:a>.<office:annotation><dc:creator>Carol Commenter</dc:creator><dc:date>2021-01-01T00:00:00</dc:date><text:p>Secret remark</text:p></office:annotation></text:p>
<text:p>Fields: page <text:page-number text:select-page="current">1</text:page-number>, author <text:initial-creator>Alice Author</text:initial-creator>, echo.</text:p>
<text:p>Footnote here foxtrot<text:note text:id="ftn1" text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body><text:p>Footnote body golf.</text:p></text:note-body></text:note> and endnote<text:note text:id="edn1" text:note-class="endnote"><text:note-citation>i</text:note-citation><text:note-body><text:p>Endnote body hotel.</text:p></text:note-body></text:note>.</text:p>
<text:list text:style-name="L1"><text:list-item><text:p>Bullet india</text:p></text:list-item><text:list-item><text:p>Bullet juliet</text:p></text:list-item></text:list>
<text:list text:style-name="L2"><text:list-item><text:p>Number kilo</text:p><text:list><text:list-item><text:p>Nested lima</text:p></text:list-item></text:list></text:list-item><text:list-item><text:p>Number mike</text:p></text:list-item></text:list>
<text:h text:style-name="Heading_20_2" text:outline-level="2">Second Heading November</text:h>
<table:table table:name="Table1" table:style-name="Tab1"><table:table-column table:number-columns-repeated="3"/>
<table:table-header-rows><table:table-row><table:table-cell table:style-name="Cell1"><text:p>Head oscar</text:p></table:table-cell><table:table-cell table:style-name="Cell1" table:number-columns-spanned="2"><text:p>Head papa</text:p></table:table-cell><table:covered-table-cell/></table:table-row></table:table-header-rows>
<table:table-row><table:table-cell table:style-name="Cell1"><text:p>Cell quebec</text:p></table:table-cell><table:table-cell table:style-name="Cell1"><text:p>Cell romeo</text:p></table:table-cell><table:table-cell table:style-name="Cell1"><text:p>Cell sierra</text:p></table:table-cell></table:table-row>
</table:table>
<text:p text:style-name="P2">Page break before tango.</text:p>
<text:p>Pictures: <draw:frame draw:name="Described" text:anchor-type="as-char" svg:width="2cm" svg:height="1.5cm"><draw:image><office:binary-data>)odt"
           + redPng + R"odt(</office:binary-data></draw:image><svg:desc>A red square description</svg:desc></draw:frame> uniform <draw:frame draw:style-name="fr1" draw:name="Titled" text:anchor-type="paragraph" svg:width="2cm" svg:height="1.5cm"><draw:image><office:binary-data>)odt"
           + bluePng + R"odt(</office:binary-data></draw:image><svg:title>Blue square title</svg:title></draw:frame> victor <draw:frame draw:name="Plain" text:anchor-type="as-char" svg:width="1cm" svg:height="1cm"><draw:image><office:binary-data>)odt"
           + redPng + R"odt(</office:binary-data></draw:image></draw:frame> whiskey.</text:p>
</office:text></office:body></office:document>
)odt";
}

// What a reviewed Word document hides from its readers, each word once and found in
// no other text: tracked deletions, a comment, text formatted hidden (a run, a whole
// paragraph, in the header, the footer and a footnote). What they read instead:
// a tracked insertion and text whose tracked change was a format. Text hidden by its
// character style counts too: no run of the document itself says it is hidden. Besides, what a page
// must show readers as they expect it: a ScreenTip, a Symbol-font character, a content
// control and a header row.
const char* const HiddenWords[] = {"deletedxray", "commentsecret", "hiddenwhisper", "hiddenparagraph", "styledsecret",
                                   "hiddenheader", "deletedheader", "hiddenfooter", "hiddenfootnote",
                                   "deletedfootnote"};
const char* const ReadWords[] = {"insertedyankee", "boldnow", "Commented", "Footnote", "Header", "Footer"};

QList<zippackage::Part> reviewedDocument()
{
    const QByteArray ns = R"(xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";
    const QByteArray change = R"(w:author="Dan Deleter" w:date="2021-01-01T00:00:00Z")";
    const QByteArray hidden = "<w:rPr><w:vanish/></w:rPr>";
    const QByteArray relationship = R"(<Relationship Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/)";
    const QByteArray override = R"(<Override ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.)";
    return {
        {"[Content_Types].xml", xml + R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/>)"
             + override + R"(document.main+xml" PartName="/word/document.xml"/>)" + override + R"(comments+xml" PartName="/word/comments.xml"/>)"
             + override + R"(header+xml" PartName="/word/header1.xml"/>)" + override + R"(footer+xml" PartName="/word/footer1.xml"/>)"
             + override + R"(footnotes+xml" PartName="/word/footnotes.xml"/>)" + override + R"(styles+xml" PartName="/word/styles.xml"/></Types>)", {}, 0, {}},
        {"_rels/.rels", xml + R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)" + relationship
             + R"(officeDocument" Id="rId1" Target="word/document.xml"/></Relationships>)", {}, 0, {}},
        {"word/_rels/document.xml.rels", xml + R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
             + relationship + R"(comments" Id="rC" Target="comments.xml"/>)" + relationship + R"(header" Id="rH" Target="header1.xml"/>)"
             + relationship + R"(footer" Id="rF" Target="footer1.xml"/>)" + relationship + R"(footnotes" Id="rN" Target="footnotes.xml"/>)"
             + relationship + R"(styles" Id="rS" Target="styles.xml"/>)"
             + relationship + R"(hyperlink" Id="rL" Target="https://example.org/tip" TargetMode="External"/></Relationships>)", {}, 0, {}},
        {"word/document.xml", xml + "<w:document " + ns + "><w:body>"
             R"(<w:p><w:r><w:t xml:space="preserve">Kept words zulu </w:t></w:r><w:ins w:id="1" )" + change + R"(><w:r><w:t xml:space="preserve">insertedyankee </w:t></w:r></w:ins><w:del w:id="2" )" + change + R"(><w:r><w:delText xml:space="preserve">deletedxray </w:delText></w:r></w:del><w:r><w:t>after.</w:t></w:r></w:p>)"
             R"(<w:p><w:commentRangeStart w:id="0"/><w:r><w:t xml:space="preserve">Commented words </w:t></w:r><w:commentRangeEnd w:id="0"/><w:r><w:commentReference w:id="0"/></w:r><w:r>)" + hidden + R"(<w:t xml:space="preserve">hiddenwhisper </w:t></w:r><w:r><w:rPr><w:rStyle w:val="Whisper"/></w:rPr><w:t xml:space="preserve">styledsecret </w:t></w:r><w:r><w:t>visible end.</w:t></w:r></w:p>)"
             "<w:p><w:pPr>" + hidden + "</w:pPr><w:r>" + hidden + "<w:t>hiddenparagraph</w:t></w:r></w:p>"
             R"(<w:p><w:r><w:t xml:space="preserve">Format change </w:t></w:r><w:r><w:rPr><w:b/><w:rPrChange w:id="5" )" + change + R"(><w:rPr/></w:rPrChange></w:rPr><w:t>boldnow</w:t></w:r><w:r><w:t xml:space="preserve"> note</w:t></w:r><w:r><w:rPr><w:vertAlign w:val="superscript"/></w:rPr><w:footnoteReference w:id="1"/></w:r></w:p>)"
             // What readers meet: a ScreenTip, a symbol (mu), a content control, a header row.
             R"(<w:p><w:hyperlink r:id="rL" w:tooltip="Tip for readers"><w:r><w:t>tipped link</w:t></w:r></w:hyperlink><w:r><w:t xml:space="preserve"> 5 </w:t></w:r><w:r><w:sym w:font="Symbol" w:char="F06D"/></w:r><w:r><w:t xml:space="preserve">m </w:t></w:r>)"
             R"(<w:sdt><w:sdtPr><w:alias w:val="Client"/><w:text/></w:sdtPr><w:sdtContent><w:r><w:t>controlled words</w:t></w:r></w:sdtContent></w:sdt></w:p>)"
             R"(<w:tbl><w:tblPr><w:tblW w:w="4000" w:type="dxa"/></w:tblPr><w:tblGrid><w:gridCol w:w="2000"/><w:gridCol w:w="2000"/></w:tblGrid>)"
             R"(<w:tr><w:trPr><w:tblHeader/></w:trPr><w:tc><w:p><w:r><w:t>Name</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>Value</w:t></w:r></w:p></w:tc></w:tr>)"
             R"(<w:tr><w:tc><w:p><w:r><w:t>a</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>1</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:p/>)"
             R"(<w:sectPr><w:headerReference w:type="default" r:id="rH"/><w:footerReference w:type="default" r:id="rF"/></w:sectPr></w:body></w:document>)", {}, 0, {}},
        {"word/styles.xml", xml + "<w:styles " + ns + R"(><w:style w:type="character" w:customStyle="1" w:styleId="Whisper"><w:name w:val="Whisper"/><w:rPr><w:vanish/></w:rPr></w:style></w:styles>)", {}, 0, {}},
        {"word/comments.xml", xml + "<w:comments " + ns + R"(><w:comment w:id="0" w:author="Carol Commenter" w:date="2021-01-01T00:00:00Z" w:initials="CC"><w:p><w:r><w:t>commentsecret remark</w:t></w:r></w:p></w:comment></w:comments>)", {}, 0, {}},
        {"word/header1.xml", xml + "<w:hdr " + ns + R"(><w:p><w:r><w:t xml:space="preserve">Header text </w:t></w:r><w:r>)" + hidden + R"(<w:t>hiddenheader</w:t></w:r><w:del w:id="7" )" + change + "><w:r><w:delText>deletedheader</w:delText></w:r></w:del></w:p></w:hdr>", {}, 0, {}},
        {"word/footer1.xml", xml + "<w:ftr " + ns + R"(><w:p><w:r><w:t xml:space="preserve">Footer text </w:t></w:r><w:r>)" + hidden + "<w:t>hiddenfooter</w:t></w:r></w:p></w:ftr>", {}, 0, {}},
        {"word/footnotes.xml", xml + "<w:footnotes " + ns + R"(><w:footnote w:type="separator" w:id="-1"><w:p><w:r><w:separator/></w:r></w:p></w:footnote><w:footnote w:type="continuationSeparator" w:id="0"><w:p><w:r><w:continuationSeparator/></w:r></w:p></w:footnote>)"
             R"(<w:footnote w:id="1"><w:p><w:r><w:rPr><w:vertAlign w:val="superscript"/></w:rPr><w:footnoteRef/></w:r><w:r><w:t xml:space="preserve"> Footnote body </w:t></w:r><w:r>)" + hidden + R"(<w:t>hiddenfootnote</w:t></w:r><w:del w:id="8" )" + change + "><w:r><w:delText>deletedfootnote</w:delText></w:r></w:del></w:p></w:footnote></w:footnotes>", {}, 0, {}},
    };
}

} // namespace
