#pragma once

#include <QProcessEnvironment>
#include <QTemporaryDir>

// The folder a helper keeps its temporary files in (LibreOffice puts its own there when
// TMPDIR names it). It goes with the helper, also after a crash: the program removes it
// when it lets go of the helper process.
class HelperTempFolder {
public:
    HelperTempFolder();
    bool isValid() const { return folder.isValid(); }
    QString path() const { return folder.path(); }
    // The environment a helper starts with: this program's, TMPDIR pointing here.
    QProcessEnvironment environment() const;

private:
    QTemporaryDir folder;
};

// Removes the helper folders that a program which has since ended (killed, crashed)
// left behind in the system's temporary folder.
void removeStaleHelperTempFolders();
