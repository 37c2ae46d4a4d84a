#include "cli/KeptRun.h"

#include "run/PublishedFolder.h"

#include <chrono>
#include <thread>

namespace {

QString shownFolder(const QString& outputFolder)
{
    return outputFolder.size() > 1 ? outputFolder.chopped(1) : outputFolder;
}

// Waits while another run uses the folder; false when a signal came first or the
// lock cannot be had at all (told).
bool lockFolder(PublishedFolder& folder, const QString& outputFolder, Reporter& reporter, const StopSignals& stop)
{
    using namespace std::chrono_literals;
    bool told = false;
    for (;;) {
        switch (folder.tryLock()) {
        case OutputFolderLock::Attempt::Taken: return true;
        case OutputFolderLock::Attempt::Failed:
            reporter.message(QStringLiteral("%1: the lock that keeps other runs out cannot be taken; nothing was "
                                            "converted.")
                                 .arg(shownFolder(outputFolder)));
            return false;
        case OutputFolderLock::Attempt::Busy: break;
        }
        if (!told)
            reporter.message(QStringLiteral("another run is writing into %1; waiting for it to finish.")
                                 .arg(shownFolder(outputFolder)));
        told = true;
        if (stop.received() != 0)
            return false;
        std::this_thread::sleep_for(100ms);
    }
}

// Tells what became of a manifest that could not be read; false when the run cannot go on.
bool reportManifest(const LoadedManifest& loaded, const QString& outputFolder, Reporter& reporter)
{
    if (loaded.state != ManifestState::SetAside)
        return true;
    const QString manifest = outputFolder + RunManifest::FileName;
    if (!loaded.problem.isEmpty()) {
        reporter.message(QStringLiteral("%1 is damaged or not this program's, and it cannot be set aside (%2); "
                                        "nothing was converted.")
                             .arg(manifest, loaded.problem));
        return false;
    }
    reporter.message(QStringLiteral("%1 is damaged or not this program's; it was set aside as %2, and every "
                                    "document is converted.")
                         .arg(manifest, loaded.setAsideAs));
    return true;
}

void removeGonePages(PublishedFolder& folder, const QString& outputFolder, Reporter& reporter, bool& troubled)
{
    for (const GonePage& gone : folder.removeGonePages()) {
        const QString page = outputFolder + gone.entry.path();
        if (gone.removed) {
            reporter.document({gone.entry.source, page, false, 0, QStringLiteral("its document is gone"),
                               DocumentReport::Outcome::Removed});
        } else {
            reporter.message(QStringLiteral("%1 stays although its document is gone: %2.").arg(page, gone.problem));
            troubled = true;
        }
    }
}

// Saves the manifest and writes the indexes.
void finish(PublishedFolder& folder, const ConvertOptions& options, const QString& outputFolder, Reporter& reporter,
            bool& troubled)
{
    if (const QString problem = folder.save(); !problem.isEmpty()) {
        reporter.message(QStringLiteral("%1 cannot be saved (%2); the next run converts every document again.")
                             .arg(outputFolder + RunManifest::FileName, problem));
        troubled = true;
    }
    if (!options.index)
        return;
    for (const QString& problem : folder.writeIndexes(options.format, options.extension)) {
        reporter.message(outputFolder + problem);
        troubled = true;
    }
}

} // namespace

bool keepsManifest(const ConvertOptions& options, const QString& outputFolder)
{
    return options.update || options.removeGone || options.index || PublishedFolder::hasManifest(outputFolder);
}

RunCounts runKept(const ConvertOptions& options, const RunPlan& plan, Reporter& reporter, RunObserver& observer,
                  const StopSignals& stop, const PlanConversion& convert, bool& troubled)
{
    RunCounts counts;
    PublishedFolder folder(plan.outputFolder);
    if (!lockFolder(folder, plan.outputFolder, reporter, stop)
        || !reportManifest(folder.load(), plan.outputFolder, reporter)) {
        counts.notConverted = int(plan.documents.size());
        troubled = true;
        return counts;
    }
    const UpdatePlan update = folder.plan(plan, options.update, options.index);
    for (const UpToDateDocument& upToDate : update.upToDate)
        reporter.document({upToDate.document.source, plan.outputFolder + upToDate.entry.path(), false, 0, {},
                           DocumentReport::Outcome::Skipped});
    if (!update.toConvert.isEmpty()) {
        RunPlan rest = plan;
        rest.documents = update.toConvert;
        rest.takenNames = update.takenNames;
        const std::unique_ptr<RunObserver> recorder = folder.recorder(observer, update);
        counts = convert(rest, *recorder);
    }
    counts.skipped = int(update.upToDate.size());
    // A run cut short leaves the tidying to the next.
    if (options.removeGone && counts.end == RunEnd::Finished)
        removeGonePages(folder, plan.outputFolder, reporter, troubled);
    finish(folder, options, plan.outputFolder, reporter, troubled);
    return counts;
}
