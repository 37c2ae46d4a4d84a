#pragma once

#include <QByteArray>
#include <QString>

// Known ways for a document's markup to make LibreOffice read a local file while it
// loads, taken out: an RTF's INCLUDEPICTURE fields (see RtfPictureFields.h) and the SVG
// pictures of an HTML page (see SvgReferences.h). A guard beside the sandbox, which may
// be missing and lets LibreOffice read its own installation. Gives the document's
// content without them, or a null array when it holds none.
QByteArray disarmedDocument(const QString& path);
