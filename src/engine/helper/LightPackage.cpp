#include "LightPackage.h"

#include "StandInPictures.h"
#include "PackageParts.h"
#include "engine/files/LocalFileName.h"
#include "engine/files/PlainDescriptor.h"

#include <QDir>
#include <QHash>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace {

using namespace ZipDirectory;
using StandInPictures::Type;

constexpr qsizetype pictureHead = 64 << 10;       // where a picture's headers must be

void appendLittle(QByteArray& bytes, quint64 value, int length)
{
    for (int i = 0; i < length; ++i)
        bytes += char((value >> (8 * i)) & 0xFF);
}

// Whether every part's markup shows the pictures as stored (see PictureUse.cpp).
bool markupAllows(PackageParts& package)
{
    const std::optional<QList<QByteArray>>& markup = package.markup();
    return markup && std::all_of(markup->cbegin(), markup->cend(), picturesShownAsStored);
}

// The one part in the written package: its local header and data, and its entry in
// the directory.
class PackageWriter {
public:
    explicit PackageWriter(int fd) : fd(fd) {}

    bool add(const Entry& entry, const std::function<bool(int)>& writeData)
    {
        QByteArray header;
        appendLittle(header, 0x04034b50, 4);
        appendLittle(header, 20, 2);                    // version needed
        appendLittle(header, entry.flags & 0x0800, 2); // names in UTF-8; sizes here
        appendLittle(header, entry.method, 2);
        appendLittle(header, 0, 4); // time and date
        appendLittle(header, entry.crc, 4);
        appendLittle(header, entry.packed, 4);
        appendLittle(header, entry.unpacked, 4);
        appendLittle(header, quint64(entry.name.size()), 2);
        appendLittle(header, 0, 2);
        directory += QByteArray("PK\x01\x02\x14\x00", 6) + header.mid(4, 26) + QByteArray(10, '\0');
        appendLittle(directory, written, 4);
        directory += entry.name;
        ++count;
        written += quint64(header.size() + entry.name.size()) + entry.packed;
        return written < narrowLimit && writeEvery(fd, header + entry.name) && writeData(fd);
    }

    bool finish()
    {
        QByteArray end;
        appendLittle(end, 0x06054b50, 4);
        appendLittle(end, 0, 4);
        appendLittle(end, count, 2);
        appendLittle(end, count, 2);
        appendLittle(end, quint64(directory.size()), 4);
        appendLittle(end, written, 4);
        appendLittle(end, 0, 2);
        return writeEvery(fd, directory + end);
    }

private:
    int fd;
    QByteArray directory;
    quint64 written = 0;
    quint64 count = 0;
};

Entry storedEntry(const Entry& original, const QByteArray& bytes)
{
    Entry entry = original;
    entry.method = 0;
    entry.packed = entry.unpacked = quint64(bytes.size());
    entry.crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size()));
    return entry;
}

bool copyPacked(int from, const Entry& entry, int to)
{
    const std::optional<qint64> dataAt = dataOffset(from, entry);
    QByteArray piece;
    for (quint64 done = 0; dataAt && done < entry.packed;) {
        const qint64 size = qint64(std::min<quint64>(entry.packed - done, 1 << 20));
        if (!readAt(from, *dataAt + qint64(done), piece, size) || !writeEvery(to, piece))
            return false;
        done += quint64(size);
    }
    return dataAt.has_value();
}

} // namespace

LightPackage LightPackage::write(PackageParts& package, const QString& packagePath, const QString& lightPath)
{
    const QList<Entry>& entries = package.entries();
    LightPackage light;
    light.packagePath = packagePath;
    QHash<QByteArray, QByteArray> swapped; // part name -> its stand-in
    for (const Entry& entry : entries) {
        if (!entry.name.startsWith("word/media/") || entry.unpacked < smallestSwapped)
            continue;
        const QByteArray head = unpackHead(package.descriptor(), entry, pictureHead);
        if (!StandInPictures::writtenAsStored(head))
            continue;
        const QByteArray bytes = StandInPictures::standIn(StandInPictures::typeOf(head), int(light.standIns.size()) + 1);
        light.standIns.push_back({bytes, entry});
        swapped.insert(entry.name, bytes);
    }
    if (swapped.isEmpty() || !markupAllows(package))
        return {};
    const QByteArray lightName = LocalFileName::encode(lightPath);
    const PlainDescriptor out(::open(lightName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    PackageWriter writer(out.get());
    bool written = out.isValid();
    for (qsizetype i = 0; written && i < entries.size(); ++i) {
        const Entry& entry = entries.at(i);
        if (const auto standIn = swapped.constFind(entry.name); standIn != swapped.cend())
            written = writer.add(storedEntry(entry, *standIn), [&](int fd) { return writeEvery(fd, *standIn); });
        else
            written = writer.add(entry, [&](int fd) { return copyPacked(package.descriptor(), entry, fd); });
    }
    if (written && writer.finish())
        return light;
    ::unlink(lightName.constData());
    return {};
}

bool LightPackage::restore(const QString& pageFolder) const
{
    QHash<QByteArray, const StandIn*> byBytes;
    for (const StandIn& standIn : standIns)
        byBytes.insert(standIn.bytes, &standIn);
    const std::optional<PackageParts> package = PackageParts::open(packagePath);
    const QStringList files = QDir(pageFolder).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : files) {
        const QByteArray path = LocalFileName::encode(pageFolder + QLatin1Char('/') + name);
        const PlainDescriptor file(::open(path.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW));
        QByteArray bytes;
        struct stat status {};
        if (!file.isValid() || fstat(file.get(), &status) != 0)
            return false;
        if (status.st_size > pictureHead || !readAt(file.get(), 0, bytes, status.st_size))
            continue;
        if (const StandIn* standIn = byBytes.value(bytes)) {
            const bool restored = package && ftruncate(file.get(), 0) == 0
                                  && unpackInPieces(package->descriptor(), standIn->original, [&](const char* data, qsizetype size) {
                                         return writeEvery(file.get(), data, size);
                                     });
            if (!restored)
                return false;
            continue;
        }
        // A picture one pixel high or wide that is no stand-in may be one changed.
        const std::optional<StandInPictures::Size> size = StandInPictures::sizeOf(bytes);
        if (size && (size->width == 1 || size->height == 1))
            return false;
    }
    return true;
}
