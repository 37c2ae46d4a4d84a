#include "app/CommandFailure.h"
#include "app/Module1.h"
#include "app/form1.h"
#include "dialogs/FolderToAdd.h"
#include "outputs/OutputFolderCombo.h"
#include "platform/FileSystem.h"

#include <exception>

// Browse: the chosen folder goes to the top of the list, duplicates kept, and is picked.
void form1::Command10_Click()
{
    try {
        const QString folder = askForFolderToAdd(desktop, this);
        if (folder.isEmpty())
            return;
        Combo2->AddItem(folder, 0);
        if (Combo2->ListCount() > 0)
            Combo2->setListIndex(0);
    } catch (const std::exception& error) {
        reportCommandFailure(desktop.messages, QStringLiteral("Browse"), error);
    }
}

// View: shows the output folder, typed or picked, when it exists.
void form1::Command11_Click()
{
    const QString folder = Combo2->Text();
    if (FileSystem::visibleKindOf(folder) != FileSystem::EntryKind::Folder)
        return;
    // A typed relative path names a folder under the working directory; the file
    // manager is given the same folder as an absolute path.
    desktop.shell.openFolder(FileSystem::absolutePath(folder));
}

// Remove the picked output folder; the one below it is picked next, or the new last one.
void form1::Removeoutput_Click()
{
    const int count = Combo2->ListCount();
    const int picked = Combo2->ListIndex();
    if (count == 0 || picked < 0 || picked >= count)
        return;
    Combo2->RemoveItem(picked);
    const int remaining = count - 1;
    if (picked == remaining) {
        if (remaining > 0)
            Combo2->setListIndex(picked - 1);
    } else {
        Combo2->setListIndex(picked);
    }
}

void form1::RemoveAllOutput_Click()
{
    for (int left = Combo2->ListCount(); left > 0; --left)
        Combo2->RemoveItem(0);
}
