#include "run/UpdateDecision.h"

#include "engine/files/LocalFileName.h"
#include "run/TreeAccess.h"

#include <QCryptographicHash>
#include <QDir>
#include <QHash>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

QByteArray contentHash(int file)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(file, buffer.data(), size_t(buffer.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {};
        if (got == 0)
            return hash.result().toHex();
        hash.addData(QByteArrayView(buffer.constData(), got));
    }
}

} // namespace

std::optional<DocumentFingerprint> fingerprintOf(const QString& path, bool withHash)
{
    const QByteArray name = LocalFileName::encode(path);
    struct stat status {};
    if (!withHash)
        return ::stat(name.constData(), &status) == 0
                   ? std::optional(DocumentFingerprint{status.st_size, status.st_mtim.tv_sec * 1'000'000'000LL
                                                                           + status.st_mtim.tv_nsec, {}})
                   : std::nullopt;
    const PlainDescriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isValid() || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    DocumentFingerprint fingerprint{status.st_size,
                                    status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec, contentHash(file.get())};
    if (fingerprint.hash.isEmpty())
        return std::nullopt;
    return fingerprint;
}

UpdateDecision::UpdateDecision(const RunManifest& manifest, int root, WebFormat format, ExtensionLength extension)
    : manifest(manifest), root(root), format(format), extension(extension)
{
    for (const ManifestEntry& entry : manifest.entries())
        entriesBySource.insert(entry.source, &entry);
}

const ManifestEntry* UpdateDecision::recordedPage(const QString& source, const QString& subfolder) const
{
    for (auto it = entriesBySource.find(source); it != entriesBySource.end() && it.key() == source; ++it)
        if ((*it)->subfolder == subfolder && (*it)->format == format && (*it)->extension == extension)
            return *it;
    return nullptr;
}

QString UpdateDecision::recordedName(const QString& source, const QString& subfolder) const
{
    for (auto it = entriesBySource.find(source); it != entriesBySource.end() && it.key() == source; ++it)
        if ((*it)->subfolder == subfolder)
            return (*it)->page.left((*it)->page.lastIndexOf(QLatin1Char('.')));
    return {};
}

QString UpdateDecision::absolutePath(const QString& path)
{
    return QDir::cleanPath(path.startsWith(QLatin1Char('/')) ? path : QDir::currentPath() + QLatin1Char('/') + path);
}

UpdatePlan UpdateDecision::decide(const QList<PlannedDocument>& documents, bool skipUpToDate)
{
    UpdatePlan plan;
    QHash<QString, bool> namesGiven; // a document listed twice gets its recorded name once
    for (const ManifestEntry& entry : manifest.entries())
        plan.takenNames << entry.name();
    for (const PlannedDocument& document : documents) {
        const QString source = absolutePath(document.source);
        DocumentFingerprint now;
        if (skipUpToDate && !document.source.isEmpty()) {
            if (std::optional<ManifestEntry> entry = unchangedEntry(document, source, now)) {
                if (!now.hash.isEmpty())
                    plan.refreshed.append(*entry);
                plan.upToDate.append({document, *entry});
                continue;
            }
        }
        PlannedDocument planned = document;
        planned.outputName = recordedName(source, document.outputSubfolder);
        const QString given = document.outputSubfolder + QLatin1Char('/') + planned.outputName;
        if (!planned.outputName.isEmpty() && std::exchange(namesGiven[given], true))
            planned.outputName.clear();
        if (now.hash.isEmpty() && !document.source.isEmpty())
            now = fingerprintOf(document.source, true).value_or(DocumentFingerprint{});
        plan.toConvert.append(planned);
        plan.fingerprints.append(now);
    }
    return plan;
}

std::optional<ManifestEntry> UpdateDecision::unchangedEntry(const PlannedDocument& document, const QString& source,
                                                            DocumentFingerprint& now)
{
    const ManifestEntry* recorded = recordedPage(source, document.outputSubfolder);
    if (!recorded || !pageExists(*recorded))
        return std::nullopt;
    const std::optional<DocumentFingerprint> quick = fingerprintOf(document.source, false);
    if (!quick || quick->size != recorded->size)
        return std::nullopt;
    if (quick->modifiedNanoseconds == recorded->modifiedNanoseconds)
        return *recorded;
    // Touched, copied back or checked out again: the content decides.
    now = fingerprintOf(document.source, true).value_or(DocumentFingerprint{});
    if (now.hash.isEmpty() || now.size != recorded->size || now.hash != recorded->hash)
        return std::nullopt;
    ManifestEntry refreshed = *recorded;
    refreshed.modifiedNanoseconds = now.modifiedNanoseconds;
    return refreshed;
}

bool UpdateDecision::pageExists(const ManifestEntry& entry)
{
    auto found = folders.find(entry.subfolder);
    if (found == folders.end())
        found = folders.emplace(entry.subfolder, TreeAccess::openFolderBelow(root, entry.subfolder)).first;
    struct stat status {};
    return found->second.isValid()
           && fstatat(found->second.get(), LocalFileName::encode(entry.page).constData(), &status,
                      AT_SYMLINK_NOFOLLOW) == 0
           && S_ISREG(status.st_mode);
}
