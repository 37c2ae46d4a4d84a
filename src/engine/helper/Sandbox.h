#pragma once

#include <QByteArray>
#include <QList>

// The folders a helper may still use once it is confined.
struct SandboxFolders {
    QList<QByteArray> readable; // read and run files, list folders
    QList<QByteArray> writable; // besides reading: create, change, rename and remove
};

enum class SandboxOutcome { Confined, Unsupported, Failed };

// Confines this process and everything it starts afterwards to `folders`, for good:
// any other file opens as "permission denied", and no TCP connection can be made or
// accepted. Called before LibreOffice starts its threads, which would otherwise stay
// free. Unsupported where the kernel has no Landlock.
SandboxOutcome confineToFolders(const SandboxFolders& folders);

// What a helper needs: the system folders LibreOffice and its libraries read (fonts,
// locale and configuration files, /proc, /dev; none holds the user's own files), the
// user's fonts, LibreOffice's installation, and, to write in, its profile, its
// temporary folder (TMPDIR) and the folders the program stages documents and pages in
// (VARNELLO_LOK_STAGING: percent-encoded, separated by colons).
SandboxFolders helperFolders(const QByteArray& libreOfficeProgramFolder, const QByteArray& profileFolder);
