#pragma once

#include <QString>

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

} // namespace FileSystem
