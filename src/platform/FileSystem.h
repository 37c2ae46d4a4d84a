#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string_view>

// What the program needs to know of the file system, on POSIX calls and
// std::filesystem. Paths are QStrings in LocalFileName's form: a name whose bytes
// are not UTF-8 reaches the same file it was read from.
namespace FileSystem {

enum class EntryKind { Missing, Folder, File, Other };

// What `path` names, following symbolic links. A dangling link, an entry that
// cannot be examined and anything that is neither a folder nor a regular file
// (device, pipe, socket) are not usable: Missing or Other.
EntryKind kindOf(const QString& path);

// As kindOf, except that a hidden entry (its name starts with a dot; "." and ".."
// aside) counts as Missing: the program never offers or reuses hidden entries.
EntryKind visibleKindOf(const QString& path);

// The last name of `path`, trailing slashes ignored ("" for the root folder).
QString lastName(const QString& path);

// `path` as an absolute path: a relative one is taken from the working folder.
QString absolutePath(const QString& path);

// Creates exactly one folder; its parent must exist. False on any failure.
bool makeDirectory(const QString& path);

// What a folder listing found. `complete` is false when reading the folder failed
// part-way (or could not start); `names` then holds what was read before that, and
// `reason` says what went wrong.
struct Listing {
    QStringList names;
    bool complete = true;
    QString reason;
};

// Decides on a name, given as the file system's bytes, before it is decoded.
using NameFilter = std::function<bool(std::string_view name)>;

// The visible plain files directly in `folder`, in the file system's own order:
// regular files and links to them; no folders, no dot-named (hidden) entries, no
// dangling links, devices, pipes or sockets. Only names `wanted` accepts are kept.
Listing plainFiles(const QString& folder, const NameFilter& wanted);

// A whole small file, read without ever blocking or running away: a pipe, a
// device or a folder is not read, nor a file larger than `maxBytes`.
struct FileContent {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    QByteArray bytes;
    QString reason; // why the file was Unreadable
};
FileContent readSmallFile(const QString& path, qint64 maxBytes);

// Replaces the file with `bytes` atomically: a new file beside it, renamed over it
// once it is complete, so a crash or a full disk never leaves half a file. A link
// is followed, and the file keeps its permissions. Returns the reason on failure.
std::optional<QString> replaceFile(const QString& path, const QByteArray& bytes);

} // namespace FileSystem
