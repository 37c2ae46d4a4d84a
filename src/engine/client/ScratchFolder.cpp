#include "engine/client/ScratchFolder.h"

#include "engine/files/LocalFileName.h"

#include <QDir>

#include <linux/magic.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace {

// Room left for everything else that lives in memory: the staged files of a few
// documents are small beside it.
constexpr qint64 spareRoomNeeded = qint64(1) << 30;

bool suitable(const QString& folder)
{
    if (folder.isEmpty() || !folder.startsWith(QLatin1Char('/')))
        return false;
    const QByteArray path = LocalFileName::encode(folder);
    struct statfs status {};
    return statfs(path.constData(), &status) == 0 && status.f_type == TMPFS_MAGIC
           && qint64(status.f_bavail) * qint64(status.f_bsize) >= spareRoomNeeded
           && access(path.constData(), W_OK | X_OK) == 0;
}

} // namespace

bool isInMemory(const QString& folder)
{
    struct statfs status {};
    return statfs(LocalFileName::encode(folder).constData(), &status) == 0 && status.f_type == TMPFS_MAGIC;
}

QString scratchFolder()
{
    const QString temporary = QDir::tempPath();
    if (!qEnvironmentVariableIsEmpty("TMPDIR") || isInMemory(temporary))
        return temporary;
    for (const QString& candidate : {qEnvironmentVariable("XDG_RUNTIME_DIR"), QStringLiteral("/dev/shm")})
        if (suitable(candidate))
            return candidate;
    return temporary;
}
