#include "engine/web/OutputFiles.h"

#include "engine/files/LocalFileName.h"
#include "engine/files/PlainDescriptor.h"

#include <QList>

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Removes `name` from `folder` when it is a regular file of this user that nobody
// holds locked: the temporary of a run that died.
void removeWhenDead(int folder, const char* name)
{
    struct stat listed {};
    if (fstatat(folder, name, &listed, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(listed.st_mode)
        || listed.st_uid != geteuid())
        return;
    const PlainDescriptor file(openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 || flock(file.get(), LOCK_EX | LOCK_NB) != 0)
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
