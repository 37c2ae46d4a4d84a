#pragma once

#include <QStringList>
#include <optional>

// The small text files in the program folder that keep the lists between runs:
// UTF-8, lines written with CR LF, read up to CR LF or a lone LF.
namespace StateFile {

inline const QString Settings = QStringLiteral("set.txt");
inline const QString Sources = QStringLiteral("EXCEL.txt");
inline const QString OutputFolders = QStringLiteral("output.txt");

QString path(const QString& programFolder, const QString& fileName);

// Every line of the file; a missing or unreadable file reads as empty.
QStringList readLines(const QString& filePath);

// Replaces the file with `lines`, atomically: the old content stays whole until the
// new one is complete. Returns the reason when the file could not be written.
std::optional<QString> writeLines(const QString& filePath, const QStringList& lines);

} // namespace StateFile
