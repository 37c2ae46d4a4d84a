#pragma once

#include "engine/files/PlainDescriptor.h"
#include "run/ConversionRun.h"
#include "run/GonePages.h"
#include "run/ManifestFile.h"
#include "run/PublishedIndex.h"
#include "run/UpdateDecision.h"

#include <memory>

// An output folder whose pages are kept track of from run to run: its manifest (one
// for the output folder and all its mirrored sub-folders, at its top), the lock that
// keeps other runs out meanwhile, which documents need converting, the record of what
// the run wrote, the removal of pages whose documents are gone and the indexes. Each
// step is the front end's to take, in this order: lock, load, plan, run through
// recorder(), removeGonePages, save, writeIndexes.
class PublishedFolder {
public:
    // `outputFolder` exists and ends in '/' (see prepareOutputFolder).
    explicit PublishedFolder(QString outputFolder);

    // Whether a manifest is there, so that this run should keep it too.
    static bool hasManifest(const QString& outputFolder);

    OutputFolderLock::Attempt tryLock() { return lock.tryTake(); }
    const LoadedManifest& load();

    // With `skipUpToDate`, the documents whose pages are up to date are left out of
    // the plan; every document keeps the name it was given. With `reserveIndex`, no
    // page may be named like the index.
    UpdatePlan plan(const RunPlan& run, bool skipUpToDate, bool reserveIndex);

    // An observer that records the pages `run` writes, and passes everything on.
    std::unique_ptr<RunObserver> recorder(RunObserver& reported, const UpdatePlan& plan);

    QList<GonePage> removeGonePages() { return ::removeGonePages(root.get(), loaded.manifest); }
    QString save() { return saveManifest(root.get(), loaded.manifest); }
    // The failures are those of this run.
    QStringList writeIndexes(WebFormat format, ExtensionLength extension) const;

private:
    QString outputFolder;
    PlainDescriptor root;
    OutputFolderLock lock;
    LoadedManifest loaded;
    QList<FailedDocument> failed;
};
