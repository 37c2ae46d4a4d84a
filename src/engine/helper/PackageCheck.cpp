#include "PackageCheck.h"

#include "engine/files/LocalFileName.h"
#include "engine/files/PlainDescriptor.h"

#include <QLocale>

#include <algorithm>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

// LibreOffice reads a package from its end: the last end record within the final bytes,
// then the directory that ends where that record begins (its start is the record's
// position minus the directory's size, whatever offset the record stores), then each
// part's data after its local header, as much as the directory says it unpacks to.
// The check reads the same places, and refuses a package in which two readings would
// differ: a tool that believes the stored offset, or the local headers, would see other
// parts than LibreOffice does, and so could this check.

namespace {

constexpr quint64 Marker16 = 0xFFFF;     // in a 16-bit field: the value is in the ZIP64 records
constexpr quint64 Marker32 = 0xFFFFFFFF; // the same for a 32-bit field
constexpr qint64 EndRecordSize = 22;
constexpr qint64 LocatorSize = 20;
constexpr qint64 End64RecordSize = 56;
constexpr qint64 EntrySize = 46;
constexpr qint64 LocalHeaderSize = 30;

quint64 little(const unsigned char* at, int bytes)
{
    quint64 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

const unsigned char* bytesOf(const QByteArray& data)
{
    return reinterpret_cast<const unsigned char*>(data.constData());
}

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

QString bytes(qint64 size)
{
    return QLocale::c().formattedDataSize(size, 1, QLocale::DataSizeTraditionalFormat);
}

const QString Untrustworthy = QStringLiteral(", so the sizes its parts claim cannot be trusted");

// The ZIP64 extra field replaces, in order, those of `fields` that hold the 32-bit marker.
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

struct Directory {
    qint64 start = 0;
    qint64 length = 0;
    quint64 count = 0;
};

// Where the directory lies by the ZIP64 records before the end record at `end`. The
// 32-bit fields that are no markers must say the same, and one at least must be a
// marker, so that a reader without ZIP64 refuses the package rather than reading it
// from the 32-bit fields alone; the directory must end where the ZIP64 record begins.
std::optional<Directory> zip64Directory(int fd, qint64 end, const Directory& narrow, QString& refusal)
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
    const Directory wide{qint64(std::min<quint64>(little(bytesOf(record) + 48, 8), quint64(end))),
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

// The directory as LibreOffice finds it. Nothing, with the refusal, when readings of
// the end records disagree; nothing, and no refusal, when there is no directory to find:
// LibreOffice refuses such a package itself.
std::optional<Directory> findDirectory(int fd, qint64 fileSize, QString& refusal)
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
    const Directory narrow{qint64(little(at + 16, 4)), qint64(little(at + 12, 4)), little(at + 10, 2)};
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

struct Entry {
    QByteArray name;
    quint64 packed = 0;
    quint64 unpacked = 0;
    quint64 localHeader = 0;
};

// The directory's `count` entries, or nothing when they do not fit in it.
std::optional<QList<Entry>> readEntries(const QByteArray& directory, quint64 count)
{
    QList<Entry> entries;
    const unsigned char* at = bytesOf(directory);
    const unsigned char* end = at + directory.size();
    while (quint64(entries.size()) < count) {
        if (end - at < EntrySize || little(at, 4) != 0x02014b50)
            return std::nullopt;
        const qint64 nameLength = qint64(little(at + 28, 2));
        const qint64 extraLength = qint64(little(at + 30, 2));
        const qint64 entryLength = EntrySize + nameLength + extraLength + qint64(little(at + 32, 2));
        if (end - at < entryLength)
            return std::nullopt;
        Entry entry{QByteArray(reinterpret_cast<const char*>(at + EntrySize), nameLength), little(at + 20, 4),
                    little(at + 24, 4), little(at + 42, 4)};
        takeZip64Sizes(at + EntrySize + nameLength, extraLength,
                       {&entry.unpacked, &entry.packed, &entry.localHeader});
        entries.append(entry);
        at += entryLength;
    }
    return entries;
}

// Why the local header of `entry` disagrees with the directory, or nothing when it agrees.
// Its sizes may be left out (zero) only when a data descriptor after the data tells them.
QString checkLocalHeader(int fd, const Entry& entry, qint64 directoryStart)
{
    const QString disagrees = QStringLiteral("the local header of its part %1 disagrees with its ZIP directory")
                                  .arg(QString::fromUtf8(entry.name))
                              + Untrustworthy;
    QByteArray header;
    if (entry.localHeader > quint64(directoryStart)
        || !readAt(fd, qint64(entry.localHeader), header, LocalHeaderSize + entry.name.size())
        || little(bytesOf(header), 4) != 0x04034b50 || little(bytesOf(header) + 26, 2) != quint64(entry.name.size())
        || header.mid(LocalHeaderSize) != entry.name)
        return disagrees;
    const unsigned char* at = bytesOf(header);
    quint64 packed = little(at + 18, 4);
    quint64 unpacked = little(at + 22, 4);
    const qint64 extraLength = qint64(little(at + 28, 2));
    QByteArray extra;
    if (!readAt(fd, qint64(entry.localHeader) + header.size(), extra, extraLength))
        return disagrees;
    takeZip64Sizes(bytesOf(extra), extraLength, {&unpacked, &packed});
    const bool described = (little(at + 6, 2) & 8) != 0 && packed == 0 && unpacked == 0;
    const bool sameSizes = described || (packed == entry.packed && unpacked == entry.unpacked);
    const quint64 dataEnd = entry.localHeader + quint64(header.size() + extraLength) + entry.packed;
    if (!sameSizes || dataEnd > quint64(directoryStart))
        return disagrees;
    return {};
}

// Why parts of these sizes are refused, or nothing.
QString checkSizes(const QList<Entry>& entries, const PackageLimits& limits)
{
    quint64 total = 0;
    for (const Entry& entry : entries) {
        const QString name = QString::fromUtf8(entry.name);
        if (entry.unpacked > quint64(limits.largestPart))
            return QStringLiteral("its part %1 would unpack to %2, more than a document can sensibly hold")
                .arg(name, bytes(qint64(std::min<quint64>(entry.unpacked, quint64(1) << 62))));
        if (entry.unpacked > quint64(limits.suspectPartSize)
            && entry.unpacked / std::max<quint64>(entry.packed, 1) > quint64(limits.suspectRatio))
            return QStringLiteral("its part %1 would unpack from %2 to %3, which only a file made to exhaust "
                                  "memory does")
                .arg(name, bytes(qint64(entry.packed)), bytes(qint64(entry.unpacked)));
        total += entry.unpacked;
        if (total > quint64(limits.total))
            return QStringLiteral("its parts would unpack to more than %1, more than a document can sensibly hold")
                .arg(bytes(limits.total));
    }
    return {};
}

} // namespace

QString checkPackageSize(const QString& path, const PackageLimits& limits)
{
    const PlainDescriptor file(open(LocalFileName::encode(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!file.isValid())
        return {};
    const int fd = file.get();
    struct stat status {};
    QByteArray head;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || !readAt(fd, 0, head, 4)
        || head != QByteArray("PK\x03\x04", 4))
        return {};
    QString refusal;
    const std::optional<Directory> directory = findDirectory(fd, status.st_size, refusal);
    if (!directory)
        return refusal;
    if (directory->count > quint64(limits.maximumParts))
        return QStringLiteral("it holds %1 parts, more than a document can sensibly have").arg(directory->count);
    QByteArray listing;
    if (!readAt(fd, directory->start, listing, directory->length))
        return {};
    // Entries that do not fit their directory make LibreOffice refuse the package.
    const std::optional<QList<Entry>> entries = readEntries(listing, directory->count);
    if (!entries)
        return {};
    if (QString tooLarge = checkSizes(*entries, limits); !tooLarge.isEmpty())
        return tooLarge;
    for (const Entry& entry : *entries)
        if (QString disagreement = checkLocalHeader(fd, entry, directory->start); !disagreement.isEmpty())
            return disagreement;
    return {};
}
