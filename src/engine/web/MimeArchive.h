#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One part of a web archive: the page or one of its pictures.
struct MimeArchivePart {
    QByteArray mediaType;   // e.g. "text/html" or "image/png"
    QByteArray location;    // Content-Location, an absolute URL the page's references use
    QByteArray data;
};

// An RFC 2557 web archive: one multipart/related message of type text/html whose
// first part is the page and whose other parts are the resources it refers to.
// Text parts travel quoted-printable, the others base64, with CRLF line ends.
QByteArray buildMimeArchive(const QString& subject, const MimeArchivePart& page,
                            const QList<MimeArchivePart>& resources);
