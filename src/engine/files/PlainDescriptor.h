#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cerrno>
#include <unistd.h>
#include <utility>

// A file descriptor that is closed when it goes, for code that works below Qt's file
// classes (names as bytes, system calls Qt does not offer). The program's one owner
// of plain descriptors: the engine, the helper and the front ends all use this one.
class PlainDescriptor {
public:
    PlainDescriptor() = default; // holds none
    explicit PlainDescriptor(int fd) : fd(fd) {}
    ~PlainDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    PlainDescriptor(const PlainDescriptor&) = delete;
    PlainDescriptor& operator=(const PlainDescriptor&) = delete;
    PlainDescriptor(PlainDescriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    PlainDescriptor& operator=(PlainDescriptor&& other) noexcept
    {
        if (this != &other) {
            if (fd >= 0)
                ::close(fd);
            fd = std::exchange(other.fd, -1);
        }
        return *this;
    }
    int get() const { return fd; }
    bool isValid() const { return fd >= 0; }
    // Closes now, so that a late write error (NFS, quotas) is seen: 0, or errno.
    int close()
    {
        if (fd < 0)
            return EBADF;
        return ::close(std::exchange(fd, -1)) == 0 ? 0 : errno;
    }

private:
    int fd = -1;
};

// Writes all of `data`, going on after signals; allocates nothing, so it serves when
// memory has run out. False with errno set when a write failed. The program's one loop
// that writes a buffer out in full.
inline bool writeEvery(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = EIO; // nothing written and no reason given: it would never end
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

inline bool writeEvery(int fd, const QByteArray& bytes)
{
    return writeEvery(fd, bytes.constData(), bytes.size());
}

// Copies what is left of `from` to `to`: in the kernel where it can (a clone or an
// in-kernel copy), else through a buffer. False with errno set when a read or write failed.
inline bool copyEvery(int from, int to)
{
    for (;;) {
        const ssize_t copied = copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (copied == 0)
            return true;
        if (copied > 0 || errno == EINTR)
            continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return false;
        break;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t read = ::read(from, buffer, sizeof buffer);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            return read == 0;
        if (!writeEvery(to, buffer, read))
            return false;
    }
}
