#include "run/GonePages.h"

#include "engine/files/LocalFileName.h"
#include "engine/files/PlainDescriptor.h"
#include "run/TreeAccess.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool documentIsGone(const QString& source)
{
    struct stat status {};
    return ::stat(LocalFileName::encode(source).constData(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

// Empties the folder open at `folder`, depth first, entering no link: 0 or errno.
int emptyFolder(int folder)
{
    const int listingDescriptor = fcntl(folder, F_DUPFD_CLOEXEC, 0);
    DIR* listing = listingDescriptor < 0 ? nullptr : fdopendir(listingDescriptor);
    if (!listing) {
        const int failure = errno;
        if (listingDescriptor >= 0)
            ::close(listingDescriptor);
        return failure;
    }
    QList<QByteArray> names;
    while (const dirent* entry = readdir(listing))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.append(entry->d_name);
    closedir(listing);
    for (const QByteArray& name : std::as_const(names)) {
        const PlainDescriptor inner(openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (inner.isValid())
            if (const int failed = emptyFolder(inner.get()))
                return failed;
        if (unlinkat(folder, name.constData(), inner.isValid() ? AT_REMOVEDIR : 0) != 0 && errno != ENOENT)
            return errno;
    }
    return 0;
}

// The picture folder of a web page: removed when it is a real folder.
int removePictureFolder(int folder, const ManifestEntry& entry)
{
    if (entry.format != WebFormat::WebPage)
        return 0;
    const QByteArray name = LocalFileName::encode(entry.page.left(entry.page.lastIndexOf(QLatin1Char('.'))) + "_files");
    const PlainDescriptor pictures(openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!pictures.isValid())
        return errno == ENOENT ? 0 : errno;
    if (const int failed = emptyFolder(pictures.get()))
        return failed;
    return unlinkat(folder, name.constData(), AT_REMOVEDIR) == 0 || errno == ENOENT ? 0 : errno;
}

GonePage removePage(int root, const ManifestEntry& entry)
{
    GonePage gone{entry, false, {}};
    const PlainDescriptor folder = TreeAccess::openFolderBelow(root, entry.subfolder);
    if (!folder.isValid()) {
        gone.removed = errno == ENOENT; // the folder went with it
        if (!gone.removed)
            gone.problem = QStringLiteral("its folder cannot be entered (%1)").arg(systemReason(errno));
        return gone;
    }
    const QByteArray page = LocalFileName::encode(entry.page);
    struct stat status {};
    if (fstatat(folder.get(), page.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(status.st_mode)) {
            gone.problem = QStringLiteral("it is no longer a file this program wrote");
            return gone;
        }
        if (unlinkat(folder.get(), page.constData(), 0) != 0 && errno != ENOENT) {
            gone.problem = systemReason(errno);
            return gone;
        }
    }
    if (const int failed = removePictureFolder(folder.get(), entry)) {
        gone.problem = QStringLiteral("its picture folder stays (%1)").arg(systemReason(failed));
        return gone;
    }
    gone.removed = true;
    return gone;
}

} // namespace

QList<GonePage> removeGonePages(int root, RunManifest& manifest)
{
    QList<GonePage> gonePages;
    for (const ManifestEntry& entry : QList<ManifestEntry>(manifest.entries()))
        if (documentIsGone(entry.source))
            gonePages.append(removePage(root, entry));
    for (const GonePage& gone : std::as_const(gonePages))
        if (gone.removed)
            manifest.forget(gone.entry.path());
    return gonePages;
}
