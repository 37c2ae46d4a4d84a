#include "convert/OutputFolderCheck.h"

#include "app/Module1.h"
#include "platform/FileSystem.h"

OutputFolderCheck checkOutputFolder(const QString& text, bool typed)
{
    using Module1::GetPathKind;
    using Module1::PathKind::Folder;
    OutputFolderCheck check;
    if (text.isEmpty()) {
        check.message = QStringLiteral("Please select output folder");
        check.icon = MessageIcon::Information;
        return check;
    }
    if (GetPathKind(text) != Folder && !typed) {
        check.message = QStringLiteral("Folder does not exist!");
        check.icon = MessageIcon::Critical;
        return check;
    }

    QString folder = text;
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    // Empty now only when the text named the root folder, which always exists.
    const bool isRoot = folder.isEmpty();
    if (!isRoot && typed && GetPathKind(folder) != Folder) {
        // A hidden folder that exists is used as it is, not reported as uncreatable.
        const bool exists = FileSystem::kindOf(folder) == FileSystem::EntryKind::Folder;
        if (!exists && !FileSystem::makeDirectory(folder)) {
            check.message = QStringLiteral("Failed to create folder");
            check.icon = MessageIcon::Critical;
            return check;
        }
    }
    check.folder = folder + QLatin1Char('/');
    return check;
}
