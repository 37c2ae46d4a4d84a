#pragma once

#include "engine/word/WordAutomation.h"

#include <QString>

#include <chrono>
#include <memory>

// Where LibreOffice and its helper are, and the limits they run under.
struct LibreOfficeSettings {
    QString helperPath;               // the varnello-lok executable
    QString libreOfficeProgramFolder; // LibreOffice's program folder
    QString profileRoot;              // where the private profiles live
    std::chrono::milliseconds callTimeout{std::chrono::seconds(120)};
    std::chrono::milliseconds startTimeout{std::chrono::seconds(120)};
    int documentsPerHelper = 100;
    int helpers = 1; // helper processes that may convert at once

    // The helper beside the executable, Debian's LibreOffice, the user's cache folder.
    static LibreOfficeSettings forProgramFolder(const QString& programFolder);
};

class LibreOfficeService;

// The word processor as LibreOffice, run in a helper process that is kept warm
// between application objects and replaced after a crash, a timeout, or
// documentsPerHelper documents. The helper ends with this object.
class LibreOfficeWordAutomation final : public WordAutomation {
public:
    explicit LibreOfficeWordAutomation(const LibreOfficeSettings& settings);
    ~LibreOfficeWordAutomation() override;

    std::unique_ptr<WordApplication> CreateObject() override;

    void setCallTimeout(std::chrono::milliseconds timeout);
    // The running helper's process id, 0 when there is none.
    qint64 helperProcessId() const;
    // How many helper processes have been started so far.
    int helperStarts() const;

private:
    std::shared_ptr<LibreOfficeService> service;
};

// The word processor behind the program: LibreOffice, in a helper process of our own.
std::unique_ptr<WordAutomation> makeLibreOfficeWordAutomation(const QString& programFolder);
