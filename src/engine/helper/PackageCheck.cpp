#include "PackageCheck.h"

#include "engine/files/LocalFileName.h"

#include <QLocale>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

quint64 little(const unsigned char* at, int bytes)
{
    quint64 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

bool readAt(int fd, qint64 offset, QByteArray& buffer, qint64 size)
{
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

struct Entry {
    quint64 packed = 0;
    quint64 unpacked = 0;
};

// The central directory: where it starts and how many entries it has, from the end records.
bool findDirectory(int fd, qint64 fileSize, qint64& start, qint64& length, quint64& count)
{
    const qint64 tail = std::min<qint64>(fileSize, 22 + 0xFFFF);
    QByteArray end;
    if (!readAt(fd, fileSize - tail, end, tail))
        return false;
    const qsizetype record = end.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (record < 0 || end.size() - record < 22)
        return false;
    const auto* e = reinterpret_cast<const unsigned char*>(end.constData()) + record;
    count = little(e + 10, 2);
    length = qint64(little(e + 12, 4));
    start = qint64(little(e + 16, 4));
    if (count == 0xFFFF || length == 0xFFFFFFFF || start == 0xFFFFFFFF) {
        // ZIP64: its locator sits just before the end record.
        const qsizetype locator = record - 20;
        if (locator < 0 || end.mid(locator, 4) != QByteArray("PK\x06\x07", 4))
            return false;
        QByteArray end64;
        if (!readAt(fd, qint64(little(e - 20 + 8, 8)), end64, 56) || !end64.startsWith(QByteArray("PK\x06\x06", 4)))
            return false;
        const auto* z = reinterpret_cast<const unsigned char*>(end64.constData());
        count = little(z + 32, 8);
        length = qint64(little(z + 40, 8));
        start = qint64(little(z + 48, 8));
    }
    return start >= 0 && length >= 0 && start + length <= fileSize;
}

} // namespace

QString checkPackageSize(const QString& path, const PackageLimits& limits)
{
    const int fd = open(LocalFileName::encode(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const auto closer = qScopeGuard([fd] { close(fd); });
    struct stat status {};
    QByteArray head;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || !readAt(fd, 0, head, 4)
        || head != QByteArray("PK\x03\x04", 4))
        return {};
    qint64 start = 0;
    qint64 length = 0;
    quint64 count = 0;
    // A package whose directory cannot be found is LibreOffice's to judge (and refuse).
    if (!findDirectory(fd, status.st_size, start, length, count))
        return {};
    if (count > quint64(limits.maximumParts))
        return QStringLiteral("it holds %1 parts, more than a document can sensibly have").arg(count);

    QByteArray directory;
    if (!readAt(fd, start, directory, length))
        return {};
    const auto* at = reinterpret_cast<const unsigned char*>(directory.constData());
    const auto* end = at + directory.size();
    quint64 total = 0;
    while (end - at >= 46 && little(at, 4) == 0x02014b50) {
        Entry entry{little(at + 20, 4), little(at + 24, 4)};
        const quint64 nameLength = little(at + 28, 2);
        const quint64 extraLength = little(at + 30, 2);
        const quint64 commentLength = little(at + 32, 2);
        if (quint64(end - at) < 46 + nameLength + extraLength + commentLength)
            break;
        // ZIP64 sizes replace the 32-bit ones that are all ones, unpacked size first.
        for (const unsigned char* extra = at + 46 + nameLength; extra + 4 <= at + 46 + nameLength + extraLength;) {
            const quint64 id = little(extra, 2);
            const quint64 size = little(extra + 2, 2);
            const unsigned char* field = extra + 4;
            if (id == 1) {
                if (entry.unpacked == 0xFFFFFFFF && size >= 8)
                    entry.unpacked = little(field, 8), field += 8;
                if (entry.packed == 0xFFFFFFFF && field + 8 <= extra + 4 + size)
                    entry.packed = little(field, 8);
            }
            extra += 4 + size;
        }
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(at + 46), qsizetype(nameLength));
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
        at += 46 + nameLength + extraLength + commentLength;
    }
    return {};
}
