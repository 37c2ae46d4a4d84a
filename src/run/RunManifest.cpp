#include "run/RunManifest.h"

#include "engine/files/LocalFileName.h"
#include "run/TreeAccess.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace {

constexpr char FirstLine[] = "varnello manifest 1";
constexpr int FieldCount = 8;

QByteArray encoded(const QString& text)
{
    return LocalFileName::encode(text).toPercentEncoding();
}

QString decoded(const QByteArray& field)
{
    return LocalFileName::decode(QByteArray::fromPercentEncoding(field));
}

QByteArray extensionText(ExtensionLength extension)
{
    return extension == ExtensionLength::Long ? "long" : "short";
}

// A page name this program hands out: a name without blanks or dots, then the
// extension of its format.
bool isOwnPageName(const ManifestEntry& entry)
{
    const QString& extension = outputFormat(entry.format).extension(entry.extension);
    const QString base = entry.page.chopped(qMin(entry.page.size(), extension.size()));
    return entry.page.endsWith(extension) && TreeAccess::isPlainName(base) && !base.contains(QLatin1Char('.'))
           && !base.contains(QLatin1Char(' '));
}

std::optional<ManifestEntry> entryFrom(const QByteArray& line)
{
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() != FieldCount)
        return std::nullopt;
    ManifestEntry entry;
    entry.subfolder = decoded(fields[0]);
    entry.page = decoded(fields[1]);
    entry.source = decoded(fields[2]);
    bool sizeOk = false, timeOk = false, formatOk = false;
    entry.size = fields[3].toLongLong(&sizeOk);
    entry.modifiedNanoseconds = fields[4].toLongLong(&timeOk);
    entry.hash = fields[5];
    const std::optional<WebFormat> format = webFormatFromCode(fields[6].toInt(&formatOk));
    if (!sizeOk || !timeOk || !formatOk || !format || (fields[7] != "short" && fields[7] != "long"))
        return std::nullopt;
    entry.format = *format;
    entry.extension = fields[7] == "long" ? ExtensionLength::Long : ExtensionLength::Short;
    if (!TreeAccess::isPlainSubfolder(entry.subfolder) || !isOwnPageName(entry)
        || !entry.source.startsWith(QLatin1Char('/')))
        return std::nullopt;
    return entry;
}

} // namespace

void RunManifest::record(const ManifestEntry& entry)
{
    pageEntries.removeIf([&](const ManifestEntry& old) {
        return old.path() == entry.path()
               || (old.sameDocument(entry) && old.format == entry.format && old.extension == entry.extension);
    });
    pageEntries.append(entry);
}

void RunManifest::forget(const QString& path)
{
    pageEntries.removeIf([&](const ManifestEntry& entry) { return entry.path() == path; });
}

QByteArray RunManifest::toText() const
{
    QByteArray text = QByteArray(FirstLine) + '\n';
    for (const ManifestEntry& entry : pageEntries) {
        const std::array<QByteArray, FieldCount> fields{
            encoded(entry.subfolder),
            encoded(entry.page),
            encoded(entry.source),
            QByteArray::number(entry.size),
            QByteArray::number(entry.modifiedNanoseconds),
            entry.hash,
            QByteArray::number(int(entry.format)),
            extensionText(entry.extension),
        };
        text += QList<QByteArray>(fields.begin(), fields.end()).join('\t') + '\n';
    }
    return text;
}

std::optional<RunManifest> RunManifest::fromText(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.takeFirst() != FirstLine || !text.endsWith('\n'))
        return std::nullopt;
    lines.removeLast(); // after the last line end
    RunManifest manifest;
    QHash<QString, bool> paths;
    for (const QByteArray& line : std::as_const(lines)) {
        const std::optional<ManifestEntry> entry = entryFrom(line);
        if (!entry || std::exchange(paths[entry->path()], true))
            return std::nullopt;
        manifest.pageEntries.append(*entry);
    }
    return manifest;
}
