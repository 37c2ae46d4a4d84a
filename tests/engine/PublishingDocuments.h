#pragma once

// A text document with what publishing has to carry: title and people in its
// properties, headings, lists, a table, pictures with a description, with a title and
// with neither, fields, footnotes, a page break, a comment. Kept apart: moc does not
// read raw string literals.

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

} // namespace
