#pragma once

#include "run/RunManifest.h"

#include <QList>
#include <QString>

// A page whose document has gone, and what became of it.
struct GonePage {
    ManifestEntry entry;
    bool removed = false;
    QString problem; // why it stayed
};

// Removes from the output folder open at `root` the pages the manifest records whose
// documents no longer exist, with a web page's picture folder (<name>_files), and
// forgets them. Only a regular file by the recorded name and a real folder by its
// picture folder's name are removed; nothing is reached through a symbolic link (a
// link where a page or folder was is left alone, and so is a link inside a picture
// folder's tree: it is removed as the name it is, never followed).
QList<GonePage> removeGonePages(int root, RunManifest& manifest);
