#pragma once

#include <QString>

// Writes the settings LibreOffice must run with into the private profile folder:
// macros never run, no lock files beside the user's documents, no recovery data.
// A non-empty `libreOfficeVersion` marks the profile as last run by that version.
// Returns an empty string, or the reason the settings could not be written.
QString writeProfileSettings(const QString& profileFolder, const QString& libreOfficeVersion);
