#include "engine/client/ScratchFolder.h"

#include "engine/files/LocalFileName.h"

#include <QDir>

#include <optional>

#include <linux/magic.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace {

// Room left for everything else that lives in memory: the staged files of a few
// documents are small beside it.
constexpr qint64 spareRoomNeeded = qint64(1) << 30;

// The file system `folder` lies on, when it is one kept in memory (tmpfs).
std::optional<struct statfs> inMemory(const QString& folder)
{
    struct statfs status {};
    if (statfs(LocalFileName::encode(folder).constData(), &status) != 0 || status.f_type != TMPFS_MAGIC)
        return std::nullopt;
    return status;
}

bool suitable(const QString& folder)
{
    if (!folder.startsWith(QLatin1Char('/')))
        return false;
    const std::optional<struct statfs> status = inMemory(folder);
    return status && qint64(status->f_bavail) * qint64(status->f_bsize) >= spareRoomNeeded
           && access(LocalFileName::encode(folder).constData(), W_OK | X_OK) == 0;
}

} // namespace

QString scratchFolder()
{
    const QString temporary = QDir::tempPath();
    if (!qEnvironmentVariableIsEmpty("TMPDIR") || inMemory(temporary))
        return temporary;
    for (const QString& candidate : {qEnvironmentVariable("XDG_RUNTIME_DIR"), QStringLiteral("/dev/shm")})
        if (suitable(candidate))
            return candidate;
    return temporary;
}
