#include "app/ListViews.h"
#include "sources/DocumentList.h"
#include "app/MainWindow.h"
#include "platform/FileSystem.h"

#include <QTreeWidget>

QString documentPathAt(const MainWindow& window, int row)
{
    QString path;
    QString name;
    if (ListViews::count(*window.sourceList) >= 1) {
        if (const QTreeWidgetItem* source = ListViews::selectedItem(*window.sourceList))
            path = source->text(0);
    }
    if (ListViews::count(*window.documentList) >= 1) {
        if (const QTreeWidgetItem* document = ListViews::item(*window.documentList, row))
            name = document->text(0);
    }
    switch (FileSystem::visibleKindOf(path)) {
    case FileSystem::EntryKind::File: return path; // a file source is its own document
    case FileSystem::EntryKind::Folder: {
        const QString joined = path + QLatin1Char('/') + name;
        return FileSystem::visibleKindOf(joined) == FileSystem::EntryKind::File ? joined : QString();
    }
    default: return {};
    }
}

