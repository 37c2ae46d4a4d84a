#include "engine/client/HelperTempFolder.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <signal.h>

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
        for (const QString& name : folder.entryList({prefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoSymLinks)) {
            bool isNumber = false;
            const qint64 owner = name.sliced(prefix.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&isNumber);
            // A folder of a program that still runs (or of another user's) stays.
            if (!isNumber || owner <= 0 || kill(pid_t(owner), 0) == 0 || errno != ESRCH)
                continue;
            QDir(folder.filePath(name)).removeRecursively();
        }
    }
}
