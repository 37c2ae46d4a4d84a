#pragma once

#include "engine/client/HelperProcess.h"
#include "engine/word/AutomationError.h"

#include <QString>

#include <chrono>
#include <optional>

// Every error the LibreOffice word processor raises, with its number and the
// sentence the user reads: the engine reports a failure only through these.
namespace EngineErrors {

AutomationError libreOfficeMissing(const QString& programFolder);
AutomationError helperCannotStart(const HelperFailure& failure, const QString& helperPath);
AutomationError noProfile(const QString& problem);
AutomationError shutDown();
// The run was asked to stop before the call could finish.
AutomationError stopped();

AutomationError openFailed(const QString& documentPath,
                           std::optional<LibreOfficeHelperProtocol::HelperError> why, const QString& detail);
// The helper reached its memory limit (`limit`, as it states it) while saving.
AutomationError notEnoughMemoryToSave(const QString& documentPath, const QString& outputPath, const QString& limit);
AutomationError unknownFormat(int32_t format);
AutomationError noDocumentToSave(const QString& outputPath);
AutomationError noDocumentToClose();
AutomationError saveFailed(const QString& outputPath, const QString& reason);
// The helper holding the document ended since it was opened.
AutomationError documentLost(const QString& documentPath);
// A call failed because the helper died or timed out; `doing` is "opening", "saving", ...
AutomationError callFailed(const HelperFailure& failure, const QString& doing, const QString& documentPath,
                           std::chrono::milliseconds timeout);

} // namespace EngineErrors
