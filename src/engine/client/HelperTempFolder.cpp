#include "engine/client/HelperTempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <signal.h>
#include <unistd.h>

namespace {

// Named after the program's process, which is the one that cleans up.
constexpr QLatin1StringView HelperPrefix("varnello-lok-");
constexpr QLatin1StringView StagingPrefix("varnello-staging-");

QString folderTemplate(const QString& base, QLatin1StringView prefix)
{
    return base + QLatin1Char('/') + prefix + QString::number(QCoreApplication::applicationPid())
           + QStringLiteral("-XXXXXX");
}

} // namespace

HelperTempFolder::HelperTempFolder(const QString& base) : folder(folderTemplate(base, HelperPrefix))
{
}

QString stagingFolderTemplate(const QString& base)
{
    return folderTemplate(base, StagingPrefix);
}

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
    for (QLatin1StringView prefix : {HelperPrefix, StagingPrefix}) {
        for (const QFileInfo& entry : folder.entryInfoList({prefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoSymLinks)) {
            bool isNumber = false;
            const qint64 program = entry.fileName().sliced(prefix.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&isNumber);
            // A folder of a program that still runs stays; so does one that is not the
            // user's own, which another user may have placed in a shared folder.
            if (!isNumber || program <= 0 || entry.ownerId() != getuid() || kill(pid_t(program), 0) == 0 || errno != ESRCH)
                continue;
            QDir(entry.filePath()).removeRecursively();
        }
    }
}
