#pragma once

// ZIP packages made by the tests themselves: small Word documents, and ones that unpack to
// far more than they hold.

#include <QByteArray>
#include <QFile>
#include <QList>

#include <zlib.h>

namespace zippackage {

struct Part {
    QByteArray name;
    QByteArray head;         // written once at the start
    QByteArray filler;       // then repeated fillerCount times
    qint64 fillerCount = 0;
    QByteArray tail;         // then written once at the end
};

inline void putLittle(QByteArray& out, quint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

struct PackedPart {
    QByteArray name;
    QByteArray data; // deflated
    quint32 crc = 0;
    quint64 size = 0;
};

inline PackedPart pack(const Part& part)
{
    PackedPart packed{part.name, {}, 0, 0};
    z_stream stream{};
    // Runs of one byte pack fast as runs; anything else as tightly as zlib can.
    const bool run = !part.filler.isEmpty() && part.filler.count(part.filler.front()) == part.filler.size();
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, run ? Z_RLE : Z_DEFAULT_STRATEGY);
    uLong crc = crc32(0, nullptr, 0);
    char buffer[1 << 16];
    const auto feed = [&](const QByteArray& data, int flush) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
        stream.avail_in = uInt(data.size());
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()));
        packed.size += quint64(data.size());
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, flush);
            packed.data.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
        } while (stream.avail_out == 0);
    };
    feed(part.head, Z_NO_FLUSH);
    for (qint64 i = 0; i < part.fillerCount; ++i)
        feed(part.filler, Z_NO_FLUSH);
    feed(part.tail, Z_FINISH);
    deflateEnd(&stream);
    packed.crc = quint32(crc);
    return packed;
}

// A local header (offset < 0) or a directory entry for `part`, claiming the sizes given.
inline QByteArray header(const PackedPart& part, quint64 packedSize, quint64 size, qint64 offset = -1)
{
    const bool central = offset >= 0;
    QByteArray out;
    putLittle(out, central ? 0x02014b50 : 0x04034b50, 4);
    if (central)
        putLittle(out, 20, 2); // made by
    putLittle(out, 20, 2);     // version needed
    putLittle(out, 0, 2);      // flags
    putLittle(out, 8, 2);      // deflated
    putLittle(out, 0, 4);      // time and date
    putLittle(out, part.crc, 4);
    putLittle(out, packedSize, 4);
    putLittle(out, size, 4);
    putLittle(out, quint64(part.name.size()), 2);
    putLittle(out, 0, 2); // extra
    if (central) {
        putLittle(out, 0, 2); // comment
        putLittle(out, 0, 2); // disk
        putLittle(out, 0, 2); // internal attributes
        putLittle(out, 0, 4); // external attributes
        putLittle(out, quint64(offset), 4);
    }
    return out + part.name;
}

inline QByteArray endRecord(qsizetype count, qsizetype directorySize, qint64 directoryOffset)
{
    QByteArray end;
    putLittle(end, 0x06054b50, 4);
    putLittle(end, 0, 4);
    putLittle(end, quint64(count), 2);
    putLittle(end, quint64(count), 2);
    putLittle(end, quint64(directorySize), 4);
    putLittle(end, quint64(directoryOffset), 4);
    putLittle(end, 0, 2);
    return end;
}

// Writes `parts` deflated into one package; returns false when it cannot be written.
//
// A disguised package hides its sizes from a reader that trusts the end record's stored
// directory offset: there lies a decoy directory listing every part as a few bytes,
// while the directory a reader finds before the end record lists the real sizes, with
// offsets counted from the decoy's end as such a reader counts them. A leading padding
// part, listed in neither, keeps those offsets positive.
inline bool writePackage(const QString& path, const QList<Part>& parts, bool disguised = false)
{
    QList<PackedPart> packed;
    for (const Part& part : parts)
        packed.append(pack(part));
    QByteArray body;
    if (disguised)
        body += header({"padding", QByteArray(128 * parts.size(), ' '), 0, 0}, 0, 0) + QByteArray(128 * parts.size(), ' ');
    QList<qint64> offsets;
    for (const PackedPart& part : packed) {
        offsets.append(body.size());
        body += header(part, quint64(part.data.size()), part.size) + part.data;
    }
    QByteArray decoy;
    QByteArray directory;
    for (qsizetype i = 0; i < packed.size(); ++i)
        decoy += header(packed[i], 2, 2, offsets[i]);
    const qint64 shift = disguised ? decoy.size() : 0;
    for (qsizetype i = 0; i < packed.size(); ++i)
        directory += header(packed[i], quint64(packed[i].data.size()), packed[i].size, offsets[i] - shift);
    const QByteArray tail = disguised ? decoy + directory : directory;
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
           && file.write(body + tail + endRecord(parts.size(), directory.size(), body.size())) > 0;
}

inline const QByteArray ContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Types "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
    "ContentType=\"application/xml\"/><Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>";

inline const QByteArray PackageRelations =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/></Relationships>";

inline const QByteArray DocumentStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:document "
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><w:body><w:p>";

