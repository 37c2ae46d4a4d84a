#include "engine/web/OutputFiles.h"

#include "engine/files/LocalFileName.h"
#include "engine/files/PlainDescriptor.h"

#include <QDir>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An open descriptor, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        std::swap(fd, other.fd);
        return *this;
    }
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    int get() const { return fd; }
    bool isValid() const { return fd >= 0; }
    // Closes now, so that a late write error (NFS, quotas) is seen; returns errno or 0.
    int close()
    {
        const int result = ::close(std::exchange(fd, -1));
        return result == 0 ? 0 : errno;
    }

private:
    int fd;
};

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

// Locks a temporary file for as long as a descriptor of it stays open. A dead run's
// lock is gone with it, whatever PID namespace it ran in, so a later run removes only
// temporaries it can lock. False when such a sweep removed this one between its
// creation and the lock.
bool lockTemporary(int file)
{
    while (flock(file, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat status {};
    return fstat(file, &status) != 0 || status.st_nlink > 0;
}

// Creates a fresh file or folder under a temporary name in `folder`; never reuses one.
// A file comes locked.
Descriptor createTemporary(int folder, bool directory, QByteArray& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName();
        if (directory) {
            if (mkdirat(folder, name.constData(), 0777) == 0)
                return Descriptor(openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        } else {
            Descriptor file(openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
            if (file.isValid() && lockTemporary(file.get()))
                return file;
            if (file.isValid())
                continue;
        }
        if (errno != EEXIST)
            break;
    }
    name.clear();
    return Descriptor();
}

int writeAll(int fd, const QByteArray& data)
{
    const char* at = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        at += written;
        left -= written;
    }
    return 0;
}

// Creates `name` in `folder` and fills it; errno on failure, with nothing left behind.
int writeNewFile(int folder, const QByteArray& name, const QByteArray& data)
{
    Descriptor file(openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.isValid())
        return errno;
    int error = writeAll(file.get(), data);
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
    QByteArray page;      // temporary page
    QByteArray companion; // temporary picture folder
    Descriptor pageLock;  // keeps the temporary page locked until it is renamed or removed
    ~PendingOutput()
    {
        if (!page.isEmpty())
            unlinkat(folder, page.constData(), 0);
        if (!companion.isEmpty())
            removeTree(folder, companion);
    }
};

} // namespace

QString writeOutputFiles(const OutputFiles& output)
{
    const QByteArray path = LocalFileName::encode(output.pagePath);
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folderPath = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    const QByteArray pageName = path.mid(slash + 1);
    const QString pageShown = output.pagePath;
    const QString companionShown = LocalFileName::decode(folderPath) + QLatin1Char('/') + output.companionName;
    const QByteArray companionName = LocalFileName::encode(output.companionName);

    // The folder itself is the user's choice, links and all; what goes into it is not.
    const Descriptor folder(open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isValid())
        return failure(pageShown, errno);

    struct stat status {};
    if (fstatat(folder.get(), pageName.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(status.st_mode))
            return QStringLiteral("%1 (a folder of that name is in the way)").arg(QDir::toNativeSeparators(pageShown));
        if (S_ISREG(status.st_mode) && isReadOnly(folder.get(), pageName, status))
            return QStringLiteral("%1 is read-only, so it is not replaced").arg(QDir::toNativeSeparators(pageShown));
    }
    const bool ownsCompanion = !companionName.isEmpty();
    const mode_t companionBefore = ownsCompanion ? existing(folder.get(), companionName) : 0;
    if (ownsCompanion && S_ISREG(companionBefore))
        return QStringLiteral("%1 (a file of that name is in the way of the picture folder)")
            .arg(QDir::toNativeSeparators(companionShown));

    PendingOutput pending{folder.get(), {}, {}, Descriptor()};
    if (ownsCompanion && !output.companionFiles.isEmpty()) {
        const Descriptor pictures = createTemporary(folder.get(), true, pending.companion);
        if (!pictures.isValid())
            return failure(companionShown, errno);
        for (const CompanionFile& file : output.companionFiles)
            if (const int error = writeNewFile(pictures.get(), LocalFileName::encode(file.name), file.data))
                return failure(companionShown + QLatin1Char('/') + file.name, error);
    }
    {
        Descriptor page = createTemporary(folder.get(), false, pending.page);
        if (!page.isValid())
            return failure(pageShown, errno);
        // Closing the page below tells of a late write error; the lock must outlive that.
        pending.pageLock = Descriptor(fcntl(page.get(), F_DUPFD_CLOEXEC, 0));
        int error = writeAll(page.get(), output.page);
        if (const int closed = page.close(); error == 0)
            error = closed;
        if (error != 0)
            return failure(pageShown, error);
    }

    // Commit: the old picture folder steps aside, the new one and the page move in.
    QByteArray oldCompanion;
    if (companionBefore != 0) {
        oldCompanion = temporaryName();
        if (renameat(folder.get(), companionName.constData(), folder.get(), oldCompanion.constData()) != 0)
            return failure(companionShown, errno);
    }
    const auto restoreOldCompanion = [&] {
        if (!oldCompanion.isEmpty())
            renameat(folder.get(), oldCompanion.constData(), folder.get(), companionName.constData());
    };
    if (!pending.companion.isEmpty()) {
        if (renameat2(folder.get(), pending.companion.constData(), folder.get(), companionName.constData(),
                      RENAME_NOREPLACE)
            != 0) {
            const int error = errno;
            restoreOldCompanion();
            return failure(companionShown, error);
        }
        pending.companion.clear();
    }
    if (renameat(folder.get(), pending.page.constData(), folder.get(), pageName.constData()) != 0) {
        const int error = errno;
        if (ownsCompanion && !output.companionFiles.isEmpty())
            removeTree(folder.get(), companionName);
        restoreOldCompanion();
        return failure(pageShown, error);
    }
    pending.page.clear();
    if (!oldCompanion.isEmpty())
        removeTree(folder.get(), oldCompanion);
    return {};
}

namespace {

// Removes `name` from `folder` when it is a regular file of this user that nobody
// holds locked: the temporary of a run that died.
void removeWhenDead(int folder, const char* name)
{
    struct stat listed {};
    if (fstatat(folder, name, &listed, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(listed.st_mode)
        || listed.st_uid != geteuid())
        return;
    const Descriptor file(openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isValid() || flock(file.get(), LOCK_EX | LOCK_NB) != 0)
        return;
    // The name may have moved on meanwhile (a live run renamed its page into place).
    struct stat locked {}, named {};
    if (fstat(file.get(), &locked) == 0 && fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0
        && locked.st_dev == named.st_dev && locked.st_ino == named.st_ino && locked.st_uid == geteuid())
        unlinkat(folder, name, 0);
}

} // namespace

void removeDeadTemporaries(int folder)
{
    const int listingDescriptor = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listingDescriptor < 0)
        return;
    DIR* listing = fdopendir(listingDescriptor);
    if (!listing) {
        ::close(listingDescriptor);
        return;
    }
    const size_t prefixLength = std::strlen(TemporaryOutputPrefix);
    QList<QByteArray> names;
    while (const dirent* entry = readdir(listing))
        if (std::strncmp(entry->d_name, TemporaryOutputPrefix, prefixLength) == 0
            && (entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN))
            names.append(entry->d_name);
    closedir(listing);
    for (const QByteArray& name : std::as_const(names))
        removeWhenDead(folder, name.constData());
}

void removeDeadTemporaries(const QString& path)
{
    const PlainDescriptor folder(open(LocalFileName::encode(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        removeDeadTemporaries(folder.get());
}
