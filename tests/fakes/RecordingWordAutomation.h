#pragma once

#include "engine/word/WordAutomation.h"

#include <QStringList>
#include <functional>
#include <optional>

// Records every call, in order, as "CreateObject", "Open <path>",
// "SaveAs <path> <format>", "Close" and "Quit"; `fault` may make any call fail.
class RecordingWordAutomation final : public WordAutomation {
public:
    std::unique_ptr<WordApplication> CreateObject() override;
    // Called with the call's record before it is recorded as done; an error
    // returned here is thrown from the call.
    std::function<std::optional<AutomationError>(const QString& call)> fault;
    // Called after a successful SaveAs, e.g. to write a file where the output goes.
    std::function<void(const QString& outputPath, int32_t format)> onSaveAs;

    QStringList calls;
    int createdObjects = 0;

    void record(const QString& call);
};
