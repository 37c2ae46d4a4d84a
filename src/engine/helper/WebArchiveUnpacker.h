#pragma once

#include "engine/protocol/HelperProtocol.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// LibreOffice reads a single-file web page (a MIME archive, as Word's "Web Archive"
// saved under a Word name) as plain text. Its page is unpacked beforehand into one
// self-contained HTML file in a private folder, and LibreOffice loads that instead.
// Part names never become file names: the page is the only file written.
struct WebArchiveLimits {
    qint64 archiveSize = qint64(128) << 20; // bytes of the file read at all
    int parts = 10000;
    qint64 pageSize = qint64(128) << 20; // the page written, pictures inlined
};

struct UnpackedWebArchive {
    // Unreadable, TooLarge, or WebArchive when it cannot be unpacked.
    std::optional<LibreOfficeHelperProtocol::HelperError> error;
    QString detail;                        // why, as a sentence's end, when it failed
    std::unique_ptr<QTemporaryDir> folder; // holds the page; removed with this object
    QString pagePath;
};

// `path` is the archive's name as the file system stores it; the page goes into a new
// folder inside `temporaryFolder`. When `path` is a private copy, `ownPath` is where
// the archive itself lies: what the archive does not hold is resolved from there.
UnpackedWebArchive unpackWebArchive(const QByteArray& path, const QString& temporaryFolder,
                                    const WebArchiveLimits& limits = {}, const QByteArray& ownPath = {});
