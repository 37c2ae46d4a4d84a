#pragma once

#include "engine/client/LibreOfficeSettings.h"
#include "engine/word/WordAutomation.h"

#include <QString>

#include <chrono>
#include <memory>

class LibreOfficeService;

// The word processor as LibreOffice, run in a small pool of helper processes that
// are kept warm between application objects, work ahead on an announced run, and are
// replaced after a crash, a timeout, or by wear. The helpers end with this object.
class LibreOfficeWordAutomation final : public WordAutomation {
public:
    explicit LibreOfficeWordAutomation(const LibreOfficeSettings& settings);
    ~LibreOfficeWordAutomation() override;

    std::unique_ptr<WordApplication> CreateObject() override;
    void Announce(const QStringList& documentPaths, int32_t FileFormat) override;
    void AnnouncePages(const QStringList& documentPaths, const QStringList& pagePaths) override;

    void setCallTimeout(std::chrono::milliseconds timeout);
    // Safe from any thread (a signal watcher): the helpers are ended at once and every
    // call, the one under way included, fails from here on. For stopping a run.
    void stop();
    // A ready helper's process id, 0 when there is none.
    qint64 helperProcessId() const;
    // How many helper processes have been started so far.
    int helperStarts() const;

private:
    std::shared_ptr<LibreOfficeService> service;
};

// The word processor behind the program: LibreOffice, in a helper process of our own.
std::unique_ptr<WordAutomation> makeLibreOfficeWordAutomation(const QString& programFolder);
