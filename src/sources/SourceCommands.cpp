#include "app/CommandFailure.h"
#include "app/ListViews.h"
#include "sources/DocumentList.h"
#include "app/MainWindow.h"
#include "dialogs/CCommonDialogs.h"
#include "dialogs/FolderToAdd.h"
#include "platform/FileSystem.h"

#include <QTreeWidget>
#include <exception>

namespace {

// Brings the default pointer back when a command ends, however it ends.
class DefaultPointerAtEnd {
public:
    explicit DefaultPointerAtEnd(MainWindow& window) : window(window) {}
    ~DefaultPointerAtEnd() { window.setMousePointer(MousePointer::Default); }
    DefaultPointerAtEnd(const DefaultPointerAtEnd&) = delete;
    DefaultPointerAtEnd& operator=(const DefaultPointerAtEnd&) = delete;

private:
    MainWindow& window;
};

QString wordFileFilter()
{
    const QChar nul(0);
    return QStringLiteral("Word File(*.doc;*.docx)") + nul + QStringLiteral("*.doc;*.docx") + nul;
}

// Appends a source with its icon and makes it the selected one.
QTreeWidgetItem* addSource(MainWindow& window, const QString& path, int icon)
{
    QTreeWidgetItem* entry = ListViews::append(*window.sourceList, path);
    ListViews::setSmallIcon(*entry, icon, window.icons);
    ListViews::select(*window.sourceList, ListViews::count(*window.sourceList));
    return entry;
}

void showInView(QTreeWidget& view, QTreeWidgetItem& entry)
{
    view.viewport()->update();
    view.scrollToItem(&entry);
}

void showDocuments(MainWindow& window, const QString& source)
{
    window.setMousePointer(MousePointer::Wait);
    fillDocumentList(window, source);
}

} // namespace

// Add Word
void MainWindow::addWordDocuments()
{
    const DefaultPointerAtEnd restore(*this);
    try {
        CCommonDialogs dialog(desktop);
        dialog.Init(this);
        dialog.setTitle(QStringLiteral("Select Word File"));
        dialog.setFilter(wordFileFilter());
        if (!dialog.ShowOpen())
            return;
        const QString path = dialog.FileName();
        QTreeWidgetItem* entry = addSource(*this, path, ImageList::Document);
        showInView(*sourceList, *entry);
        showDocuments(*this, path);
    } catch (const std::exception& error) {
        // The command stops; an entry already added stays.
        reportCommandFailure(desktop.messages, QStringLiteral("Add Word"), error);
    }
}

// Remove the selected source; its neighbour becomes the selected one.
void MainWindow::removeSelectedSource()
{
    const DefaultPointerAtEnd restore(*this);
    try {
        if (ListViews::count(*sourceList) == 0)
            return;
        const int removed = ListViews::selectedPosition(*sourceList);
        if (removed == 0)
            return;
        ListViews::remove(*sourceList, removed);
        if (ListViews::count(*sourceList) == 0) {
            documentList->clear();
            return;
        }
        const int next = removed == 1 ? 1 : removed - 1;
        ListViews::select(*sourceList, next);
        showDocuments(*this, ListViews::item(*sourceList, next)->text(0));
    } catch (const std::exception& error) {
        reportCommandFailure(desktop.messages, QStringLiteral("Remove File"), error);
    }
}

namespace {

// Moves the selected source by one place; documentList stays as it is, check boxes too.
void moveSelectedSource(MainWindow& window, int by)
{
    QTreeWidget& sources = *window.sourceList;
    const int from = ListViews::selectedPosition(sources);
    const int to = from + by;
    if (from == 0 || to < 1 || to > ListViews::count(sources))
        return;
    const QTreeWidgetItem* moving = ListViews::item(sources, from);
    const QString text = moving->text(0);
    const int icon = ListViews::smallIcon(*moving);
    ListViews::remove(sources, from);
    QTreeWidgetItem* moved = ListViews::insert(sources, to, text);
    ListViews::setSmallIcon(*moved, icon, window.icons);
    ListViews::select(sources, to);
    sources.scrollToItem(moved);
}

} // namespace

// Move the selected source up
void MainWindow::moveSourceUp()
{
    moveSelectedSource(*this, -1);
}

// Move the selected source down
void MainWindow::moveSourceDown()
{
    moveSelectedSource(*this, +1);
}

// Add Folder
void MainWindow::addFolder()
{
    const DefaultPointerAtEnd restore(*this);
    try {
        const QString path = askForFolderToAdd(desktop, this);
        if (path.isEmpty())
            return;
        QTreeWidgetItem* entry = addSource(*this, path, ImageList::Folder);
        showDocuments(*this, path);
        showInView(*sourceList, *entry);
    } catch (const std::exception& error) {
        reportCommandFailure(desktop.messages, QStringLiteral("Add Folder"), error);
    }
}

// Show the clicked source's documents, every check box set afresh.
void MainWindow::showDocumentsOfSource(QTreeWidgetItem*)
{
    const QTreeWidgetItem* selected = ListViews::selectedItem(*sourceList);
    if (!selected)
        return;
    const QString source = selected->text(0);
    const DefaultPointerAtEnd restore(*this);
    documentList->clear();
    showDocuments(*this, source);
}

// Files and folders dropped on the source list: each is added as Add Word or Add
// Folder would add it, and the last one's documents are shown.
void MainWindow::addDroppedSources(const QStringList& paths)
{
    const DefaultPointerAtEnd restore(*this);
    try {
        QTreeWidgetItem* last = nullptr;
        for (const QString& path : paths) {
            if (path.isEmpty())
                continue;
            const bool folder = FileSystem::kindOf(path) == FileSystem::EntryKind::Folder;
            last = addSource(*this, path, folder ? ImageList::Folder : ImageList::Document);
        }
        if (!last)
            return;
        showInView(*sourceList, *last);
        showDocuments(*this, last->text(0));
    } catch (const std::exception& error) {
        reportCommandFailure(desktop.messages, QStringLiteral("Adding the dropped files"), error);
    }
}

// Empty both lists
void MainWindow::removeAllSources()
{
    sourceList->clear();
    documentList->clear();
}
