#include "engine/files/ZipDirectory.h"

#include <algorithm>
#include <memory>

#include <zlib.h>

#include <unistd.h>

namespace ZipDirectory {

namespace {

constexpr quint64 Marker16 = 0xFFFF;     // in a 16-bit field: the value is in the ZIP64 records
constexpr quint64 Marker32 = 0xFFFFFFFF; // the same for a 32-bit field
constexpr qint64 EndRecordSize = 22;
constexpr qint64 LocatorSize = 20;
constexpr qint64 End64RecordSize = 56;
constexpr qint64 EntrySize = 46;

const QString Untrustworthy = QStringLiteral(", so the sizes its parts claim cannot be trusted");

// Where the directory lies by the ZIP64 records before the end record at `end`. The
// 32-bit fields that are no markers must say the same, and one at least must be a
// marker, so that a reader without ZIP64 refuses the package rather than reading it
// from the 32-bit fields alone; the directory must end where the ZIP64 record begins.
std::optional<Location> zip64Directory(int fd, qint64 end, const Location& narrow, QString& refusal)
{
    refusal = QStringLiteral("its ZIP64 records and its end record do not name one directory") + Untrustworthy;
    QByteArray locator;
    QByteArray record;
    if (!readAt(fd, end - LocatorSize, locator, LocatorSize) || little(bytesOf(locator), 4) != 0x07064b50)
        return std::nullopt;
    const qint64 recordAt = qint64(std::min<quint64>(little(bytesOf(locator) + 8, 8), quint64(end)));
    if (recordAt + End64RecordSize > end - LocatorSize || !readAt(fd, recordAt, record, End64RecordSize)
        || little(bytesOf(record), 4) != 0x06064b50)
        return std::nullopt;
    const Location wide{qint64(std::min<quint64>(little(bytesOf(record) + 48, 8), quint64(end))),
                        qint64(std::min<quint64>(little(bytesOf(record) + 40, 8), quint64(end))),
                        little(bytesOf(record) + 32, 8)};
    const bool countMarked = narrow.count == Marker16;
    const bool lengthMarked = quint64(narrow.length) == Marker32;
    const bool startMarked = quint64(narrow.start) == Marker32;
    if (!(countMarked || lengthMarked || startMarked) || (!countMarked && narrow.count != wide.count)
        || (!lengthMarked && narrow.length != wide.length) || (!startMarked && narrow.start != wide.start)
        || wide.start + wide.length != recordAt)
        return std::nullopt;
    refusal.clear();
    return wide;
}

} // namespace

bool readAt(int fd, qint64 offset, QByteArray& buffer, qint64 size)
{
    if (offset < 0 || size < 0)
        return false;
    buffer.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = pread(fd, buffer.data() + done, size_t(size - done), off_t(offset + done));
        if (got <= 0)
            return false;
        done += got;
    }
    return true;
}

