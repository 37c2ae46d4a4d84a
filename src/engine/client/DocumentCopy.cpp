#include "engine/client/DocumentCopy.h"

#include "engine/files/LocalFileName.h"
#include "engine/files/PlainDescriptor.h"

#include <QDir>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// In the kernel where it can (a clone or an in-kernel copy), else through a buffer.
bool copyContents(int from, int to)
{
    for (;;) {
        const ssize_t copied = copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (copied == 0)
            return true;
        if (copied > 0)
            continue;
        if (errno == EINTR)
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
        if (read < 0)
            return false;
        if (read == 0)
            return true;
        if (!writeEvery(to, buffer, read))
            return false;
    }
}

QString copyName(const QString& documentPath)
{
    const QString name = documentPath.section(QLatin1Char('/'), -1);
    if (LocalFileName::isPlainUtf8(name) && !name.isEmpty() && name != QLatin1String(".."))
        return name;
    // By hand: a regular expression does not match in a name that is not valid text.
    const QString suffix = name.sliced(name.lastIndexOf(QLatin1Char('.')) + 1);
    const bool plain = suffix.size() >= 1 && suffix.size() <= 8 && suffix.size() < name.size()
                       && std::all_of(suffix.begin(), suffix.end(), [](QChar c) {
                              return c.isDigit() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
                          });
    return QStringLiteral("document") + (plain ? QLatin1Char('.') + suffix : QString());
}

} // namespace

QString documentCopyFolder(const QString& folder)
{
    return folder + QStringLiteral("/document");
}

HelperDocument copyDocumentForHelper(const QString& documentPath, const QString& folder)
{
    HelperDocument document{documentPath};
    // Non-blocking, so that a named pipe under a document's name cannot stall the run.
    const PlainDescriptor source(open(LocalFileName::encode(documentPath).constData(),
                                 O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat status {};
    if (source.get() < 0 || fstat(source.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return document;
    document.size = status.st_size;
    if (document.tooLarge())
        return document;
    const QString copyFolder = documentCopyFolder(folder);
    if (!QDir().mkpath(copyFolder))
        return document;
    const QString copy = copyFolder + QLatin1Char('/') + copyName(documentPath);
    const QByteArray copyBytes = LocalFileName::encode(copy);
    const PlainDescriptor target(open(copyBytes.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (target.get() < 0)
        return document;
    if (!copyContents(source.get(), target.get())) {
        unlink(copyBytes.constData());
        return document;
    }
    document.path = copy;
    return document;
}
