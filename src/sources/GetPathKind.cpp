#include "app/Module1.h"
#include "platform/FileSystem.h"

namespace Module1 {

int32_t GetPathKind(const QString& path)
{
    if (path.isEmpty())
        return 0;
    // A pattern is never a path of its own.
    if (path.contains(QLatin1Char('*')) || path.contains(QLatin1Char('?')))
        return 0;
    // Dot-named entries are hidden.
    const QString name = FileSystem::lastName(path);
    if (name.startsWith(QLatin1Char('.')) && name != QLatin1String(".")
        && name != QLatin1String(".."))
        return 0;
    switch (FileSystem::kindOf(path)) {
    case FileSystem::EntryKind::Folder: return 1;
    case FileSystem::EntryKind::File: return 2;
    case FileSystem::EntryKind::Missing:
    case FileSystem::EntryKind::Other: break;
    }
    return 0;
}

} // namespace Module1
