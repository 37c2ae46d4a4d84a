#pragma once

#include "WebArchiveParts.h"

#include <QByteArray>
#include <QUrl>

// The page of a web archive as one self-contained HTML file that LibreOffice reads as
// any web page: pictures found in the archive (by cid: or by their Content-Location)
// become data: URIs, which LibreOffice embeds; style sheets found in it are inlined;
// the page's charset is declared in the page itself. References to anything else stay
// as written: nothing outside the archive is looked up. They resolve from the page's
// own web address when the archive gives one, else from the archive file itself, as
// those of a web page saved under a Word name do (never from the private copy).
struct WebArchivePage {
    enum class Outcome { Written, NoPage, TooLarge };
    Outcome outcome = Outcome::Written;
    QByteArray html;
};

// `maximumSize` bounds the page written: one picture referenced many times must not
// inline into gigabytes.
WebArchivePage webArchivePage(const WebArchive& archive, const QUrl& archiveFile, qint64 maximumSize);
