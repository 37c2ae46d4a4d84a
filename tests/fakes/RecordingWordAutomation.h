#pragma once

#include "engine/word/WordAutomation.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// Records every call, in order, as "CreateObject", "Open <path>",
// "SaveAs <path> <format>", "Close" and "Quit"; `fault` may make any call fail.
class RecordingWordAutomation final : public WordAutomation {
public:
    std::unique_ptr<WordApplication> CreateObject() override;
    // Announcements are kept apart from the calls: they change nothing a call does.
    void Announce(const QStringList& documentPaths, int32_t FileFormat) override
    {
        announcements.push_back({documentPaths, FileFormat});
    }
    // Called with the call's record before it is recorded as done; an error
    // returned here is thrown from the call.
    std::function<std::optional<AutomationError>(const QString& call)> fault;
    // Called after a successful SaveAs, e.g. to write a file where the output goes.
    std::function<void(const QString& outputPath, int32_t format)> onSaveAs;

    struct Announcement {
        QStringList documentPaths;
        int32_t format = 0;
    };
    std::vector<Announcement> announcements;
    QStringList calls;
    int createdObjects = 0;

    void record(const QString& call);
};
