#pragma once

#include "engine/files/PlainDescriptor.h"

#include <QByteArray>

#include <functional>

// A file that takes another's place in one step: written under a fresh name of its own
// in the target's folder and renamed over the target once it is complete, so that a
// crash or a full disk never leaves half a file. Until then it is removed when this
// object goes. The program's one atomic file writer (the state files, the web output).
class ReplacementFile {
public:
    // Creates the file in the folder open at `folder` (a descriptor that outlives this
    // object) under the first name `freshName` gives that nothing has yet, trying up to
    // a hundred. A `locked` file is locked (flock) for as long as it exists under its
    // temporary name, also past close(): a sweep of the temporaries that dead runs left
    // (see removeDeadTemporaries) takes only files it can lock, so it leaves this one
    // alone; one that such a sweep removed before it was locked is made again.
    ReplacementFile(int folder, const std::function<QByteArray()>& freshName, bool locked);
    // Removes the file unless it took its target's place.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool isValid() const { return file.isValid(); }
    // Why the file could not be made (errno), once isValid() is false.
    int error() const { return failure; }
    int descriptor() const { return file.get(); }

    // Writes all of `bytes`: 0, or errno.
    int write(const QByteArray& bytes);
    // Closes the file, first putting it on the disk when `durable`: 0, or errno. A
    // late write error (NFS, quotas) shows here.
    int close(bool durable);
    // Renames the file over `name` in its folder: 0, or errno. Afterwards it is the
    // target's, and this object leaves it alone.
    int replace(const QByteArray& name);

private:
    int folder;
    QByteArray name; // empty once replaced
    PlainDescriptor file;
    PlainDescriptor lock; // a second descriptor of a locked file: holds the lock past close()
    int failure = 0;
};
