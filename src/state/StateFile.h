#pragma once

#include <QStringList>
#include <optional>

// The small text files in the program folder that keep the lists between runs.
// Written as UTF-8 with CR LF; read as UTF-8, or as UTF-16 when the file begins
// with its byte-order mark, up to CR LF, a lone LF or a lone CR. A path whose
// bytes are not UTF-8 comes back byte for byte (LocalFileName's form).
namespace StateFile {

inline const QString Settings = QStringLiteral("set.txt");
inline const QString Sources = QStringLiteral("EXCEL.txt");
inline const QString OutputFolders = QStringLiteral("output.txt");

// 32,767 sources of up to 4,096 bytes each, with their line ends: no list the
// program writes is larger, so a larger file is not one of its lists.
inline constexpr qint64 MaxBytes = 32767 * (4096 + 2);

QString path(const QString& programFolder, const QString& fileName);

// What reading a state file found. A missing file is an empty list; a file that
// is there but could not be read (a pipe, a folder, a device, too large, no
// permission) is `unreadable`, and is best left as it is.
struct Content {
    QStringList lines;
    bool unreadable = false;
    QString reason;
};
Content read(const QString& filePath);

// Every line of the file; a missing or unreadable file reads as empty.
QStringList readLines(const QString& filePath);

// The lines of a state file's bytes.
QStringList decodeLines(const QByteArray& bytes);

// Replaces the file with `lines`, atomically: the old content stays whole until the
// new one is complete. Returns the reason when the file could not be written.
std::optional<QString> writeLines(const QString& filePath, const QStringList& lines);

} // namespace StateFile
