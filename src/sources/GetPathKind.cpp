#include "app/Module1.h"
#include "platform/FileSystem.h"

namespace Module1 {

int32_t GetPathKind(const QString& path)
{
    // '*' and '?' are plain characters of a name here: nothing expands patterns.
    if (path.isEmpty())
        return PathKind::Neither;
    // Dot-named entries are hidden.
    const QString name = FileSystem::lastName(path);
    if (name.startsWith(QLatin1Char('.')) && name != QLatin1String(".")
        && name != QLatin1String(".."))
        return PathKind::Neither;
    switch (FileSystem::kindOf(path)) {
    case FileSystem::EntryKind::Folder: return PathKind::Folder;
    case FileSystem::EntryKind::File: return PathKind::File;
    case FileSystem::EntryKind::Missing:
    case FileSystem::EntryKind::Other: break;
    }
    return PathKind::Neither;
}

} // namespace Module1
