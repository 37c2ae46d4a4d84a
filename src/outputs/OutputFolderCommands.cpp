#include "app/CommandFailure.h"
#include "sources/DocumentList.h"
#include "app/MainWindow.h"
#include "dialogs/FolderToAdd.h"
#include "outputs/OutputFolderCombo.h"
#include "platform/FileSystem.h"

#include <exception>

// Browse: the chosen folder goes to the top of the list, duplicates kept, and is picked.
void MainWindow::browseOutputFolder()
{
    try {
        const QString folder = askForFolderToAdd(desktop, this);
        if (folder.isEmpty())
            return;
        outputFolderChoice->AddItem(folder, 0);
        if (outputFolderChoice->ListCount() > 0)
            outputFolderChoice->setListIndex(0);
    } catch (const std::exception& error) {
        reportCommandFailure(desktop.messages, QStringLiteral("Browse"), error);
    }
}

// View: shows the output folder, typed or picked, when it exists.
void MainWindow::viewOutputFolder()
{
    const QString folder = outputFolderChoice->Text();
    if (FileSystem::visibleKindOf(folder) != FileSystem::EntryKind::Folder)
        return;
    // A typed relative path names a folder under the working directory; the file
    // manager is given the same folder as an absolute path.
    desktop.shell.openFolder(FileSystem::absolutePath(folder));
}

// Remove the picked output folder; the one below it is picked next, or the new last one.
void MainWindow::removeOutputFolder()
{
    const int count = outputFolderChoice->ListCount();
    const int picked = outputFolderChoice->ListIndex();
    if (count == 0 || picked < 0 || picked >= count)
        return;
    outputFolderChoice->RemoveItem(picked);
    const int remaining = count - 1;
    if (picked == remaining) {
        if (remaining > 0)
            outputFolderChoice->setListIndex(picked - 1);
    } else {
        outputFolderChoice->setListIndex(picked);
    }
}

void MainWindow::removeAllOutputFolders()
{
    for (int left = outputFolderChoice->ListCount(); left > 0; --left)
        outputFolderChoice->RemoveItem(0);
}
