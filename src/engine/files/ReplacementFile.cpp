#include "engine/files/ReplacementFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Locks the file; false when a sweep of dead runs' temporaries removed it between its
// creation and the lock (a dead run's lock is gone with it, whatever PID namespace it
// ran in, so such a sweep removes only the files it can lock).
bool lockFile(int file)
{
    while (flock(file, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat status {};
    return fstat(file, &status) != 0 || status.st_nlink > 0;
}

} // namespace

ReplacementFile::ReplacementFile(int folder, const std::function<QByteArray()>& freshName, bool locked)
    : folder(folder)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = freshName();
        PlainDescriptor created(openat(folder, name.constData(),
                                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666));
        if (created.isValid() && (!locked || lockFile(created.get()))) {
            file = std::move(created);
            if (locked)
                lock = PlainDescriptor(fcntl(file.get(), F_DUPFD_CLOEXEC, 0));
            return;
        }
        if (created.isValid())
            continue; // swept away before it was locked: another name
        if (errno != EEXIST)
            break;
    }
    failure = errno;
    name.clear();
}

ReplacementFile::~ReplacementFile()
{
    if (!name.isEmpty())
        unlinkat(folder, name.constData(), 0);
}

int ReplacementFile::write(const QByteArray& bytes)
{
    return writeEvery(file.get(), bytes) ? 0 : errno;
}

int ReplacementFile::close(bool durable)
{
    if (durable && ::fsync(file.get()) != 0)
        return errno;
    return file.close();
}

int ReplacementFile::replace(const QByteArray& target)
{
    if (renameat(folder, name.constData(), folder, target.constData()) != 0)
        return errno;
    name.clear();
    return 0;
}
