#pragma once

#include <QString>

// Where the engine keeps its short-lived files: the documents handed to the helpers,
// the pages they stage and LibreOffice's own temporary files. A dozen of these are
// made and removed for every document, which costs a disk file system far more than
// the conversion's own writes (on ext4 without a journal, every new file searches past
// the ones removed in the last minutes). So they go to a folder in memory when the
// user has one with room to spare ($XDG_RUNTIME_DIR, else /dev/shm), unless TMPDIR
// names a folder of the user's choice, or the temporary folder is in memory anyway.
QString scratchFolder();

// Documents larger than this are staged in the temporary folder instead: a document's
// copy and page with its pictures take about twice its size, for each of the few
// documents converted ahead of the run.
inline constexpr qint64 largestDocumentInMemory = qint64(16) << 20;
