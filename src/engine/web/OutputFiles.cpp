#include "engine/web/OutputFiles.h"

#include "engine/files/LocalFileName.h"
#include "engine/files/PlainDescriptor.h"
#include "engine/files/ReplacementFile.h"

#include <QDir>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <optional>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString reason(int error)
{
    if (error == ENOSPC || error == EDQUOT)
        return QStringLiteral("the disk is full");
    return QString::fromLocal8Bit(std::strerror(error));
}

QString failure(const QString& path, int error)
{
    return QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(path), reason(error));
}

QByteArray temporaryName()
{
    return TemporaryOutputPrefix + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// Creates a fresh folder under a temporary name in `folder`; never reuses one.
PlainDescriptor createTemporaryFolder(int folder, QByteArray& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName();
        if (mkdirat(folder, name.constData(), 0777) == 0)
            return PlainDescriptor(openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (errno != EEXIST)
            break;
    }
    name.clear();
    return PlainDescriptor();
}

// Creates `name` in `folder` and fills it; errno on failure, with nothing left behind.
int writeNewFile(int folder, const QByteArray& name, const QByteArray& data)
{
    PlainDescriptor file(openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.isValid())
        return errno;
    int error = writeEvery(file.get(), data) ? 0 : errno;
    if (const int closed = file.close(); error == 0)
        error = closed;
    if (error != 0)
        unlinkat(folder, name.constData(), 0);
    return error;
}

// Removes `name` from `folder`: a file or link itself, a folder with all it holds.
// Links inside are removed, never followed.
void removeTree(int folder, const QByteArray& name)
{
    if (unlinkat(folder, name.constData(), 0) == 0 || (errno != EISDIR && errno != EPERM))
        return;
    const int fd = openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    if (DIR* listing = fdopendir(fd)) {
        QList<QByteArray> entries;
        while (const dirent* entry = readdir(listing))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                entries.append(entry->d_name);
        for (const QByteArray& entry : entries)
            removeTree(dirfd(listing), entry);
        closedir(listing);
    } else {
        ::close(fd);
    }
    unlinkat(folder, name.constData(), AT_REMOVEDIR);
}

// Word refuses to save over a read-only file. Root may write anything, so the mode bits
// decide for root; anyone else is asked about as the kernel would answer.
bool isReadOnly(int folder, const QByteArray& name, const struct stat& status)
{
    if ((status.st_mode & 0222) == 0)
        return true;
    return geteuid() != 0 && faccessat(folder, name.constData(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

// What stands at `name`: 0 when nothing, else its mode.
mode_t existing(int folder, const QByteArray& name)
{
    struct stat status {};
    return fstatat(folder, name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0 ? status.st_mode : 0;
}

// Undoes a save that has not been committed: its temporary files go.
struct PendingOutput {
    int folder;
    // The temporary page, locked until it is renamed into place or removed: a run that
    // sweeps the temporaries of dead runs leaves it alone.
    std::optional<ReplacementFile> page;
    QByteArray companion; // temporary picture folder
    ~PendingOutput()
    {
        page.reset();
        if (!companion.isEmpty())
            removeTree(folder, companion);
    }
};

// The names of one output: as the file system stores them, and as messages show them.
struct OutputNames {
    QByteArray folderPath;
    QByteArray pageName;
    QByteArray companionName; // empty when the page has no picture folder of its own
    QString pageShown;
    QString companionShown;
};

OutputNames outputNames(const OutputFiles& output)
{
    const QByteArray path = LocalFileName::encode(output.pagePath);
    const qsizetype slash = path.lastIndexOf('/');
    OutputNames names;
    names.folderPath = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    names.pageName = path.mid(slash + 1);
    names.pageShown = output.pagePath;
    names.companionShown = LocalFileName::decode(names.folderPath) + QLatin1Char('/') + output.companionName;
    names.companionName = LocalFileName::encode(output.companionName);
    return names;
}

// Why the output cannot go into `folder`, or nothing; notes what stands where the
// picture folder goes (see existing).
QString obstacleTo(int folder, const OutputNames& names, mode_t& companionBefore)
{
    struct stat status {};
    if (fstatat(folder, names.pageName.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(status.st_mode))
            return QStringLiteral("%1 (a folder of that name is in the way)").arg(QDir::toNativeSeparators(names.pageShown));
        if (S_ISREG(status.st_mode) && isReadOnly(folder, names.pageName, status))
            return QStringLiteral("%1 is read-only, so it is not replaced").arg(QDir::toNativeSeparators(names.pageShown));
    }
    companionBefore = names.companionName.isEmpty() ? 0 : existing(folder, names.companionName);
    if (S_ISREG(companionBefore))
        return QStringLiteral("%1 (a file of that name is in the way of the picture folder)")
            .arg(QDir::toNativeSeparators(names.companionShown));
    return {};
}

// Writes the picture folder and the page under temporary names; why not, or nothing.
QString writeTemporaries(const OutputFiles& output, const OutputNames& names, bool withCompanion,
                         PendingOutput& pending)
{
    if (withCompanion) {
        const PlainDescriptor pictures = createTemporaryFolder(pending.folder, pending.companion);
        if (!pictures.isValid())
            return failure(names.companionShown, errno);
        for (const CompanionFile& file : output.companionFiles)
            if (const int error = writeNewFile(pictures.get(), LocalFileName::encode(file.name), file.data))
                return failure(names.companionShown + QLatin1Char('/') + file.name, error);
    }
    ReplacementFile& page = pending.page.emplace(pending.folder, temporaryName, true);
    if (!page.isValid())
        return failure(names.pageShown, page.error());
    int error = page.write(output.page);
    if (const int closed = page.close(false); error == 0)
        error = closed;
    if (error != 0)
        return failure(names.pageShown, error);
    return {};
}

// The old picture folder steps aside, the new one and the page move in; the old one
// comes back when they cannot.
QString commitOutput(const OutputNames& names, mode_t companionBefore, bool withCompanion, PendingOutput& pending)
{
    const int folder = pending.folder;
    QByteArray oldCompanion;
    if (companionBefore != 0) {
        oldCompanion = temporaryName();
        if (renameat(folder, names.companionName.constData(), folder, oldCompanion.constData()) != 0)
            return failure(names.companionShown, errno);
    }
    const auto restoreOldCompanion = [&] {
        if (!oldCompanion.isEmpty())
            renameat(folder, oldCompanion.constData(), folder, names.companionName.constData());
    };
    if (!pending.companion.isEmpty()) {
        if (renameat2(folder, pending.companion.constData(), folder, names.companionName.constData(), RENAME_NOREPLACE)
            != 0) {
            const int error = errno;
            restoreOldCompanion();
            return failure(names.companionShown, error);
        }
        pending.companion.clear();
    }
    if (const int error = pending.page->replace(names.pageName); error != 0) {
        if (withCompanion)
            removeTree(folder, names.companionName);
        restoreOldCompanion();
        return failure(names.pageShown, error);
    }
    if (!oldCompanion.isEmpty())
        removeTree(folder, oldCompanion);
    return {};
}

} // namespace

QString writeOutputFiles(const OutputFiles& output)
{
    const OutputNames names = outputNames(output);
    // The folder itself is the user's choice, links and all; what goes into it is not.
    const PlainDescriptor folder(open(names.folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isValid())
        return failure(names.pageShown, errno);
    mode_t companionBefore = 0;
    if (QString obstacle = obstacleTo(folder.get(), names, companionBefore); !obstacle.isEmpty())
        return obstacle;
    const bool withCompanion = !names.companionName.isEmpty() && !output.companionFiles.isEmpty();
    PendingOutput pending{folder.get(), std::nullopt, {}};
    if (QString error = writeTemporaries(output, names, withCompanion, pending); !error.isEmpty())
        return error;
    return commitOutput(names, companionBefore, withCompanion, pending);
}