inline const QByteArray DocumentEnd = "</w:p></w:body></w:document>";

// A run showing the picture of relationship `id`, linked rather than embedded (or as
// `blip` says), with `pictureFrame` markup added to its frame (a crop, a turn).
inline QByteArray linkedPicture(const QByteArray& id, int number, const QByteArray& blip = "r:link",
                                const QByteArray& pictureFrame = {})
{
    const QByteArray n = QByteArray::number(number);
    return "<w:r><w:drawing><wp:inline><wp:extent cx=\"914400\" cy=\"914400\"/><wp:docPr id=\"" + n
           + "\" name=\"Picture " + n
           + "\"/><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
             "<pic:pic><pic:nvPicPr><pic:cNvPr id=\"" + n + "\" name=\"p" + n
           + ".png\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip " + blip + "=\"" + id
           + "\"/>" + pictureFrame + "<a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/>"
             "<a:ext cx=\"914400\" cy=\"914400\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>"
             "</pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
}

// A .docx with a text and pictures linked at `targets` (relationship ids rId7, rId8, ...).
inline bool writeLinkingDocument(const QString& path, const QByteArray& text, const QList<QByteArray>& targets)
{
    QByteArray body = "<w:r><w:t>" + text + "</w:t></w:r>";
    QByteArray relations = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
                           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (int i = 0; i < targets.size(); ++i) {
        const QByteArray id = "rId" + QByteArray::number(7 + i);
        body += linkedPicture(id, i + 1);
        relations += "<Relationship Id=\"" + id
                     + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
                       "Target=\"" + targets[i] + "\" TargetMode=\"External\"/>";
    }
    relations += "</Relationships>";
    return writePackage(path, {{"[Content_Types].xml", ContentTypes, {}, 0, {}},
                               {"_rels/.rels", PackageRelations, {}, 0, {}},
                               {"word/document.xml", DocumentStart + body + DocumentEnd, {}, 0, {}},
                               {"word/_rels/document.xml.rels", relations, {}, 0, {}}});
}

// A .docx of `text` (runs) showing `pictures` (JPEG or PNG bytes) embedded, each in a
// frame with `pictureFrame` added (see linkedPicture).
inline bool writePictureDocument(const QString& path, const QList<QByteArray>& pictures,
                                 const QByteArray& pictureFrame = {}, const QByteArray& text = "<w:r><w:t>Pictures</w:t></w:r>")
{
    QByteArray body = text;
    QByteArray relations = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
                           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    QList<Part> parts;
    for (int i = 0; i < pictures.size(); ++i) {
        const QByteArray id = "rId" + QByteArray::number(7 + i);
        const QByteArray name = "media/image" + QByteArray::number(i + 1)
                                + (pictures[i].startsWith("\x89PNG") ? ".png" : ".jpeg");
        body += linkedPicture(id, i + 1, "r:embed", pictureFrame);
        relations += "<Relationship Id=\"" + id
                     + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
                       "Target=\"" + name + "\"/>";
        parts.append({"word/" + name, pictures[i], {}, 0, {}});
    }
    QByteArray types = ContentTypes;
    types.replace("<Default Extension=\"xml\"", "<Default Extension=\"jpeg\" ContentType=\"image/jpeg\"/>"
                                              "<Default Extension=\"png\" ContentType=\"image/png\"/>"
                                              "<Default Extension=\"xml\"");
    parts += {{"[Content_Types].xml", types, {}, 0, {}},
              {"_rels/.rels", PackageRelations, {}, 0, {}},
              {"word/document.xml", DocumentStart + body + DocumentEnd, {}, 0, {}},
              {"word/_rels/document.xml.rels", relations + "</Relationships>", {}, 0, {}}};
    return writePackage(path, parts);
}

// A .docx of a few megabytes whose text unpacks to `gigabytes` (disguised: see writePackage).
inline bool writeZipBomb(const QString& path, int gigabytes, bool disguised = false)
{
    const QByteArray filler(1 << 20, 'A');
    return writePackage(path,
                        {{"[Content_Types].xml", ContentTypes, {}, 0, {}},
                         {"_rels/.rels", PackageRelations, {}, 0, {}},
                         {"word/document.xml", DocumentStart + "<w:r><w:t>", filler, qint64(gigabytes) << 10,
                          "</w:t></w:r>" + DocumentEnd}},
                        disguised);
}

// A .docx whose text is `paragraphs` short paragraphs of `text`: tens of megabytes of XML
// packed more tightly than any real document is.
inline bool writeMonstrousDocument(const QString& path, qint64 paragraphs, const QByteArray& text = QByteArray(64, 'A'))
{
    return writePackage(path, {{"[Content_Types].xml", ContentTypes, {}, 0, {}},
                               {"_rels/.rels", PackageRelations, {}, 0, {}},
                               {"word/document.xml", DocumentStart, "<w:r><w:t>" + text + "</w:t></w:r></w:p><w:p>",
                                paragraphs, DocumentEnd}});
}

} // namespace zippackage
