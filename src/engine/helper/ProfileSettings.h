#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Writes the settings LibreOffice must run with into the private profile folder:
// macros never run, no lock files beside the user's documents, no recovery data.
// A non-empty `libreOfficeVersion` marks the profile as last run by that version;
// Word's import filters keep their installed `wordFilterFlags` (see
// installedWordFilterFlags) but two that only cost time.
// Returns an empty string, or the reason the settings could not be written.
QString writeProfileSettings(const QString& profileFolder, const QString& libreOfficeVersion,
                             const QHash<QString, QStringList>& wordFilterFlags = {});
