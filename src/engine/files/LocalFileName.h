#pragma once

#include <QByteArray>
#include <QString>

// File names as Linux stores them: bytes, usually but not always UTF-8.
//
// The program keeps paths as QString. A byte that is not part of valid UTF-8 is kept
// as the lone surrogate U+DC80..U+DCFF, so every name survives the round trip to a
// QString and back byte for byte (Qt's own conversion would replace it with U+FFFD).
// Valid UTF-8 decodes exactly as QString::fromUtf8 decodes it.
namespace LocalFileName {

QString decode(const QByteArray& bytes);
QByteArray encode(const QString& name);

// True when encode() gives what Qt's own file classes would use: the name holds
// no escaped byte, so QFile, QDir and QFileInfo reach the right file.
bool isPlainUtf8(const QString& name);

} // namespace LocalFileName
