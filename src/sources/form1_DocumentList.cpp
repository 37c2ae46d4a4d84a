#include "app/CommandFailure.h"
#include "app/ListViews.h"
#include "app/Module1.h"
#include "app/form1.h"
#include "dialogs/CCommonDialogs.h"
#include "dialogs/FolderToAdd.h"
#include "platform/FileSystem.h"

#include <QTreeWidget>
#include <exception>

namespace {

// Brings the default pointer back when a command ends, however it ends.
class DefaultPointerAtEnd {
public:
    explicit DefaultPointerAtEnd(form1& window) : window(window) {}
    ~DefaultPointerAtEnd() { window.setMousePointer(MousePointer::Default); }
    DefaultPointerAtEnd(const DefaultPointerAtEnd&) = delete;
    DefaultPointerAtEnd& operator=(const DefaultPointerAtEnd&) = delete;

private:
    form1& window;
};

QString wordFileFilter()
{
    const QChar nul(0);
    return QStringLiteral("Word File(*.doc;*.docx)") + nul + QStringLiteral("*.doc;*.docx") + nul;
}

// Appends a source with its icon and makes it the selected one.
QTreeWidgetItem* addSource(form1& window, const QString& path, int icon)
{
    QTreeWidgetItem* entry = ListViews::append(*window.ListView1, path);
    ListViews::setSmallIcon(*entry, icon, window.ImageList1);
    ListViews::select(*window.ListView1, ListViews::count(*window.ListView1));
    return entry;
}

void showInView(QTreeWidget& view, QTreeWidgetItem& entry)
{
    view.viewport()->update();
    view.scrollToItem(&entry);
}

void showDocuments(form1& window, const QString& source)
{
    window.setMousePointer(MousePointer::Wait);
    Module1::FillDocumentList(window, source);
}

} // namespace

// Add Word
void form1::Command1_Click()
{
    const DefaultPointerAtEnd restore(*this);
    try {
        CCommonDialogs dialog(desktop);
        dialog.Init(this);
        dialog.setTitle(QStringLiteral("Select Word File"));
        dialog.setFilter(wordFileFilter());
        if (dialog.ShowOpen() != CCommonDialogs::True)
            return;
        const QString path = dialog.FileName();
        QTreeWidgetItem* entry = addSource(*this, path, ImageList::Document);
        showInView(*ListView1, *entry);
        showDocuments(*this, path);
    } catch (const std::exception& error) {
        // The command stops; an entry already added stays.
        reportCommandFailure(desktop.messages, QStringLiteral("Add Word"), error);
    }
}

// Remove the selected source; its neighbour becomes the selected one.
void form1::Command2_Click()
{
    const DefaultPointerAtEnd restore(*this);
    try {
        if (ListViews::count(*ListView1) == 0)
            return;
        const int removed = ListViews::selectedPosition(*ListView1);
        if (removed == 0)
            return;
        ListViews::remove(*ListView1, removed);
        if (ListViews::count(*ListView1) == 0) {
            ListView2->clear();
            return;
        }
        const int next = removed == 1 ? 1 : removed - 1;
        ListViews::select(*ListView1, next);
        showDocuments(*this, ListViews::item(*ListView1, next)->text(0));
    } catch (const std::exception& error) {
        reportCommandFailure(desktop.messages, QStringLiteral("Remove File"), error);
    }
}

namespace {

// Moves the selected source by one place; ListView2 stays as it is, check boxes too.
void moveSelectedSource(form1& window, int by)
{
    QTreeWidget& sources = *window.ListView1;
    const int from = ListViews::selectedPosition(sources);
    const int to = from + by;
    if (from == 0 || to < 1 || to > ListViews::count(sources))
        return;
    const QTreeWidgetItem* moving = ListViews::item(sources, from);
    const QString text = moving->text(0);
    const int icon = ListViews::smallIcon(*moving);
    ListViews::remove(sources, from);
    QTreeWidgetItem* moved = ListViews::insert(sources, to, text);
    ListViews::setSmallIcon(*moved, icon, window.ImageList1);
    ListViews::select(sources, to);
    sources.scrollToItem(moved);
}

} // namespace

// Move the selected source up
void form1::Command3_Click()
{
    moveSelectedSource(*this, -1);
}

// Move the selected source down
void form1::Command4_Click()
{
    moveSelectedSource(*this, +1);
}

// Add Folder
void form1::Command5_Click()
{
    const DefaultPointerAtEnd restore(*this);
    try {
        const QString path = askForFolderToAdd(desktop, this);
        if (path.isEmpty())
            return;
        QTreeWidgetItem* entry = addSource(*this, path, ImageList::Folder);
        showDocuments(*this, path);
        showInView(*ListView1, *entry);
    } catch (const std::exception& error) {
        reportCommandFailure(desktop.messages, QStringLiteral("Add Folder"), error);
    }
}

// Show the clicked source's documents, every check box set afresh.
void form1::ListView1_ItemClick(QTreeWidgetItem*)
{
    const QTreeWidgetItem* selected = ListViews::selectedItem(*ListView1);
    if (!selected)
        return;
    const QString source = selected->text(0);
    const DefaultPointerAtEnd restore(*this);
    ListView2->clear();
    showDocuments(*this, source);
}

// Files and folders dropped on the source list: each is added as Add Word or Add
// Folder would add it, and the last one's documents are shown.
void form1::ListView1_OLEDragDrop(const QStringList& paths)
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
        showInView(*ListView1, *last);
        showDocuments(*this, last->text(0));
    } catch (const std::exception& error) {
        reportCommandFailure(desktop.messages, QStringLiteral("Adding the dropped files"), error);
    }
}

// Empty both lists
void form1::RemoveAll_Click()
{
    ListView1->clear();
    ListView2->clear();
}
