#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>

// The directory of a ZIP package (.docx, .docm, ...) read as LibreOffice reads it: the
// last end record within the final bytes, then the directory that ends where that
// record begins (its start is the record's position minus the directory's size,
// whatever offset the record stores). Every read is bounded by the file and by what
// the caller allows, so a hostile package costs no more than a sane one.
namespace ZipDirectory {

// A size or offset from this one on needs ZIP64 records, which a package written
// again by the helper never has.
constexpr quint64 narrowLimit = 0xFFFFFFFF;

struct Location {
    qint64 start = 0;
    qint64 length = 0;
    quint64 count = 0;
};

struct Entry {
    QByteArray name;
    quint64 packed = 0;
    quint64 unpacked = 0;
    quint64 localHeader = 0;
    quint64 method = 0; // 0 stored, 8 deflated
    quint64 crc = 0;
    quint64 flags = 0;  // bit 0: encrypted; bit 3: sizes in a descriptor after the data
};

inline constexpr qint64 LocalHeaderSize = 30;

// Reads `size` bytes at `offset` of `fd` into `buffer`; false when they are not all there.
bool readAt(int fd, qint64 offset, QByteArray& buffer, qint64 size);
// The little-endian number of `bytes` bytes at `at`.
quint64 little(const unsigned char* at, int bytes);
inline const unsigned char* bytesOf(const QByteArray& data)
{
    return reinterpret_cast<const unsigned char*>(data.constData());
}
// The ZIP64 extra field replaces, in order, those of `fields` that hold the 32-bit marker.
void takeZip64Sizes(const unsigned char* extra, qint64 length, std::initializer_list<quint64*> fields);

// Whether the file starts as a ZIP package does.
bool startsAsPackage(int fd);
// Where the directory lies. Nothing, with `refusal` set, when readings of the end
// records disagree; nothing, and no refusal, when there is no directory to find.
std::optional<Location> find(int fd, qint64 fileSize, QString& refusal);
// The directory's entries, or nothing when they do not fit in it or it is larger
// than `largestDirectory` bytes.
std::optional<QList<Entry>> entries(int fd, const Location& location, qint64 largestDirectory);

// Where the data of `entry` begins, past its local header; nothing when no local
// header is there.
std::optional<qint64> dataOffset(int fd, const Entry& entry);
// Unpacks a stored or deflated part and hands its bytes to `take` piece by piece, until
// `take` says no more. True when the whole part came out as its directory entry says
// (its size and checksum); false when it is damaged, encrypted or packed otherwise, or
// `take` stopped early.
bool unpackInPieces(int fd, const Entry& entry, const std::function<bool(const char*, qsizetype)>& take);
// The unpacked bytes of a part of at most `largest` bytes, or a null array when it is
// larger or cannot be unpacked whole.
QByteArray unpack(int fd, const Entry& entry, quint64 largest);
// The first `bytes` bytes a part unpacks to (fewer when it is shorter or damaged).
QByteArray unpackHead(int fd, const Entry& entry, qsizetype bytes);

} // namespace ZipDirectory
