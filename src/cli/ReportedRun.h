#pragma once

#include "cli/Reporter.h"
#include "run/ConversionRun.h"

#include <functional>

// A run reported on the command line: each document's line as it finishes; `stop`
// (a signal, or the reader of the lines gone) ends the run between documents.
class ReportedRun final : public RunObserver {
public:
    ReportedRun(Reporter& reporter, std::function<bool()> stop) : reporter(reporter), stop(std::move(stop)) {}

    void documentFinished(const PlannedDocument& document, const DocumentResult& result) override
    {
        reporter.document({document.source, result.output, result.converted, result.milliseconds, result.message});
    }
    bool stopRequested() override { return stop(); }
    void outputFolderLost(const QString& reason) override { lostReason = reason; }

    QString lostReason; // why the output folder could take no more pages, if it could not

private:
    Reporter& reporter;
    std::function<bool()> stop;
};
