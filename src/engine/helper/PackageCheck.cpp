#include "PackageCheck.h"

#include "engine/files/LocalFileName.h"
#include "engine/files/PlainDescriptor.h"
#include "engine/files/ZipDirectory.h"

#include <QLocale>

#include <algorithm>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

// LibreOffice reads a package from its end (see ZipDirectory.h), then each part's data
// after its local header, as much as the directory says it unpacks to. The check reads
// the same places, and refuses a package in which two readings would differ: a tool
// that believes the stored offset, or the local headers, would see other parts than
// LibreOffice does, and so could this check.

namespace {

using namespace ZipDirectory;

QString bytes(qint64 size)
{
    return QLocale::c().formattedDataSize(size, 1, QLocale::DataSizeTraditionalFormat);
}

const QString Untrustworthy = QStringLiteral(", so the sizes its parts claim cannot be trusted");

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
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || !startsAsPackage(fd))
        return {};
    QString refusal;
    const std::optional<Location> directory = find(fd, status.st_size, refusal);
    if (!directory)
        return refusal;
    if (directory->count > quint64(limits.maximumParts))
        return QStringLiteral("it holds %1 parts, more than a document can sensibly have").arg(directory->count);
    // Entries that do not fit their directory make LibreOffice refuse the package.
    const std::optional<QList<Entry>> entries = ZipDirectory::entries(fd, *directory, status.st_size);
    if (!entries)
        return {};
    if (QString tooLarge = checkSizes(*entries, limits); !tooLarge.isEmpty())
        return tooLarge;
    for (const Entry& entry : *entries)
        if (QString disagreement = checkLocalHeader(fd, entry, directory->start); !disagreement.isEmpty())
            return disagreement;
    return {};
}
