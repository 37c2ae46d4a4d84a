#pragma once

#include <QString>

// Qt's file dialogs show and return file names as Qt decodes them, and Qt turns
// every byte that is not UTF-8 into U+FFFD: the path a dialog returns may then
// name no file at all. This finds the file the user picked again, byte for byte,
// by matching each such part of the path against the names in its folder.
//
// Returns the path with those parts in the program's lossless form (see
// LocalFileName), or `shownPath` unchanged when it holds no replaced byte, when
// no name matches, or when two names look alike once decoded.
QString recoverDialogPath(const QString& shownPath);
