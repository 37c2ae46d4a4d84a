#include "platform/FileSystem.h"

#include "engine/files/LocalFileName.h"
#include "engine/files/PlainDescriptor.h"
#include "engine/files/ReplacementFile.h"

#include <QRandomGenerator>
#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace FileSystem {

namespace {

// The bytes the system knows the path by; nothing for a path no file can have.
std::optional<QByteArray> nativePath(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return std::nullopt;
    return LocalFileName::encode(path);
}

QString systemReason(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

// Reads `file` to its end into `bytes`, room made for the `size` it had; the reason
// when a read fails, or when the file grows beyond `maxBytes` meanwhile.
std::optional<QString> readToEnd(int file, qint64 size, qint64 maxBytes, QByteArray& bytes)
{
    bytes.resize(static_cast<qsizetype>(size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes)
                return QStringLiteral("larger than %1 bytes").arg(maxBytes); // it grew while being read
            bytes.resize(std::min<qsizetype>(filled * 2 + 4096, maxBytes + 1));
        }
        const ssize_t got = ::read(file, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return systemReason(errno);
        }
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(filled);
    return std::nullopt;
}

} // namespace

EntryKind kindOf(const QString& path)
{
    const std::optional<QByteArray> native = nativePath(path);
    if (!native)
        return EntryKind::Missing;
    std::error_code error;
    const fs::file_status status = fs::status(fs::path(native->toStdString()), error);
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

EntryKind visibleKindOf(const QString& path)
{
    // '*' and '?' are plain characters of a name here: nothing expands patterns.
    if (path.isEmpty())
        return EntryKind::Missing;
    const QString name = lastName(path);
    if (name.startsWith(QLatin1Char('.')) && name != QLatin1String(".") && name != QLatin1String(".."))
        return EntryKind::Missing;
    return kindOf(path);
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

QString absolutePath(const QString& path)
{
    if (path.startsWith(QLatin1Char('/')))
        return path;
    std::error_code error;
    const fs::path working = fs::current_path(error);
    if (error)
        return path;
    return LocalFileName::decode(QByteArray::fromStdString(working.native())) + QLatin1Char('/')
           + path;
}

bool makeDirectory(const QString& path)
{
    const std::optional<QByteArray> native = nativePath(path);
    if (!native)
        return false;
    std::error_code error;
    return fs::create_directory(fs::path(native->toStdString()), error) && !error;
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
    const auto failed = [&](int error) {
        listing.complete = false;
        listing.reason = systemReason(error);
        return listing;
    };
    const std::optional<QByteArray> native = nativePath(folder);
    if (!native)
        return failed(ENOENT);
    const FolderHandle handle(opendir(native->constData()));
    if (!handle)
        return failed(errno);
    const int descriptor = dirfd(handle.get());
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(handle.get());
        if (!entry) {
            if (errno != 0)
                return failed(errno);
            break;
        }
        const std::string_view name(entry->d_name);
        if (name.empty() || name.front() == '.')
            continue; // hidden, and the "." and ".." entries
        if (wanted && !wanted(name))
            continue;
        if (!isRegularFile(descriptor, *entry))
            continue;
        listing.names.append(LocalFileName::decode(
            QByteArray::fromRawData(name.data(), static_cast<qsizetype>(name.size()))));
    }
    return listing;
}

FileContent readSmallFile(const QString& path, qint64 maxBytes)
{
    FileContent content;
    content.status = FileContent::Status::Unreadable;
    const std::optional<QByteArray> native = nativePath(path);
    if (!native) {
        content.reason = QStringLiteral("no file can have this name");
        return content;
    }
    const auto refuse = [&](const QString& reason) {
        content.reason = reason;
        return content;
    };
    // Looked at before it is opened: opening a device may already do something.
    struct stat status {};
    if (::stat(native->constData(), &status) != 0) {
        if (errno == ENOENT) {
            content.status = FileContent::Status::Missing;
            return content;
        }
        return refuse(systemReason(errno));
    }
    if (!S_ISREG(status.st_mode))
        return refuse(QStringLiteral("not a regular file"));
    // Never blocks, also when a pipe took the file's place since it was looked at.
    const PlainDescriptor file(::open(native->constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return refuse(systemReason(errno));
    if (::fstat(file.get(), &status) != 0)
        return refuse(systemReason(errno));
    if (!S_ISREG(status.st_mode))
        return refuse(QStringLiteral("not a regular file"));
    if (status.st_size > maxBytes)
        return refuse(QStringLiteral("larger than %1 bytes").arg(maxBytes));

    QByteArray bytes;
    if (const std::optional<QString> reason = readToEnd(file.get(), status.st_size, maxBytes, bytes))
        return refuse(*reason);
    content.status = FileContent::Status::Read;
    content.bytes = std::move(bytes);
    return content;
}

std::optional<QString> replaceFile(const QString& path, const QByteArray& bytes)
{
    const std::optional<QByteArray> native = nativePath(path);
    if (!native)
        return QStringLiteral("no file can have this name");
    // The file a link points to is replaced, not the link, also when it does not exist yet.
    fs::path target(native->toStdString());
    std::error_code error;
    for (int hops = 0; fs::is_symlink(target, error); ++hops) {
        if (hops == 40)
            return systemReason(ELOOP);
        const fs::path next = fs::read_symlink(target, error);
        if (error)
            return QString::fromStdString(error.message());
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    struct stat status {};
    const bool exists = ::stat(target.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode))
        return systemReason(EISDIR);

    // A name of its own beside the file, so the rename stays on one file system.
    const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const PlainDescriptor folder(::open(parent.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isValid())
        return systemReason(errno);
    const QByteArray name = QByteArray::fromStdString(target.filename().native());
    ReplacementFile file(folder.get(), [&] {
        return name + ".new-" + QByteArray::number(QRandomGenerator::global()->generate());
    }, false);
    if (!file.isValid())
        return systemReason(file.error());
    if (exists && ::fchmod(file.descriptor(), status.st_mode & 07777) != 0)
        return systemReason(errno);
    if (const int failed = file.write(bytes))
        return systemReason(failed);
    if (const int failed = file.close(true))
        return systemReason(failed);
    if (const int failed = file.replace(name))
        return systemReason(failed);
    return std::nullopt;
}

} // namespace FileSystem
