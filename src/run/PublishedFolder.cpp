#include "run/PublishedFolder.h"

#include "engine/files/LocalFileName.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr QLatin1StringView IndexName("index");

// Passes everything on to the front end's observer, and keeps what the run wrote in
// the manifest and what failed for the index.
class ManifestRecorder final : public RunObserver {
public:
    ManifestRecorder(RunObserver& reported, const UpdatePlan& plan, RunManifest& manifest,
                     QList<FailedDocument>& failed)
        : reported(reported), plan(plan), manifest(manifest), failed(failed)
    {
    }

    void documentFinished(const PlannedDocument& document, const DocumentResult& result) override
    {
        if (result.converted) {
            const DocumentFingerprint& fingerprint = plan.fingerprints.at(result.index);
            manifest.record({document.outputSubfolder, result.output.mid(result.output.lastIndexOf('/') + 1),
                             UpdateDecision::absolutePath(document.source), fingerprint.size,
                             fingerprint.modifiedNanoseconds, fingerprint.hash, plan.format, plan.extension});
        } else {
            failed.append({document.source, document.outputSubfolder, result.message});
        }
        reported.documentFinished(document, result);
    }
    bool stopRequested() override { return reported.stopRequested(); }
    void outputFolderLost(const QString& reason) override { reported.outputFolderLost(reason); }

private:
    RunObserver& reported;
    const UpdatePlan& plan;
    RunManifest& manifest;
    QList<FailedDocument>& failed;
};

} // namespace

PublishedFolder::PublishedFolder(QString outputFolder)
    : outputFolder(std::move(outputFolder)),
      root(::open(LocalFileName::encode(this->outputFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      lock(root.get())
{
}

bool PublishedFolder::hasManifest(const QString& outputFolder)
{
    struct stat status {};
    return ::lstat(LocalFileName::encode(outputFolder + RunManifest::FileName).constData(), &status) == 0;
}

const LoadedManifest& PublishedFolder::load()
{
    loaded = loadManifest(root.get());
    return loaded;
}

UpdatePlan PublishedFolder::plan(const RunPlan& run, bool skipUpToDate, bool reserveIndex)
{
    UpdatePlan update = UpdateDecision(loaded.manifest, root.get(), run.format, run.extension)
                            .decide(run.documents, skipUpToDate);
    update.format = run.format;
    update.extension = run.extension;
    // A touched document whose content is the same keeps its page: its new time is
    // noted, so that its content is not read again next time.
    for (const ManifestEntry& refreshed : std::as_const(update.refreshed))
        loaded.manifest.record(refreshed);
    if (reserveIndex) {
        update.takenNames << IndexName;
        for (const PlannedDocument& document : std::as_const(update.toConvert))
            if (!document.outputSubfolder.isEmpty())
                update.takenNames << document.outputSubfolder + QLatin1Char('/') + IndexName;
    }
    return update;
}

std::unique_ptr<RunObserver> PublishedFolder::recorder(RunObserver& reported, const UpdatePlan& plan)
{
    return std::make_unique<ManifestRecorder>(reported, plan, loaded.manifest, failed);
}

QStringList PublishedFolder::writeIndexes(WebFormat format, ExtensionLength extension) const
{
    const QString withoutSlash = outputFolder.size() > 1 ? outputFolder.chopped(1) : outputFolder;
    const QString name = withoutSlash.mid(withoutSlash.lastIndexOf(QLatin1Char('/')) + 1);
    return ::writeIndexes(root.get(), name.isEmpty() ? withoutSlash : name, loaded.manifest, format, extension, failed);
}
