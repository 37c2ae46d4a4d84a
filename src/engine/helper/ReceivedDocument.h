#pragma once

#include "engine/protocol/HelperProtocol.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Why the document handed over for an "open" request could not be taken; nothing
// when it was copied.
struct ReceiveFailure {
    LibreOfficeHelperProtocol::HelperError error;
    QString detail;
};

// Takes the next document handed over on `socket` (see DocumentHandover.h) and copies
// it to `copyPath`, a new file in this helper's work folder (its folders are made).
// The helper may read nothing in the staging folder by name, so this copy is the only
// document within its reach while it converts it.
std::optional<ReceiveFailure> receiveDocumentCopy(int socket, const QByteArray& copyPath);
