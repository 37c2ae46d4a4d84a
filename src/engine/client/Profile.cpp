#include "engine/client/Profile.h"

#include <QDir>

LibreOfficeProfile::LibreOfficeProfile(const QString& root)
{
    error = lockFreeSet(root);
    if (!error.isEmpty())
        fallBackToTemporary();
}

bool LibreOfficeProfile::fallBackToTemporary()
{
    if (temporary)
        return false;
    lock.reset();
    base.clear();
    temporary.emplace(QDir::tempPath() + QStringLiteral("/varnello-profile-XXXXXX"));
    if (temporary->isValid()) {
        base = temporary->path();
        return true;
    }
    error += QStringLiteral(", and no temporary folder can be made in %1").arg(QDir::tempPath());
    return false;
}

QString LibreOfficeProfile::lockFreeSet(const QString& root)
{
    if (!QDir().mkpath(root))
        return QStringLiteral("the folder %1 cannot be created").arg(root);
    for (int set = 0; set < 32; ++set) {
        const QString candidate = root + QStringLiteral("/libreoffice-%1").arg(set);
        auto candidateLock = std::make_unique<QLockFile>(candidate + QStringLiteral(".lock"));
        // Only a lock of a process that no longer runs is stale, however old it is.
        candidateLock->setStaleLockTime(0);
        if (candidateLock->tryLock(0)) {
            lock = std::move(candidateLock);
            base = candidate;
            return {};
        }
        if (candidateLock->error() == QLockFile::PermissionError)
            return QStringLiteral("the folder %1 is not writable").arg(root);
    }
    return QStringLiteral("every profile folder in %1 is in use").arg(root);
}

QString LibreOfficeProfile::folder(int slot) const
{
    return base + QStringLiteral("/profile-%1").arg(slot);
}
