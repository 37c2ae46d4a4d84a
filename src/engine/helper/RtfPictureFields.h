#pragma once

#include <QByteArray>

// While it loads an RTF, LibreOffice reads the picture an INCLUDEPICTURE field names and
// keeps it as if it were embedded, whether the field asks for that or only links to it.
// Renames each such field instruction, so that it is loaded as an unknown field and only
// its shown result stays. A guard for helpers without the sandbox (see Sandbox.h), which
// is what stops every read: a field spelt with RTF escapes or split over groups is
// beyond a search for its name. Returns how many it renamed.
int disarmPictureInclusions(QByteArray& rtf);

// True for data LibreOffice reads as RTF, whatever the file's name says.
bool isRtf(const QByteArray& start);
