#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// The parts of a single-file web page: a MIME message whose body is a multipart
// (multipart/related as Word and browsers write it). Only the top level is split;
// a nested multipart stays one opaque part, so no input can make the parse recurse.
struct WebArchivePart {
    QByteArray mediaType;       // lower case, "text/plain" when the part names none
    QByteArray charset;         // as the part's Content-Type gives it, lower case
    QByteArray contentLocation; // as written, folded lines joined
    QByteArray contentId;       // without its angle brackets
    QByteArray data;            // decoded from base64 or quoted-printable
};

struct WebArchive {
    QByteArray start;           // the multipart's start parameter (a Content-ID), if any
    QByteArray contentLocation; // the message's own, a base for the parts' locations
    QList<WebArchivePart> parts;
};

struct WebArchiveReadResult {
    std::optional<WebArchive> archive;
    bool tooManyParts = false;
    QByteArray problem; // why it is no web archive, when `archive` is empty
};

WebArchiveReadResult readWebArchive(const QByteArray& message, int maximumParts);

// Exposed for their own tests.
QByteArray decodeQuotedPrintable(const QByteArray& encoded);
