#include "run/OutputFolders.h"

#include "engine/files/LocalFileName.h"
#include "engine/web/OutputFiles.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// Opens the folder `name` in `parent`, making it when missing; never through a link.
int openOrMakeFolder(int parent, const QByteArray& name)
{
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    const int folder = openat(parent, name.constData(), flags);
    if (folder >= 0 || errno != ENOENT)
        return folder;
    if (mkdirat(parent, name.constData(), 0777) != 0 && errno != EEXIST)
        return -1;
    return openat(parent, name.constData(), flags);
}

// A path that reaches the folder open at `folder` itself, whatever has become of its
// name; the name when /proc cannot offer one.
QString pathThrough(int folder, const QString& name)
{
    const QString path = QStringLiteral("/proc/self/fd/%1/").arg(folder);
    struct stat held {}, reached {};
    if (fstat(folder, &held) == 0 && stat(path.toLatin1().constData(), &reached) == 0
        && held.st_dev == reached.st_dev && held.st_ino == reached.st_ino)
        return path;
    return name;
}

} // namespace

OutputFolders::OutputFolders(QString root) : root(std::move(root))
{
    const QByteArray path = LocalFileName::encode(this->root);
    const int folder = opened.try_emplace(QString(), open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
                           .first->second.get();
    if (folder >= 0)
        removeDeadTemporaries(folder);
}

std::optional<QString> OutputFolders::lostReason() const
{
    // Below this, no page of any size fits: the run would only fail document after document.
    constexpr unsigned long long NearlyFull = 1024 * 1024;
    const int folder = opened.at(QString()).get();
    struct stat held {}, named {};
    if (folder < 0 || fstat(folder, &held) != 0)
        return QStringLiteral("it cannot be reached (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
    const QByteArray path = LocalFileName::encode(root);
    if (held.st_nlink == 0 || stat(path.constData(), &named) != 0 || named.st_dev != held.st_dev
        || named.st_ino != held.st_ino)
        return QStringLiteral("it has been removed or moved");
    if (faccessat(folder, ".", W_OK, AT_EACCESS) != 0)
        return QStringLiteral("it cannot be written (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
    struct statvfs space {};
    if (fstatvfs(folder, &space) == 0 && static_cast<unsigned long long>(space.f_bavail) * space.f_frsize < NearlyFull)
        return QStringLiteral("it is full");
    return std::nullopt;
}

OutputFolders::Place OutputFolders::enter(const QString& subfolder)
{
    if (subfolder.isEmpty())
        return {root, root, {}};
    const QString shown = root + subfolder + QLatin1Char('/');
    QString problem;
    const int folder = descriptorOf(subfolder, problem);
    if (folder < 0)
        return {{}, {}, problem};
    return {shown, pathThrough(folder, shown), {}};
}

int OutputFolders::descriptorOf(const QString& subfolder, QString& problem)
{
    if (const auto found = opened.find(subfolder); found != opened.end())
        return found->second.get();
    const qsizetype slash = subfolder.lastIndexOf(QLatin1Char('/'));
    const int parent = descriptorOf(slash < 0 ? QString() : subfolder.left(slash), problem);
    if (parent < 0) {
        if (problem.isEmpty())
            problem = QStringLiteral("the output folder %1 cannot be opened.").arg(root);
        return -1;
    }
    const int folder = openOrMakeFolder(parent, LocalFileName::encode(subfolder.mid(slash + 1)));
    if (folder < 0) {
        const int error = errno;
        const QString shown = root + subfolder;
        problem = error == ELOOP || error == ENOTDIR
                      ? QStringLiteral("%1 is a symbolic link or a file, not a folder; nothing is written "
                                       "through it.")
                            .arg(shown)
                      : QStringLiteral("the output folder %1 cannot be created (%2).")
                            .arg(shown, QString::fromLocal8Bit(std::strerror(error)));
        return -1;
    }
    opened.try_emplace(subfolder, folder);
    removeDeadTemporaries(folder);
    return folder;
}
