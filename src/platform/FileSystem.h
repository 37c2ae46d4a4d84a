#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string_view>

// What the program needs to know of the file system, on plain std::filesystem.
namespace FileSystem {

enum class EntryKind { Missing, Folder, File, Other };

// What `path` names, following symbolic links. A dangling link, an entry that
// cannot be examined and anything that is neither a folder nor a regular file
// (device, pipe, socket) are not usable: Missing or Other.
EntryKind kindOf(const QString& path);

// The last name of `path`, trailing slashes ignored ("" for the root folder).
QString lastName(const QString& path);

// Creates exactly one folder; its parent must exist. False on any failure.
bool makeDirectory(const QString& path);

// What a folder listing found. `complete` is false when reading the folder failed
// part-way (or could not start); `names` then holds what was read before that.
struct Listing {
    QStringList names;
    bool complete = true;
};

// Decides on a name, given as the file system's bytes (UTF-8), before it is decoded.
using NameFilter = std::function<bool(std::string_view name)>;

// The visible plain files directly in `folder`, in the file system's own order:
// regular files and links to them; no folders, no dot-named (hidden) entries, no
// dangling links, devices, pipes or sockets. Only names `wanted` accepts are kept.
Listing plainFiles(const QString& folder, const NameFilter& wanted);

} // namespace FileSystem
