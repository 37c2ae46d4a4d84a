#include "platform/FileSystem.h"

#include <filesystem>
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

} // namespace FileSystem
