#pragma once

#include <QByteArray>

// LibreOffice's SVG reader draws what an <image> names, also a file of the machine
// (href="file:///..."), into the picture it imports: a document could publish a local
// picture that way. SVG pictures are therefore handed to it without references that
// leave the picture: an href that is neither "#..." nor a data: URI is dropped (nested
// SVG data: URIs are cleared the same way), and a document type declaration, whose
// entities could name files, is dropped.
QByteArray withoutExternalReferences(const QByteArray& svg);

// Whether `data` is an SVG picture, by its media type or its first bytes.
bool isSvgPicture(const QByteArray& mediaType, const QByteArray& data);

// Every data: URI of an SVG picture in `text` (a page, a style sheet) given back
// without external references; the rest of the text unchanged.
QByteArray withSafeSvgDataUris(const QByteArray& text);
