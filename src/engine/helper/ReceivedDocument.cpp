#include "ReceivedDocument.h"

#include "engine/files/DocumentHandover.h"
#include "engine/files/PlainDescriptor.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using LibreOfficeHelperProtocol::HelperError;

namespace {

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool isFull(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

// The staging folder the work folder lies in: what a user must make room in.
QString stagingFolderOf(const QByteArray& copyPath)
{
    // <staging>/<work folder>/<id>/document/<name>
    QByteArray folder = copyPath;
    for (int level = 0; level < 4 && folder.contains('/'); ++level)
        folder.truncate(folder.lastIndexOf('/'));
    return QString::fromLocal8Bit(folder);
}

ReceiveFailure cannotCopy(int error, const QByteArray& copyPath)
{
    if (isFull(error))
        return {HelperError::NoRoom, stagingFolderOf(copyPath)};
    return {HelperError::Unreadable, QStringLiteral("it cannot be copied for LibreOffice: %1").arg(reason(error))};
}

bool makeFolders(const QByteArray& copyPath)
{
    const QByteArray document = copyPath.left(copyPath.lastIndexOf('/'));
    const QByteArray conversion = document.left(document.lastIndexOf('/'));
    for (const QByteArray& folder : {conversion, document})
        if (mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
            return false;
    return true;
}

} // namespace

std::optional<ReceiveFailure> receiveDocumentCopy(int socket, const QByteArray& copyPath)
{
    if (socket < 0)
        return ReceiveFailure{HelperError::BadRequest, QStringLiteral("no document was handed over")};
    const DocumentHandover::Handed handed = DocumentHandover::receive(socket);
    if (handed.descriptor < 0) {
        if (handed.error == ENOENT || handed.error == ENOTDIR)
            return ReceiveFailure{HelperError::Missing, {}};
        return ReceiveFailure{HelperError::Unreadable, reason(handed.error)};
    }
    const PlainDescriptor source(handed.descriptor);
    struct stat status {};
    if (fstat(source.get(), &status) != 0)
        return ReceiveFailure{HelperError::Unreadable, reason(errno)};
    if (!S_ISREG(status.st_mode))
        return ReceiveFailure{HelperError::Unreadable, QStringLiteral("it is not a regular file")};
    // Handed over without blocking; read as a plain file from here on.
    fcntl(source.get(), F_SETFL, fcntl(source.get(), F_GETFL) & ~O_NONBLOCK);
    if (!makeFolders(copyPath))
        return cannotCopy(errno, copyPath);
    const PlainDescriptor copy(open(copyPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (copy.get() < 0)
        return cannotCopy(errno, copyPath);
    if (!copyEvery(source.get(), copy.get())) {
        const int error = errno;
        unlink(copyPath.constData());
        return cannotCopy(error, copyPath);
    }
    return std::nullopt;
}
