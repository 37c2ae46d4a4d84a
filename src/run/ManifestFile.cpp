#include "run/ManifestFile.h"

#include "run/TreeAccess.h"

#include <QDateTime>

#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace {

// Far beyond what a million pages need; a larger file is no manifest of ours.
constexpr qint64 LargestManifest = 256LL * 1024 * 1024;

bool exists(int folder, const char* name)
{
    struct stat status {};
    return fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) == 0;
}

} // namespace

LoadedManifest loadManifest(int folder)
{
    LoadedManifest loaded;
    if (!exists(folder, RunManifest::FileName))
        return loaded;
    const std::optional<QByteArray> text = TreeAccess::readStart(folder, RunManifest::FileName, LargestManifest + 1);
    if (text && text->size() <= LargestManifest) {
        if (std::optional<RunManifest> manifest = RunManifest::fromText(*text)) {
            loaded.manifest = std::move(*manifest);
            loaded.state = ManifestState::Read;
            return loaded;
        }
    }
    loaded.state = ManifestState::SetAside;
    const QByteArray setAside = QByteArray(RunManifest::FileName) + ".damaged-"
                                + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")).toLatin1();
    // RENAME_NOREPLACE: an earlier one set aside in the same millisecond stays as well.
    if (renameat2(folder, RunManifest::FileName, folder, setAside.constData(), RENAME_NOREPLACE) == 0)
        loaded.setAsideAs = QString::fromLatin1(setAside);
    else
        loaded.problem = QString::fromLocal8Bit(std::strerror(errno));
    return loaded;
}

QString saveManifest(int folder, const RunManifest& manifest)
{
    return TreeAccess::replaceFile(folder, RunManifest::FileName, manifest.toText());
}

OutputFolderLock::OutputFolderLock(int folder)
    : lockFile(openat(folder, ".varnello.lock", O_RDWR | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666))
{
}

OutputFolderLock::Attempt OutputFolderLock::tryTake()
{
    if (!lockFile.isValid())
        return Attempt::Failed;
    if (flock(lockFile.get(), LOCK_EX | LOCK_NB) == 0)
        return Attempt::Taken;
    return errno == EWOULDBLOCK ? Attempt::Busy : Attempt::Failed;
}
