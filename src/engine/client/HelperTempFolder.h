#pragma once

#include <QProcessEnvironment>
#include <QTemporaryDir>

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
    QTemporaryDir folder;
};

// A staging folder for the documents and pages of this program's helpers, in `base`,
// named so that removeStaleHelperFolders finds it after a crash.
QString stagingFolderTemplate(const QString& base);

// Removes the helper and staging folders that a program which has since ended (killed,
// crashed) left behind in `base`.
void removeStaleHelperFolders(const QString& base);
