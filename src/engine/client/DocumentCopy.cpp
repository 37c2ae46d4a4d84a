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
    const auto full = [] { return errno == ENOSPC || errno == EDQUOT; };
    if (!QDir().mkpath(copyFolder)) {
        document.noRoom = full();
        return document;
    }
    const QString copy = copyFolder + QLatin1Char('/') + copyName(documentPath);
    const QByteArray copyBytes = LocalFileName::encode(copy);
    const PlainDescriptor target(open(copyBytes.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (target.get() < 0) {
        document.noRoom = full();
        return document;
    }
    if (!copyEvery(source.get(), target.get())) {
        document.noRoom = full();
        unlink(copyBytes.constData());
        return document;
    }
    document.path = copy;
    return document;
}
