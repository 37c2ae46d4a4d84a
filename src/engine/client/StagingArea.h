#pragma once

#include "engine/client/HelperTempFolder.h"
#include "engine/client/Profile.h"
#include "engine/client/StagingWorker.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// Where the helpers and the documents they convert live on disk: the engine's folder
// for short-lived files (see ScratchFolder.h), the staging folders the documents are
// copied into and their pages staged in (in memory when there is room, on disk for
// large documents), the worker that copies and removes staged files away from the
// caller's thread, and the private LibreOffice profiles the helpers start with, one
// slot a helper. What dead runs left in these places is swept before the first helper.
class StagingArea {
public:
    explicit StagingArea(const QString& profileRoot);
    StagingArea(const StagingArea&) = delete;
    StagingArea& operator=(const StagingArea&) = delete;

    // Makes the area ready for a helper: takes the profiles when it has none yet and,
    // before the first helper, sweeps what dead runs left. Why no helper can start, or
    // nothing.
    std::optional<QString> prepareForHelper();
    // The profile folder of slot `slot`.
    QString profileFolder(int slot) const;
    // The lowest slot that is not `taken`.
    static int freeProfileSlot(const std::vector<int>& taken);
    // Moves the profiles to a temporary folder, when the ones under the root turn out
    // unwritable; false when they are there already or it cannot be made.
    bool fallBackToTemporaryProfile();

    // Where a helper keeps its temporary files.
    const QString& scratch() const { return scratchBase; }
    // The staging folders a helper may place pages in.
    QStringList folders() const;
    // The folder the conversion `id` of a document is staged in: in memory unless the
    // document is large. Empty when there is no staging folder.
    QString folderFor(const QString& documentPath, const QByteArray& id) const;
    const std::shared_ptr<StagingWorker>& worker() const { return stagingWorker; }

private:
    const QString profileRoot;
    std::optional<LibreOfficeProfile> profile; // taken when the first helper starts
    const QString scratchBase;
    StagingFolder staging;
    std::optional<StagingFolder> largeStaging; // on disk, when `staging` is in memory
    // Declared after the staging folders, so that its removals end before they go.
    std::shared_ptr<StagingWorker> stagingWorker;
    bool swept = false;
};
