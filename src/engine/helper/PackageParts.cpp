#include "PackageParts.h"

#include "engine/files/LocalFileName.h"

#include <QSet>
#include <QXmlStreamReader>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

using namespace ZipDirectory;

constexpr qint64 largestDirectory = 16 << 20;
constexpr quint64 largestMarkup = 64 << 20;       // one part's XML
constexpr quint64 largestMarkupTotal = 256 << 20; // all of them

std::optional<QList<Entry>> plainEntries(int fd)
{
    struct stat status {};
    QString refusal;
    if (fstat(fd, &status) != 0 || !startsAsPackage(fd))
        return std::nullopt;
    const std::optional<Location> location = find(fd, status.st_size, refusal);
    std::optional<QList<Entry>> entries = location ? ZipDirectory::entries(fd, *location, largestDirectory) : std::nullopt;
    if (!entries || entries->size() >= 0xFFFF || quint64(status.st_size) >= narrowLimit)
        return std::nullopt;
    QSet<QByteArray> names;
    for (const Entry& entry : *entries) {
        if ((entry.flags & 1) != 0 || (entry.method != 0 && entry.method != 8) || entry.unpacked >= narrowLimit
            || names.contains(entry.name))
            return std::nullopt;
        names.insert(entry.name);
    }
    return entries;
}

// The value of `attribute` on the first `element` of `xml` whose `key` attribute is `value`.
QString attributeWhere(const QByteArray& xml, const QString& element, const QString& key, const QString& value,
                       const QString& attribute)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == element
            && reader.attributes().value(key) == value)
            return reader.attributes().value(attribute).toString();
    return {};
}

} // namespace

std::optional<PackageParts> PackageParts::open(const QString& path)
{
    PlainDescriptor file(::open(LocalFileName::encode(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    std::optional<QList<Entry>> entries = file.isValid() ? plainEntries(file.get()) : std::nullopt;
    if (!entries)
        return std::nullopt;
    return PackageParts(std::move(file), std::move(*entries));
}

const std::optional<QList<QByteArray>>& PackageParts::markup()
{
    if (markupRead)
        return markupText;
    markupRead = true;
    QList<QByteArray> texts;
    quint64 total = 0;
    for (const Entry& entry : parts) {
        if (!entry.name.endsWith(".xml") && !entry.name.endsWith(".vml"))
            continue;
        total += entry.unpacked;
        const QByteArray xml = unpack(file.get(), entry, largestMarkup);
        if (total > largestMarkupTotal || (xml.isNull() && entry.unpacked > 0))
            return markupText;
        texts.append(xml);
    }
    markupText = std::move(texts);
    return markupText;
}

bool PackageParts::anyMarkupContains(std::initializer_list<const char*> words)
{
    const std::optional<QList<QByteArray>>& texts = markup();
    if (!texts)
        return true;
    for (const QByteArray& xml : *texts)
        for (const char* word : words)
            if (xml.contains(word))
                return true;
    return false;
}

bool PackageParts::holdsFields()
{
    // Simple fields, and the instructions of complex ones, in any namespace prefix.
    return anyMarkupContains({"fldSimple", "instrText"});
}

bool PackageParts::mayHideText()
{
    return anyMarkupContains({"vanish", "Vanish", "webHidden"}); // Vanish: specVanish
}

QByteArray PackageParts::part(const char* name, quint64 largest) const
{
    for (const Entry& entry : parts)
        if (entry.name == name)
            return unpack(file.get(), entry, largest);
    return {};
}

QString PackageParts::importFilter(const QString& suffix) const
{
    // LibreOffice takes a package named .docm for one with macros, whatever it holds.
    if (suffix.compare(QLatin1String("docm"), Qt::CaseInsensitive) == 0)
        return {};
    constexpr quint64 largestListing = 1 << 20;
    const QString mainPart = attributeWhere(
        part("_rels/.rels", largestListing), QStringLiteral("Relationship"), QStringLiteral("Type"),
        QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"),
        QStringLiteral("Target"));
    if (mainPart.isEmpty())
        return {};
    const QString partName = mainPart.startsWith('/') ? mainPart : '/' + mainPart;
    const QString type = attributeWhere(part("[Content_Types].xml", largestListing), QStringLiteral("Override"),
                                        QStringLiteral("PartName"), partName, QStringLiteral("ContentType"));
    return type == QLatin1String("application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml")
               ? QStringLiteral("MS Word 2007 XML")
               : QString();
}
