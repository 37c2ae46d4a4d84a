#pragma once

#include "platform/FileDialogs.h"

#include <QList>
#include <QString>

// The file-type lists of the file dialogs.
namespace FilterList {

// A list written as description, NUL, pattern, NUL, ... The list ends at its end,
// at an empty description or at a description without a pattern.
QList<FileType> fromNulSeparated(const QString& list);

// ShowSave's filter, written with '|' between its pieces, as a NUL-separated list
// ("*.*|*.*" when the filter is blank).
QString fromBarSeparated(const QString& filter);

} // namespace FilterList
