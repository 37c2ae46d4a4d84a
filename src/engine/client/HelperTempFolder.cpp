#include "engine/client/HelperTempFolder.h"

#include "engine/files/LocalFileName.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr QLatin1StringView HelperPrefix("varnello-lok-");
constexpr QLatin1StringView StagingPrefix("varnello-staging-");
constexpr QLatin1StringView LockName(".owner-lock");
// Earlier versions' command line kept its own folder, with neither lock nor number.
constexpr QLatin1StringView OldCommandLinePrefix("varnello-convert-");

QString folderTemplate(const QString& base, QLatin1StringView prefix)
{
    // The process number only tells people whose folder it is; the lock decides.
    return base + QLatin1Char('/') + prefix + QString::number(QCoreApplication::applicationPid())
           + QStringLiteral("-XXXXXX");
}

PlainDescriptor takeLock(const QTemporaryDir& folder)
{
    if (!folder.isValid())
        return PlainDescriptor();
    const QByteArray path = LocalFileName::encode(folder.filePath(LockName));
    PlainDescriptor lock(open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (lock.isValid() && flock(lock.get(), LOCK_EX | LOCK_NB) != 0)
        return PlainDescriptor();
    return lock;
}

// Whether the owner of a folder is gone: its lock can be had. A folder without a
// lock (made by an older version, or being made right now) goes by its process
// number, and only once it is a minute old.
bool ownerIsGone(const QFileInfo& entry, QLatin1StringView prefix)
{
    const PlainDescriptor lock(open(LocalFileName::encode(entry.filePath() + QLatin1Char('/') + LockName).constData(),
                                    O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (lock.get() >= 0)
        return flock(lock.get(), LOCK_EX | LOCK_NB) == 0;
    const qint64 untouched = entry.lastModified().secsTo(QDateTime::currentDateTime());
    if (errno != ENOENT || untouched < 60)
        return false;
    // A run adds and removes files in its folder all the time.
    if (prefix == OldCommandLinePrefix)
        return untouched > 3600;
    bool isNumber = false;
    const qint64 program = entry.fileName().sliced(prefix.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&isNumber);
    return isNumber && program > 0 && kill(pid_t(program), 0) != 0 && errno == ESRCH;
}

} // namespace

OwnedTemporaryFolder::OwnedTemporaryFolder(const QString& base, QLatin1StringView prefix)
    : folder(folderTemplate(base, prefix)), lock(takeLock(folder))
{
}

HelperTempFolder::HelperTempFolder(const QString& base) : folder(base, HelperPrefix) {}

StagingFolder::StagingFolder(const QString& base) : OwnedTemporaryFolder(base, StagingPrefix) {}

QProcessEnvironment HelperTempFolder::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (folder.isValid())
        environment.insert(QStringLiteral("TMPDIR"), folder.path());
    return environment;
}

void removeStaleHelperFolders(const QString& base)
{
    QDir folder(base);
    for (QLatin1StringView prefix : {HelperPrefix, StagingPrefix, OldCommandLinePrefix}) {
        for (const QFileInfo& entry : folder.entryInfoList({prefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoSymLinks)) {
            // Never another user's folder, which may have been placed in a shared folder.
            if (entry.ownerId() == getuid() && ownerIsGone(entry, prefix))
                QDir(entry.filePath()).removeRecursively();
        }
    }
}
