#include "StandInPictures.h"

#include <zlib.h>

namespace StandInPictures {

namespace {

const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);

quint32 bigEndian(const QByteArray& bytes, qsizetype at, int length)
{
    quint32 value = 0;
    for (int i = 0; i < length; ++i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

QByteArray bigEndianBytes(quint32 value, int length)
{
    QByteArray bytes;
    for (int i = length - 1; i >= 0; --i)
        bytes += char((value >> (8 * i)) & 0xFF);
    return bytes;
}

// Calls `visit(marker, start, length)` for each JPEG segment up to the first scan, with
// the segment's data from `start`; stops when `visit` says so. False when the segments
// run past `head` before a frame header.
template <typename Visit> bool eachJpegSegment(const QByteArray& head, Visit visit)
{
    qsizetype at = 2;
    while (at + 4 <= head.size()) {
        if (quint8(head[at]) != 0xFF)
            return false;
        const quint8 marker = quint8(head[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        const qsizetype length = qsizetype(bigEndian(head, at + 2, 2));
        if (length < 2 || at + 2 + length > head.size())
            return false;
        if (!visit(marker, at + 4, length - 2))
            return true;
        at += 2 + length;
    }
    return false;
}

bool isFrameHeader(quint8 marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The EXIF orientation in the APP1 data at `start`: 1 (as stored) when none is given.
quint32 exifOrientation(const QByteArray& head, qsizetype start, qsizetype length)
{
    if (length < 14 || head.mid(start, 6) != QByteArray("Exif\0\0", 6))
        return 1;
    const QByteArray tiff = head.mid(start + 6, length - 6);
    const bool little = tiff.startsWith("II");
    if (!little && !tiff.startsWith("MM"))
        return 0;
    const auto number = [&](qsizetype at, int bytes) -> quint32 {
        if (at < 0 || at + bytes > tiff.size())
            return 0;
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= quint32(quint8(tiff[at + i])) << (8 * (little ? i : bytes - 1 - i));
        return value;
    };
    const qsizetype directory = qsizetype(number(4, 4));
    const quint32 count = number(directory, 2);
    for (quint32 i = 0; i < count; ++i) {
        const qsizetype entry = directory + 2 + qsizetype(i) * 12;
        if (entry + 12 > tiff.size())
            return 0;
        if (number(entry, 2) == 0x0112)
            return number(entry + 8, 2);
    }
    return 1;
}

bool jpegWrittenAsStored(const QByteArray& head)
{
    bool plain = true;
    bool framed = false;
    const bool complete = eachJpegSegment(head, [&](quint8 marker, qsizetype start, qsizetype length) {
        if (marker == 0xE1 && exifOrientation(head, start, length) != 1)
            plain = false;
        framed = isFrameHeader(marker);
        return plain && !framed;
    });
    return complete && plain && framed;
}

bool pngWrittenAsStored(const QByteArray& head)
{
    for (qsizetype at = PngSignature.size(); at + 12 <= head.size();) {
        const qsizetype length = qsizetype(bigEndian(head, at, 4));
        const QByteArray type = head.mid(at + 4, 4);
        if (type == "IHDR" && (length < 13 || at + 8 + 13 > head.size() || (quint8(head[at + 8 + 9]) & 4) != 0))
            return false; // colour types 4 and 6 have an alpha channel
        if (type == "tRNS")
            return false;
        if (type == "IDAT")
            return true;
        at += 12 + length;
    }
    return false;
}

QByteArray pngChunk(const char* type, const QByteArray& data)
{
    const QByteArray typed = QByteArray(type) + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size()));
    return bigEndianBytes(quint32(data.size()), 4) + typed + bigEndianBytes(quint32(crc), 4);
}

// A grey PNG of `width` by 1 pixels.
QByteArray greyPng(quint32 width)
{
    const QByteArray row = QByteArray(1, '\0') + QByteArray(qsizetype(width), '\x80');
    QByteArray packed(qsizetype(compressBound(uLong(row.size()))), '\0');
    uLongf packedSize = uLongf(packed.size());
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(row.constData()),
             uLong(row.size()));
    packed.truncate(qsizetype(packedSize));
    const QByteArray header = bigEndianBytes(width, 4) + bigEndianBytes(1, 4) + QByteArray("\x08\0\0\0\0", 5);
    return PngSignature + pngChunk("IHDR", header) + pngChunk("IDAT", packed) + pngChunk("IEND", {});
}

// A grey baseline JPEG of `width` by 1 pixels: one component, every block's only
// coefficient zero, with the smallest Huffman tables that say so.
QByteArray greyJpeg(quint32 width)
{
    const auto segment = [](char marker, const QByteArray& data) {
        return QByteArray("\xFF", 1) + marker + bigEndianBytes(quint32(data.size() + 2), 2) + data;
    };
    QByteArray jpeg("\xFF\xD8", 2);
    jpeg += segment('\xDB', QByteArray(1, '\0') + QByteArray(64, '\x01'));
    jpeg += segment('\xC0', QByteArray("\x08", 1) + bigEndianBytes(1, 2) + bigEndianBytes(width, 2)
                                + QByteArray("\x01\x01\x11\x00", 4));
    // DC: one code of two bits for difference class 0. AC: one code of one bit, end of block.
    jpeg += segment('\xC4', QByteArray("\x00\x00\x01", 3) + QByteArray(14, '\0') + QByteArray(1, '\0'));
    jpeg += segment('\xC4', QByteArray("\x10\x01", 2) + QByteArray(15, '\0') + QByteArray(1, '\0'));
    jpeg += segment('\xDA', QByteArray("\x01\x01\x00\x00\x3F\x00", 6));
    // Each 8-pixel block is "00" then "0"; the last byte is padded with ones.
    const qsizetype bits = qsizetype((width + 7) / 8) * 3;
    QByteArray scan((bits + 7) / 8, '\0');
    if (bits % 8 != 0)
        scan[scan.size() - 1] = char((1 << (8 - bits % 8)) - 1);
    return jpeg + scan + QByteArray("\xFF\xD9", 2);
}

} // namespace

Type typeOf(const QByteArray& head)
{
    if (head.startsWith("\xFF\xD8\xFF"))
        return Type::Jpeg;
    if (head.startsWith(PngSignature))
        return Type::Png;
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return Type::Gif;
    return Type::Other;
}

std::optional<Size> sizeOf(const QByteArray& picture)
{
    switch (typeOf(picture)) {
    case Type::Jpeg: {
        std::optional<Size> size;
        eachJpegSegment(picture, [&](quint8 marker, qsizetype start, qsizetype length) {
            if (isFrameHeader(marker) && length >= 5)
                size = Size{bigEndian(picture, start + 3, 2), bigEndian(picture, start + 1, 2)};
            return !size;
        });
        return size;
    }
    case Type::Png:
        if (picture.size() >= 24 && picture.mid(12, 4) == "IHDR")
            return Size{bigEndian(picture, 16, 4), bigEndian(picture, 20, 4)};
        return std::nullopt;
    case Type::Gif:
        if (picture.size() >= 10)
            return Size{quint32(quint8(picture[6]) | quint8(picture[7]) << 8),
                        quint32(quint8(picture[8]) | quint8(picture[9]) << 8)};
        return std::nullopt;
    case Type::Other: break;
    }
    return std::nullopt;
}

bool writtenAsStored(const QByteArray& head)
{
    switch (typeOf(head)) {
    case Type::Jpeg: return jpegWrittenAsStored(head);
    case Type::Png: return pngWrittenAsStored(head);
    case Type::Gif:
    case Type::Other: break;
    }
    return false;
}

QByteArray standIn(Type type, int number)
{
    const quint32 width = quint32(std::max(number, 1));
    return type == Type::Png ? greyPng(width) : greyJpeg(width);
}

} // namespace StandInPictures
