#include "app/Module1.h"
#include "app/form1.h"
#include "outputs/OutputFolderCombo.h"
#include "platform/FileSystem.h"

namespace Module1 {

int16_t CheckOutputFolder(form1& window)
{
    constexpr int16_t True = -1;
    constexpr int16_t False = 0;
    MessageBox& messages = window.platform().messages;

    OutputFolder = window.Combo2->Text();
    const int listIndex = window.Combo2->ListIndex();
    if (OutputFolder.isEmpty()) {
        messages.show(QStringLiteral("Please select output folder"), MessageIcon::Information);
        return False;
    }
    const bool typed = listIndex == -1;
    if (GetPathKind(OutputFolder) != PathKind::Folder && !typed) {
        // A listed folder that has gone is not made again.
        messages.show(QStringLiteral("Folder does not exist!"), MessageIcon::Critical);
        return False;
    }

    while (OutputFolder.endsWith(QLatin1Char('/')))
        OutputFolder.chop(1);
    // Empty now only when the text named the root folder, which always exists.
    const bool isRoot = OutputFolder.isEmpty();
    if (!isRoot && typed && GetPathKind(OutputFolder) != PathKind::Folder) {
        // A hidden folder that exists is used as it is, not reported as uncreatable.
        const bool exists = FileSystem::kindOf(OutputFolder) == FileSystem::EntryKind::Folder;
        if (!exists && !FileSystem::makeDirectory(OutputFolder)) {
            messages.show(QStringLiteral("Failed to create folder"), MessageIcon::Critical);
            return False;
        }
    }
    OutputFolder += QLatin1Char('/');
    return True;
}

} // namespace Module1
