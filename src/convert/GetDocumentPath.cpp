#include "app/ListViews.h"
#include "app/Module1.h"
#include "app/form1.h"
#include "platform/FileSystem.h"

#include <QTreeWidget>

namespace Module1 {

QString GetDocumentPath(const form1& window, int32_t position)
{
    QString path;
    QString name;
    if (ListViews::count(*window.ListView1) >= 1) {
        if (const QTreeWidgetItem* source = ListViews::selectedItem(*window.ListView1))
            path = source->text(0);
    }
    if (ListViews::count(*window.ListView2) >= 1) {
        if (const QTreeWidgetItem* document = ListViews::item(*window.ListView2, position))
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

} // namespace Module1
