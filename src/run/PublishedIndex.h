#pragma once

#include "run/RunManifest.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A document of the run that has no page, and why.
struct FailedDocument {
    QString source;
    QString subfolder; // where its page would have gone
    QString reason;
};

// One line of an index: a page, its title and its document.
struct IndexedPage {
    QString page;   // its file name in the folder
    QString title;  // the page's own title, or its name when it has none
    QString source; // the document's path
};

// The index of one output folder: an HTML5 page that links its pages with their
// titles and documents, its sub-folders' indexes, and lists the documents that failed
// with their reasons. Links are relative; every name is escaped (bytes that are not
// UTF-8 are shown as U+FFFD and linked percent-encoded).
QByteArray indexPage(const QString& folderName, const QList<IndexedPage>& pages, const QStringList& subfolders,
                     const QList<FailedDocument>& failed);

// The text of the <title> near the start of a page, entities resolved, blanks
// folded; "" when it has none.
QString pageTitle(const QByteArray& pageStart);

// Writes index.html, replaced in one step, into the output folder open at `root` and
// each mirrored sub-folder that holds a page of this format or a failed document.
// Returns what could not be written.
QStringList writeIndexes(int root, const QString& rootName, const RunManifest& manifest, WebFormat format,
                         ExtensionLength extension, const QList<FailedDocument>& failed);

inline constexpr char IndexFileName[] = "index.html";
