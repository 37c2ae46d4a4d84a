#include "engine/client/ConversionCostEstimate.h"

#include "engine/client/ScratchFolder.h"

#include "engine/files/LocalFileName.h"
#include "engine/files/PlainDescriptor.h"
#include "engine/files/ZipDirectory.h"

#include <QRegularExpression>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// A word processor's directory of a few hundred parts takes some ten kilobytes.
constexpr qint64 largestDirectory = qint64(4) << 20;
// docProps/app.xml is a few hundred bytes of counts and names.
constexpr quint64 largestAppXml = 64 << 10;

// What the model charges, in milliseconds of processor time, fitted to a helper's
// times over ordinary documents, 300-page reports, a styles part of thousands of
// styles and fifty photographs. A .doc tells only its size: its first megabytes are
// mostly text, what lies beyond them mostly pictures.
struct Rates {
    static constexpr double perDocument = 200;
    static constexpr double perTextMegabyte = 1200;
    static constexpr double perStyleMegabyte = 1500;
    static constexpr double perPictureMegabyte = 140;
    static constexpr double perPage = 8;
    static constexpr qint64 textOfADoc = qint64(2) << 20;
};

constexpr double megabytes(qint64 bytes)
{
    return double(bytes) / double(1 << 20);
}

int pagesIn(const QByteArray& appXml)
{
    static const QRegularExpression pages(QStringLiteral("<(?:\\w+:)?Pages>\\s*(\\d{1,6})\\s*<"));
    const QRegularExpressionMatch match = pages.match(QString::fromUtf8(appXml));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

void measurePackage(int fd, qint64 fileSize, ConversionCostEstimate::Measures& measures)
{
    QString refusal;
    const std::optional<ZipDirectory::Location> location = ZipDirectory::find(fd, fileSize, refusal);
    const std::optional<QList<ZipDirectory::Entry>> entries =
        location ? ZipDirectory::entries(fd, *location, largestDirectory) : std::nullopt;
    if (!entries)
        return;
    measures.package = true;
    const auto clamp = [](quint64 bytes) { return qint64(std::min<quint64>(bytes, quint64(1) << 40)); };
    for (const ZipDirectory::Entry& entry : *entries) {
        const qint64 unpacked = clamp(entry.unpacked);
        measures.unpackedBytes += unpacked;
        if (entry.name == "word/document.xml")
            measures.textBytes += unpacked;
        else if (entry.name == "word/styles.xml")
            measures.styleBytes += unpacked;
        else if (entry.name.startsWith("word/media/")) {
            measures.pictureBytes += unpacked;
            measures.largestPictureBytes = std::max(measures.largestPictureBytes, unpacked);
        }
        else if (entry.name == "docProps/app.xml")
            measures.pages = pagesIn(ZipDirectory::unpack(fd, entry, largestAppXml));
    }
}

} // namespace

ConversionCostEstimate::Measures ConversionCostEstimate::measure(const QString& documentPath)
{
    Measures measures;
    // Non-blocking, so that a named pipe under a document's name cannot stall the run.
    const PlainDescriptor file(
        open(LocalFileName::encode(documentPath).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat status {};
    if (!file.isValid() || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return measures;
    measures.fileBytes = status.st_size;
    if (ZipDirectory::startsAsPackage(file.get()))
        measurePackage(file.get(), status.st_size, measures);
    return measures;
}

double ConversionCostEstimate::milliseconds() const
{
    if (!measures.package) {
        const qint64 text = std::min(measures.fileBytes, Rates::textOfADoc);
        return Rates::perDocument + Rates::perTextMegabyte * megabytes(text)
               + Rates::perPictureMegabyte * megabytes(measures.fileBytes - text);
    }
    return Rates::perDocument + Rates::perTextMegabyte * megabytes(measures.textBytes)
           + Rates::perStyleMegabyte * megabytes(measures.styleBytes)
           + Rates::perPictureMegabyte * megabytes(measures.pictureBytes) + Rates::perPage * measures.pages;
}

qint64 ConversionCostEstimate::stagedBytes() const
{
    return measures.fileBytes + (measures.package ? measures.unpackedBytes : 2 * measures.fileBytes);
}

qint64 ConversionCostEstimate::memoryBytes() const
{
    // A helper keeps every picture's bytes, but decoded only the few it wrote last (see
    // the helper's profile settings); a photograph decodes to about sixteen times its
    // bytes. A .doc's pictures cannot be told apart: four times their bytes. Text is
    // allowed twenty times its bytes as layout. Fifty photographs of 70 MB raised a
    // helper by some 300 MB.
    constexpr qint64 perTextByte = 20;
    constexpr qint64 perDocPictureByte = 4;
    constexpr qint64 decodedPerPictureByte = 16;
    constexpr qint64 picturesHeldDecoded = 8;
    if (!measures.package) {
        const qint64 text = std::min(measures.fileBytes, Rates::textOfADoc);
        return perTextByte * text + perDocPictureByte * (measures.fileBytes - text);
    }
    const qint64 decoded = decodedPerPictureByte
                           * std::min(measures.pictureBytes, picturesHeldDecoded * measures.largestPictureBytes);
    return perTextByte * measures.textBytes + measures.pictureBytes + decoded;
}

bool ConversionCostEstimate::stagedOnDisk() const
{
    return measures.fileBytes > largestDocumentInMemory;
}
