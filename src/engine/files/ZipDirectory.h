#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <initializer_list>
#include <optional>

// The directory of a ZIP package (.docx, .docm, ...) read as LibreOffice reads it: the
// last end record within the final bytes, then the directory that ends where that
// record begins (its start is the record's position minus the directory's size,
// whatever offset the record stores). Every read is bounded by the file and by what
// the caller allows, so a hostile package costs no more than a sane one.
namespace ZipDirectory {

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

} // namespace ZipDirectory
