#pragma once

#include <QByteArray>

#include <optional>

// Tiny pictures that stand in for a document's photographs while LibreOffice makes its
// page. LibreOffice's web page filter decodes every picture it writes, to name its file
// and to look for transparency, and then writes the picture's own bytes anyway: seconds
// for a document of fifty photographs, for nothing. It decodes a stand-in in no time
// and writes the stand-in's bytes, which are then replaced by the photograph's (see
// LightPackage.h).
namespace StandInPictures {

enum class Type { Other, Jpeg, Png, Gif };

struct Size {
    quint32 width = 0;
    quint32 height = 0;
};

// The type of the picture whose first bytes are `head`, by its content.
Type typeOf(const QByteArray& head);
// The picture's size in pixels, from its header; nothing when the header is not there.
std::optional<Size> sizeOf(const QByteArray& picture);
// Whether LibreOffice writes the picture whose first bytes are `head` as it is, and
// shows it as it is: a JPEG that its EXIF data does not turn, a PNG without
// transparency. Others (and any whose header is not within `head`) keep their bytes.
bool writtenAsStored(const QByteArray& head);
// The stand-in of the given type (a JPEG or a PNG) numbered `number` (from 1): one
// pixel high and `number` pixels wide, so that no two of a document's are alike,
// neither in their bytes nor in their pixels.
QByteArray standIn(Type type, int number);

} // namespace StandInPictures