quint64 little(const unsigned char* at, int bytes)
{
    quint64 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

void takeZip64Sizes(const unsigned char* extra, qint64 length, std::initializer_list<quint64*> fields)
{
    for (const unsigned char* field = extra; field + 4 <= extra + length;) {
        const quint64 id = little(field, 2);
        const qint64 size = qint64(little(field + 2, 2));
        const unsigned char* value = field + 4;
        const unsigned char* end = std::min(value + size, extra + length);
        if (id == 1)
            for (quint64* target : fields)
                if (*target == Marker32 && value + 8 <= end)
                    *target = little(value, 8), value += 8;
        field += 4 + size;
    }
}

bool startsAsPackage(int fd)
{
    QByteArray head;
    return readAt(fd, 0, head, 4) && head == QByteArray("PK\x03\x04", 4);
}

std::optional<Location> find(int fd, qint64 fileSize, QString& refusal)
{
    const qint64 tailStart = std::max<qint64>(0, fileSize - EndRecordSize - 0xFFFF);
    QByteArray tail;
    if (fileSize < EndRecordSize || !readAt(fd, tailStart, tail, fileSize - tailStart))
        return std::nullopt;
    // Searched backwards from the last place a whole end record fits, as LibreOffice does.
    const qsizetype record = tail.lastIndexOf(QByteArray("PK\x05\x06", 4), tail.size() - EndRecordSize);
    if (record < 0)
        return std::nullopt;
    const unsigned char* at = bytesOf(tail) + record;
    const qint64 end = tailStart + record;
    const Location narrow{qint64(little(at + 16, 4)), qint64(little(at + 12, 4)), little(at + 10, 2)};
    const bool marked = narrow.count == Marker16 || quint64(narrow.length) == Marker32
                        || quint64(narrow.start) == Marker32;
    if (marked || (record >= LocatorSize && little(at - LocatorSize, 4) == 0x07064b50))
        return zip64Directory(fd, end, narrow, refusal);
    if (narrow.length > end)
        return std::nullopt;
    if (narrow.start != end - narrow.length) {
        refusal = QStringLiteral("its ZIP directory is not where its end record says it is") + Untrustworthy;
        return std::nullopt;
    }
    return narrow;
}

std::optional<QList<Entry>> entries(int fd, const Location& location, qint64 largestDirectory)
{
    QByteArray directory;
    if (location.length > largestDirectory || !readAt(fd, location.start, directory, location.length))
        return std::nullopt;
    QList<Entry> entries;
    const unsigned char* at = bytesOf(directory);
    const unsigned char* end = at + directory.size();
    // Each entry takes at least EntrySize bytes: a count past that cannot fit.
    if (location.count > quint64(directory.size() / EntrySize))
        return std::nullopt;
    while (quint64(entries.size()) < location.count) {
        if (end - at < EntrySize || little(at, 4) != 0x02014b50)
            return std::nullopt;
        const qint64 nameLength = qint64(little(at + 28, 2));
        const qint64 extraLength = qint64(little(at + 30, 2));
        const qint64 entryLength = EntrySize + nameLength + extraLength + qint64(little(at + 32, 2));
        if (end - at < entryLength)
            return std::nullopt;
        Entry entry{QByteArray(reinterpret_cast<const char*>(at + EntrySize), nameLength), little(at + 20, 4),
                    little(at + 24, 4), little(at + 42, 4), little(at + 10, 2)};
        entry.crc = little(at + 16, 4);
        entry.flags = little(at + 8, 2);
        takeZip64Sizes(at + EntrySize + nameLength, extraLength,
                       {&entry.unpacked, &entry.packed, &entry.localHeader});
        entries.append(entry);
        at += entryLength;
    }
    return entries;
}

std::optional<qint64> dataOffset(int fd, const Entry& entry)
{
    QByteArray header;
    if (!readAt(fd, qint64(entry.localHeader), header, LocalHeaderSize) || little(bytesOf(header), 4) != 0x04034b50)
        return std::nullopt;
    return qint64(entry.localHeader) + LocalHeaderSize + qint64(little(bytesOf(header) + 26, 2))
           + qint64(little(bytesOf(header) + 28, 2));
}

bool unpackInPieces(int fd, const Entry& entry, const std::function<bool(const char*, qsizetype)>& take)
{
    const std::optional<qint64> dataAt = dataOffset(fd, entry);
    if (!dataAt || (entry.method != 0 && entry.method != 8) || (entry.flags & 1) != 0)
        return false;
    constexpr qint64 piece = 256 << 10;
    QByteArray packed;
    uLong crc = crc32(0, nullptr, 0);
    quint64 given = 0;
    // Checks and hands on what one step unpacked.
    const auto hand = [&](const char* bytes, qsizetype size) {
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes), uInt(size));
        given += quint64(size);
        return given <= entry.unpacked && (size == 0 || take(bytes, size));
    };
    quint64 read = 0;
    const auto readPiece = [&] {
        const qint64 size = qint64(std::min<quint64>(piece, entry.packed - read));
        read += quint64(size);
        return readAt(fd, *dataAt + qint64(read) - size, packed, size);
    };
    if (entry.method == 0) {
        while (read < entry.packed)
            if (!readPiece() || !hand(packed.constData(), packed.size()))
                return false;
        return given == entry.unpacked && crc == entry.crc;
    }
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    const std::unique_ptr<z_stream, int (*)(z_streamp)> ending(&stream, inflateEnd);
    QByteArray unpacked(piece, '\0');
    for (int state = Z_OK; state != Z_STREAM_END;) {
        if (stream.avail_in == 0 && read < entry.packed) {
            if (!readPiece())
                return false;
            stream.next_in = reinterpret_cast<Bytef*>(packed.data());
            stream.avail_in = uInt(packed.size());
        }
        stream.next_out = reinterpret_cast<Bytef*>(unpacked.data());
        stream.avail_out = uInt(piece);
        state = inflate(&stream, Z_NO_FLUSH);
        // Z_BUF_ERROR: the packed bytes ended before the stream did.
        if ((state != Z_OK && state != Z_STREAM_END) || !hand(unpacked.constData(), piece - qsizetype(stream.avail_out)))
            return false;
    }
    return given == entry.unpacked && crc == entry.crc;
}

QByteArray unpack(int fd, const Entry& entry, quint64 largest)
{
    if (entry.unpacked > largest || entry.packed > largest)
        return {};
    QByteArray unpacked;
    unpacked.reserve(qsizetype(entry.unpacked));
    const bool whole = unpackInPieces(fd, entry, [&](const char* bytes, qsizetype size) {
        unpacked.append(bytes, size);
        return true;
    });
    return whole ? unpacked : QByteArray();
}

QByteArray unpackHead(int fd, const Entry& entry, qsizetype bytes)
{
    QByteArray head;
    unpackInPieces(fd, entry, [&](const char* data, qsizetype size) {
        head.append(data, std::min(size, bytes - head.size()));
        return head.size() < bytes;
    });
    return head;
}

} // namespace ZipDirectory
