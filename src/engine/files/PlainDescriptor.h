#pragma once

#include <QtGlobal>

#include <cerrno>
#include <unistd.h>

// A file descriptor that is closed when it goes, for code that works below Qt's file
// classes (names as bytes, system calls Qt does not offer).
class PlainDescriptor {
public:
    explicit PlainDescriptor(int fd) : fd(fd) {}
    ~PlainDescriptor()
    {
        if (fd >= 0)
            close(fd);
    }
    PlainDescriptor(const PlainDescriptor&) = delete;
    PlainDescriptor& operator=(const PlainDescriptor&) = delete;
    int get() const { return fd; }

private:
    int fd;
};

// Writes all of `data`, going on after signals; allocates nothing, so it serves when
// memory has run out. False when a write failed.
inline bool writeEvery(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}
