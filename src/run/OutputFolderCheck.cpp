#include "run/OutputFolderCheck.h"

#include "platform/FileSystem.h"

PreparedFolder prepareOutputFolder(const QString& text, FolderOrigin origin)
{
    using FileSystem::EntryKind;
    if (text.isEmpty())
        return {{}, FolderProblem::NotChosen};
    if (origin == FolderOrigin::Listed && FileSystem::visibleKindOf(text) != EntryKind::Folder)
        return {{}, FolderProblem::Missing};

    QString folder = text;
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    // Empty now only when the text named the root folder, which always exists.
    // A hidden folder that exists is used as it is, not reported as uncreatable.
    if (!folder.isEmpty() && origin == FolderOrigin::Typed) {
        switch (FileSystem::kindOf(folder)) {
        case EntryKind::Folder: break;
        case EntryKind::Missing:
            if (!FileSystem::makeDirectory(folder))
                return {{}, FolderProblem::CannotCreate};
            break;
        case EntryKind::File:
        case EntryKind::Other: return {{}, FolderProblem::NotAFolder};
        }
    }
    return {folder + QLatin1Char('/'), FolderProblem::None};
}
