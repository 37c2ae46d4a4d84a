#pragma once

#include "engine/files/LocalFileName.h"

#include <QByteArray>
#include <QString>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

// Files and folders whose names are given as the bytes Linux stores, so tests can
// make names that are not UTF-8 (which Qt's own file classes cannot reach).
namespace ByteNames {

// "caf\xE9": Latin-1 e-acute, not valid UTF-8.
inline const QByteArray Latin1Cafe("caf\xE9");

// Removes a tree made with such names at the end of a test: QTemporaryDir cannot.
class RemovedAtEnd {
public:
    explicit RemovedAtEnd(QByteArray bytes) : bytes(std::move(bytes)) {}
    RemovedAtEnd(const RemovedAtEnd&) = delete;
    RemovedAtEnd& operator=(const RemovedAtEnd&) = delete;
    ~RemovedAtEnd()
    {
        std::error_code ignored;
        std::filesystem::remove_all(bytes.toStdString(), ignored);
    }

private:
    QByteArray bytes;
};

inline QString path(const QByteArray& bytes)
{
    return LocalFileName::decode(bytes);
}

inline bool makeFolder(const QByteArray& bytes)
{
    return ::mkdir(bytes.constData(), 0700) == 0;
}

inline bool writeFile(const QByteArray& bytes, const QByteArray& content = "document")
{
    const int fd = ::open(bytes.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    return ::close(fd) == 0 && written;
}

inline QByteArray readFile(const QByteArray& bytes)
{
    QByteArray content;
    const int fd = ::open(bytes.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return "<missing>";
    char buffer[4096];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        content.append(buffer, got);
    ::close(fd);
    return content;
}

inline bool isFifo(const QByteArray& bytes)
{
    struct stat status {};
    return ::lstat(bytes.constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

} // namespace ByteNames
