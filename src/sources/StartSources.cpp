#include "app/ListViews.h"
#include "sources/DocumentList.h"
#include "app/MainWindow.h"
#include "platform/FileSystem.h"
#include "sources/DocumentNames.h"

#include <QDir>
#include <QFileInfo>
#include <QTreeWidget>

namespace {

// The icon a path named at start gets, or 0 when it is neither a Word document nor a folder.
int startSourceIcon(const QString& path)
{
    switch (FileSystem::visibleKindOf(path)) {
    case FileSystem::EntryKind::Folder: return ImageList::Folder;
    case FileSystem::EntryKind::File:
        return DocumentNames::isWordDocument(FileSystem::lastName(path).toUtf8().toStdString())
                   ? ImageList::Document
                   : 0;
    default: return 0;
    }
}

} // namespace

// "Open with" and a drop on the menu entry start the program with files and folders.
// Word documents and existing folders are added as Add Word and Add Folder add them,
// as full paths; anything else is left out. The first one added is selected and its
// documents shown.
QStringList MainWindow::addStartSources(const QStringList& paths)
{
    QStringList leftOut;
    int first = 0;
    for (const QString& given : paths) {
        const QString path = given.isEmpty() ? given : QDir::cleanPath(QFileInfo(given).absoluteFilePath());
        const int icon = path.isEmpty() ? 0 : startSourceIcon(path);
        if (icon == 0) {
            leftOut << given;
            continue;
        }
        QTreeWidgetItem* entry = ListViews::append(*sourceList, path);
        ListViews::setSmallIcon(*entry, icon, icons);
        if (first == 0)
            first = ListViews::count(*sourceList);
    }
    if (first == 0)
        return leftOut;

    ListViews::select(*sourceList, first);
    sourceList->scrollToItem(ListViews::item(*sourceList, first));
    setMousePointer(MousePointer::Wait);
    fillDocumentList(*this, ListViews::item(*sourceList, first)->text(0));
    setMousePointer(MousePointer::Default);
    return leftOut;
}
