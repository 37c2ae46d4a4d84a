#include "platform/FileSystem.h"

#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <system_error>

namespace fs = std::filesystem;

namespace FileSystem {

EntryKind kindOf(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return EntryKind::Missing;
    std::error_code error;
    const fs::file_status status = fs::status(fs::path(path.toStdString()), error);
    if (error)
        return EntryKind::Missing;
    switch (status.type()) {
    case fs::file_type::directory: return EntryKind::Folder;
    case fs::file_type::regular: return EntryKind::File;
    case fs::file_type::not_found:
    case fs::file_type::none: return EntryKind::Missing;
    default: return EntryKind::Other;
    }
}

QString lastName(const QString& path)
{
    qsizetype end = path.size();
    while (end > 0 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    if (end == 0)
        return {};
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'), end - 1);
    return path.mid(slash + 1, end - slash - 1);
}

bool makeDirectory(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    std::error_code error;
    return fs::create_directory(fs::path(path.toStdString()), error) && !error;
}

namespace {

struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};
using FolderHandle = std::unique_ptr<DIR, FolderCloser>;

// Whether the entry is a regular file, following a link. The entry type the
// listing reports spares a stat for almost every entry.
bool isRegularFile(int folderDescriptor, const dirent& entry)
{
    switch (entry.d_type) {
    case DT_REG: return true;
    case DT_LNK:
    case DT_UNKNOWN: break;
    default: return false;
    }
    struct stat status {};
    if (fstatat(folderDescriptor, entry.d_name, &status, 0) != 0)
        return false; // dangling link, or vanished since it was listed
    return S_ISREG(status.st_mode);
}

} // namespace

Listing plainFiles(const QString& folder, const NameFilter& wanted)
{
    Listing listing;
    if (folder.isEmpty() || folder.contains(QChar(0))) {
        listing.complete = false;
        return listing;
    }
    const FolderHandle handle(opendir(folder.toUtf8().constData()));
    if (!handle) {
        listing.complete = false;
        return listing;
    }
    const int descriptor = dirfd(handle.get());
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(handle.get());
        if (!entry) {
            listing.complete = errno == 0;
            break;
        }
        const std::string_view name(entry->d_name);
        if (name.empty() || name.front() == '.')
            continue; // hidden, and the "." and ".." entries
        if (wanted && !wanted(name))
            continue;
        if (!isRegularFile(descriptor, *entry))
            continue;
        listing.names.append(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    return listing;
}

} // namespace FileSystem
