#include "app/ListViews.h"
#include "sources/DocumentList.h"
#include "app/MainWindow.h"
#include "platform/FileSystem.h"
#include "sources/DocumentNames.h"

#include <QTreeWidget>
#include <exception>

namespace {

// The names documentList shows for one source. A failure part-way keeps what was read
// and says why in `failure`.
QStringList documentNames(const QString& path, QString& failure)
{
    if (FileSystem::visibleKindOf(path) == FileSystem::EntryKind::File)
        return {FileSystem::lastName(path)};
    // A folder, or nothing usable: a hidden folder still shows its documents, and a
    // path that names nothing lists nothing. An empty path names no folder at all.
    if (path.isEmpty())
        return {};
    FileSystem::Listing listing = FileSystem::plainFiles(path, &DocumentNames::isWordDocument);
    // A source that has gone simply has no documents; a folder that is there but
    // cannot be read would otherwise look empty or complete.
    if (!listing.complete && FileSystem::kindOf(path) == FileSystem::EntryKind::Folder)
        failure = listing.reason;
    DocumentNames::sortIgnoringCase(listing.names);
    return listing.names;
}

} // namespace

void fillDocumentList(MainWindow& window, const QString& path)
{
    QTreeWidget& documents = *window.documentList;
    documents.setUpdatesEnabled(false);
    QString failure;
    try {
        documents.clear();
        ListViews::appendChecked(documents, documentNames(path, failure));
    } catch (const std::exception& error) {
        // What was added stays.
        failure = QString::fromLocal8Bit(error.what());
    }
    documents.setUpdatesEnabled(true);
    documents.update();
    documents.show();
    if (!failure.isEmpty()) {
        window.platform().messages.show(
            QStringLiteral("Not every document of \"%1\" could be listed: %2").arg(path, failure),
            MessageIcon::Critical);
    }
}

