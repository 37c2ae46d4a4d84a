#pragma once

#include "engine/files/PlainDescriptor.h"
#include "run/RunManifest.h"

#include <QString>

// How reading an output folder's manifest went.
enum class ManifestState {
    Missing,  // none yet: every document is new
    Read,
    SetAside, // damaged, foreign or hostile: renamed out of the way, kept for a look
};

struct LoadedManifest {
    RunManifest manifest;
    ManifestState state = ManifestState::Missing;
    QString setAsideAs; // the name it was given when set aside
    QString problem;    // why it could not be read or set aside, when it could not
};

// Reads the manifest of the output folder open at `folder`. One that is no manifest of
// this program (a link, a folder, other text, names leading out of the folder) is set
// aside as ".varnello.manifest.damaged-<time>", never removed, and the run starts anew.
LoadedManifest loadManifest(int folder);

// Puts the manifest in place in one step: "" or why it could not be saved.
QString saveManifest(int folder, const RunManifest& manifest);

// Keeps other runs out of an output folder while this one uses its manifest: an flock
// on ".varnello.lock" beside it, released when this object goes (or its process dies).
class OutputFolderLock {
public:
    explicit OutputFolderLock(int folder);

    enum class Attempt { Taken, Busy, Failed };
    // Does not wait; Failed when the lock file cannot be made (errno is then set).
    Attempt tryTake();

private:
    PlainDescriptor lockFile;
};
