#pragma once

#include "engine/files/PlainDescriptor.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Reading and replacing files below an output folder through descriptors, one name at
// a time and never through a symbolic link, so that nothing a run keeps beside its
// pages (its manifest, its index) leads it out of the folder.
namespace TreeAccess {

// A name that stays in its folder: not empty, not "." or "..", without '/' or NUL.
bool isPlainName(const QString& name);
// "" or plain names joined by '/'.
bool isPlainSubfolder(const QString& subfolder);

// The folder `subfolder` ("" for `root` itself, or "a/b") opened below `root`; invalid
// when it is missing or a component is a link or a file.
PlainDescriptor openFolderBelow(int root, const QString& subfolder);

// At most the first `limit` bytes of the regular file `name` in `folder`; nothing when
// it is missing, a link or not a regular file.
std::optional<QByteArray> readStart(int folder, const QByteArray& name, qint64 limit);

// Puts `bytes` in place of the file `name` in `folder` in one step: "" or why not.
QString replaceFile(int folder, const QByteArray& name, const QByteArray& bytes);

} // namespace TreeAccess
