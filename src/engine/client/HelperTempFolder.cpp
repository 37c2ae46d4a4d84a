#include "engine/client/HelperTempFolder.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <signal.h>

namespace {

// Named after the program's process, which is the one that cleans up.
constexpr QLatin1StringView Prefix("varnello-lok-");

} // namespace

HelperTempFolder::HelperTempFolder()
    : folder(QDir::tempPath() + QLatin1Char('/') + Prefix + QString::number(QCoreApplication::applicationPid())
             + QStringLiteral("-XXXXXX"))
{
}

QProcessEnvironment HelperTempFolder::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (folder.isValid())
        environment.insert(QStringLiteral("TMPDIR"), folder.path());
    return environment;
}

void removeStaleHelperTempFolders()
{
    QDir temporary(QDir::tempPath());
    for (const QString& name : temporary.entryList({Prefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoSymLinks)) {
        bool isNumber = false;
        const qint64 owner = name.sliced(Prefix.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&isNumber);
        // A folder of a program that still runs (or of another user's) stays.
        if (!isNumber || owner <= 0 || kill(pid_t(owner), 0) == 0 || errno != ESRCH)
            continue;
        QDir(temporary.filePath(name)).removeRecursively();
    }
}
