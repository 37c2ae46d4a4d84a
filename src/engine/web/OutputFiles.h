#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A file of a page's picture folder.
struct CompanionFile {
    QString name;
    QByteArray data;
};

// What one save puts into the output folder: the page, and for a web page the folder
// of its pictures beside it.
struct OutputFiles {
    QString pagePath;
    QByteArray page;
    // The picture folder's name when this output owns one: it then holds exactly
    // `companionFiles` afterwards, and is removed when there are none.
    QString companionName;
    QList<CompanionFile> companionFiles;
};

// Writes `output` through the output folder's own descriptor. Everything is written under
// temporary names first and renamed into place at the end, so a failure leaves the folder
// as it was. A symbolic link where the page or its picture folder goes is replaced, never
// followed; a read-only page, or a folder where the page goes, is not replaced. Files and
// folders get the user's umask. Returns an empty string, or why the output was not written
// (naming the file). The temporary page stays locked while it exists (see below).
QString writeOutputFiles(const OutputFiles& output);

// Where a temporary name ends up: names left by a crashed run begin with this.
inline constexpr char TemporaryOutputPrefix[] = ".varnello-";

// Removes from the folder open at `folder` the temporary pages that runs which died
// left behind: the user's own regular files no live run holds locked. A live run's,
// from any process or container sharing the folder, stays. One listing of the folder.
void removeDeadTemporaries(int folder);
// The same for the folder at `path`, entered as it is named.
void removeDeadTemporaries(const QString& path);
