#pragma once

#include "engine/files/PlainDescriptor.h"

#include <QString>

#include <map>
#include <optional>

// The output folder of a run and the sub-folders that mirror the source tree in it.
//
// The output folder is the user's choice, links and all. A mirrored folder is made and
// entered one name at a time without following a symbolic link, and held open: its
// outputs are written through that descriptor, so a link planted in the output tree,
// before the run or during it, never leads them elsewhere. Each folder is rid of the
// temporaries of dead runs when the run first uses it.
class OutputFolders {
public:
    // `root` exists and ends in '/'.
    explicit OutputFolders(QString root);
    OutputFolders(const OutputFolders&) = delete;
    OutputFolders& operator=(const OutputFolders&) = delete;

    struct Place {
        QString shown;   // the folder as the user names it, ending in '/'
        QString written; // the path that reaches exactly the folder held open, ending in '/'
        QString problem; // why nothing can be written there; the paths are then empty
    };
    // The folder for `subfolder` ("" for the output folder itself, or "a/b").
    Place enter(const QString& subfolder);

    // Why the output folder itself can take no more pages (it was removed, its drive
    // went away, it became read-only or full), or nothing while it can.
    std::optional<QString> lostReason() const;

private:
    // The open folder below the output folder, or -1 with `problem` said.
    int descriptorOf(const QString& subfolder, QString& problem);

    QString root;
    std::map<QString, PlainDescriptor> opened; // by sub-folder; "" is the output folder
};
