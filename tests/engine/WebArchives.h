#pragma once

// Single-file web pages (MIME archives) as Word writes them with "Save as Web Archive",
// made byte by byte for the tests.

#include <QByteArray>
#include <QList>

namespace webarchives {

inline const QByteArray Boundary = "----=_NextPart_01DA2B3C.4D5E6F70";

struct Part {
    QByteArray headers; // each line ended by CR LF
    QByteArray body;    // already encoded
};

// Quoted-printable as Word writes it: "=" and bytes above 126 escaped, lines broken
// softly after at most 72 characters, also inside words and before escapes.
inline QByteArray quotedPrintable(const QByteArray& text)
{
    QByteArray encoded, line;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            encoded += line + "\r\n";
            line.clear();
            continue;
        }
        const QByteArray piece = c == '\r' ? QByteArray()
                                 : (byte > 126 || c == '=') ? "=" + QByteArray(1, c).toHex().toUpper()
                                                            : QByteArray(1, c);
        if (line.size() + piece.size() > 72) {
            encoded += line + "=\r\n";
            line.clear();
        }
        line += piece;
    }
    return encoded + line;
}

inline QByteArray base64Lines(const QByteArray& data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray lines;
    for (qsizetype at = 0; at < encoded.size(); at += 76)
        lines += encoded.mid(at, 76) + "\r\n";
    return lines;
}

inline Part htmlPart(const QByteArray& location, const QByteArray& html, const QByteArray& charset = "windows-1252")
{
    return {"Content-Location: " + location + "\r\nContent-Transfer-Encoding: quoted-printable\r\n"
                "Content-Type: text/html; charset=\"" + charset + "\"\r\n",
            quotedPrintable(html)};
}

inline Part picturePart(const QByteArray& locationOrIdHeader, const QByteArray& png)
{
    return {locationOrIdHeader + "\r\nContent-Transfer-Encoding: base64\r\nContent-Type: image/png\r\n",
            base64Lines(png)};
}

inline QByteArray archive(const QList<Part>& parts, const QByteArray& extraType = {})
{
    QByteArray bytes = "MIME-Version: 1.0\r\nContent-Type: multipart/related; boundary=\"" + Boundary + "\"" + extraType
                       + "\r\n\r\nThis document is a Single File Web Page, also known as a Web Archive file.  If "
                         "you are seeing this message, your browser or editor doesn't support Web Archive files.\r\n\r\n";
    for (const Part& part : parts)
        bytes += "--" + Boundary + "\r\n" + part.headers + "\r\n" + part.body + "\r\n";
    return bytes + "--" + Boundary + "--\r\n";
}

// Word's page: windows-1252 text with non-ASCII letters, its own meta element, a style
// sheet and one picture by Content-Location, another by cid:.
inline QByteArray wordPageHtml()
{
    return "<html xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:o=\"urn:schemas-microsoft-com:office:office\">\n"
           "<head>\n<meta http-equiv=Content-Type content=\"text/html; charset=windows-1252\">\n"
           "<meta name=Generator content=\"Microsoft Word 15\">\n"
           "<link rel=File-List href=\"report_files/filelist.xml\">\n"
           "<link rel=Stylesheet href=\"report_files/styles.css\">\n"
           "<title>Quarterly report</title>\n</head>\n<body lang=EN-GB>\n<div class=WordSection1>\n"
           "<p class=MsoNormal>Caf\xE9 cr\xE8me \x93quoted\x94 na\xEFve r\xE9sum\xE9 of the quarter, a line long "
           "enough to be broken softly.</p>\n"
           "<p class=MsoNormal><!--[if gte vml 1]><v:shape style='width:12pt;height:12pt'><v:imagedata "
           "src=\"report_files/image001.png\" o:title=\"\"/></v:shape><![endif]--><![if !vml]><img width=16 "
           "height=16 src=\"report_files/image001.png\" v:shapes=\"Picture_x0020_1\"><![endif]></p>\n"
           "<p class=MsoNormal>Second picture:<img width=16 height=16 src=\"cid:image002.png@01DA2B3C.4D5E6F70\"></p>\n"
           "<p class=MsoNormal><a href=\"https://example.invalid/more.htm\">More on the web</a> and "
           "<a href=\"minutes.htm\">the minutes</a></p>\n"
           "</div>\n</body>\n</html>\n";
}

inline QByteArray wordWebArchive(const QByteArray& firstPng, const QByteArray& secondPng)
{
    return archive({htmlPart("file:///C:/B0A1C2D3/report.htm", wordPageHtml()),
                    picturePart("Content-Location: file:///C:/B0A1C2D3/report_files/image001.png", firstPng),
                    picturePart("Content-ID: <image002.png@01DA2B3C.4D5E6F70>", secondPng),
                    {"Content-Location: file:///C:/B0A1C2D3/report_files/styles.css\r\n"
                     "Content-Transfer-Encoding: quoted-printable\r\nContent-Type: text/css; charset=\"utf-8\"\r\n",
                     quotedPrintable("p.MsoNormal { margin-bottom: 8pt; font-family: \"Calibri\"; }\n")},
                    {"Content-Location: file:///C:/B0A1C2D3/report_files/filelist.xml\r\n"
                     "Content-Transfer-Encoding: quoted-printable\r\nContent-Type: text/xml; charset=\"utf-8\"\r\n",
                     quotedPrintable("<xml xmlns:o=\"urn:schemas-microsoft-com:office:office\">\n"
                                     " <o:File HRef=\"image001.png\"/>\n</xml>")}});
}

} // namespace webarchives
