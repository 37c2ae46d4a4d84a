#pragma once

// The smallest files of the Word formats that came before Word 97, made byte by byte
// from their published layouts: one paragraph of plain text, no styles.

#include <QByteArray>
#include <QtEndian>

namespace oldword {

inline void put16(QByteArray& bytes, qsizetype at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

inline void put32(QByteArray& bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

// Word for Windows 1.x (wIdent 0xA59B, nFib 33) and 2.0 (0xA5DB, nFib 45): the file
// information block, then the text from fcMin to fcMac, in the Windows code page.
inline QByteArray wordForWindows(int version, const QByteArray& windows1252Text)
{
    constexpr quint32 fcMin = 0x180;
    const QByteArray text = windows1252Text + '\r';
    QByteArray file(fcMin, '\0');
    put16(file, 0x00, version == 1 ? 0xA59B : 0xA5DB); // wIdent
    put16(file, 0x02, version == 1 ? 33 : 45);         // nFib
    put16(file, 0x06, 0x0409);                         // lid: English (US)
    put32(file, 0x18, fcMin);                          // fcMin
    put32(file, 0x1C, fcMin + quint32(text.size()));   // fcMac
    put32(file, 0x20, fcMin + quint32(text.size()));   // cbMac
    put32(file, 0x34, quint32(text.size()));           // ccpText
    return file + text;
}

// A formatting page of Word for DOS: one run from the text's start to its end, with
// the default properties.
inline QByteArray defaultPropertiesPage(quint32 fcMac)
{
    QByteArray page(128, '\0');
    put32(page, 0, 128);       // fcFirst
    put32(page, 4, fcMac);     // the run's fcLim
    put16(page, 8, 0xFFFF);    // no properties of its own
    page[127] = 1;             // one run
    return page;
}

// Word for DOS 5 (wIdent 0xBE31, or 0xBE32 when it holds pictures): a 128-byte header,
// the text from offset 128 in code page 437, then 128-byte pages for the character and
// paragraph runs.
inline QByteArray wordForDos(const QByteArray& cp437Text, bool withPictures = false)
{
    const QByteArray text = cp437Text + "\r\n";
    const quint32 fcMac = 128 + quint32(text.size());
    const quint16 pnChar = quint16((fcMac + 127) / 128);
    const quint16 pnPara = pnChar + 1;
    const quint16 pnMac = pnPara + 1;
    QByteArray header(128, '\0');
    put16(header, 0, withPictures ? 0xBE32 : 0xBE31); // wIdent
    put16(header, 4, 0xAB00);                         // wTool
    put32(header, 14, fcMac);
    put16(header, 18, pnPara);
    for (int at = 20; at <= 28; at += 2) // footnotes, bookmarks, sections, summary: none
        put16(header, at, pnMac);
    header.replace(0x1E, 10, "NORMAL.STY");
    put16(header, 106, pnMac);
    header[116] = 4;          // Word 5
    put16(header, 126, 437);  // code page
    QByteArray body = text;
    body.append((128 - body.size() % 128) % 128, '\0');
    return header + body + defaultPropertiesPage(fcMac) + defaultPropertiesPage(fcMac);
}

} // namespace oldword
