#include "app/ListViews.h"
#include "app/Module1.h"
#include "app/form1.h"
#include "platform/FileSystem.h"
#include "sources/DocumentNames.h"

#include <QTreeWidget>
#include <exception>

namespace Module1 {

namespace {

// The names ListView2 shows for one source. A failure part-way keeps what was read.
QStringList documentNames(const QString& path)
{
    if (GetPathKind(path) == 2)
        return {FileSystem::lastName(path)};
    // A folder, or nothing usable: a hidden folder still shows its documents, and a
    // path that names nothing lists nothing. An empty path names no folder at all.
    if (path.isEmpty())
        return {};
    FileSystem::Listing listing = FileSystem::plainFiles(path, &DocumentNames::isWordDocument);
    DocumentNames::sortIgnoringCase(listing.names);
    return listing.names;
}

} // namespace

void FillDocumentList(form1& window, const QString& path)
{
    QTreeWidget& documents = *window.ListView2;
    documents.setUpdatesEnabled(false);
    try {
        documents.clear();
        ListViews::appendChecked(documents, documentNames(path));
    } catch (const std::exception&) {
        // Nothing is reported; what was added stays.
    }
    documents.setUpdatesEnabled(true);
    documents.update();
    documents.show();
}

} // namespace Module1
