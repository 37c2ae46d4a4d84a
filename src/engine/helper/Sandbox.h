#pragma once

#include <QByteArray>
#include <QList>

// The folders a helper may still use once it is confined.
struct SandboxFolders {
    QList<QByteArray> readable;  // read and run files, list folders
    QList<QByteArray> writable;  // besides reading: create, change, rename and remove
    // Only make folders and move finished work in; nothing there can be read. Where the
    // kernel cannot confine moves between folders (Landlock before 5.19), writable.
    QList<QByteArray> placeable;
};

enum class SandboxOutcome { Confined, Unsupported, Failed };

// Confines this process and everything it starts afterwards to `folders`, for good:
// any other file opens as "permission denied", and no TCP connection can be made or
// accepted. Called before LibreOffice starts its threads, which would otherwise stay
// free. Unsupported where the kernel has no Landlock.
SandboxOutcome confineToFolders(const SandboxFolders& folders);

// What a helper needs, and no more, so that no document can make LibreOffice read a
// file a field, link or picture names: the libraries and configuration LibreOffice
// and its libraries read, fonts, LibreOffice's installation, and, to write in, its
// profile, its temporary folder (TMPDIR) and its work folders (VARNELLO_LOK_WORK);
// the staging folders (VARNELLO_LOK_STAGING) are placeable. Both lists are
// percent-encoded and separated by colons.
SandboxFolders helperFolders(const QByteArray& libreOfficeProgramFolder, const QByteArray& profileFolder);
