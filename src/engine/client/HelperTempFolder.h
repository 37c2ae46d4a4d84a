#pragma once

#include "engine/files/PlainDescriptor.h"

#include <QProcessEnvironment>
#include <QTemporaryDir>

// A temporary folder of this program's that a later run may sweep up once its owner
// is gone (killed, crashed): the owner holds a lock on a file in it for as long as the
// folder lives. A lock, not a process number, tells: another run may live in another
// process namespace (a container sharing the folder), where its number means nothing.
class OwnedTemporaryFolder {
public:
    // `prefix`: "varnello-lok-" or "varnello-staging-", in `base`.
    OwnedTemporaryFolder(const QString& base, QLatin1StringView prefix);
    bool isValid() const { return folder.isValid() && lock.get() >= 0; }
    QString path() const { return folder.path(); }
    QString filePath(const QString& name) const { return folder.filePath(name); }

private:
    QTemporaryDir folder;
    PlainDescriptor lock; // after `folder`: released before the folder goes
};

// The folder a helper keeps its temporary files in (LibreOffice puts its own there when
// TMPDIR names it). It goes with the helper, also after a crash: the program removes it
// when it lets go of the helper process.
class HelperTempFolder {
public:
    // In `base`, the engine's folder for short-lived files (see ScratchFolder.h).
    explicit HelperTempFolder(const QString& base);
    bool isValid() const { return folder.isValid(); }
    QString path() const { return folder.path(); }
    // The environment a helper starts with: this program's, TMPDIR pointing here.
    QProcessEnvironment environment() const;

private:
    OwnedTemporaryFolder folder;
};

// A staging folder for the documents and pages of this program's helpers, in `base`,
// which removeStaleHelperFolders finds after a crash.
class StagingFolder : public OwnedTemporaryFolder {
public:
    explicit StagingFolder(const QString& base);
};

// Removes the helper and staging folders, the user's own, that a program which has
// since ended left behind in `base`.
void removeStaleHelperFolders(const QString& base);
