#include "engine/client/StagingArea.h"

#include "engine/client/ScratchFolder.h"
#include "engine/files/LocalFileName.h"

#include <QDir>

#include <algorithm>

#include <sys/stat.h>

StagingArea::StagingArea(const QString& profileRoot)
    : profileRoot(profileRoot), scratchBase(scratchFolder()), staging(scratchBase),
      stagingWorker(std::make_shared<StagingWorker>())
{
    if (scratchBase != QDir::tempPath())
        largeStaging.emplace(QDir::tempPath());
}

std::optional<QString> StagingArea::prepareForHelper()
{
    if (!profile)
        profile.emplace(profileRoot);
    if (!profile->isValid())
        return profile->problem();
    if (!swept) {
        removeStaleHelperFolders(scratchBase);
        if (largeStaging)
            removeStaleHelperFolders(QDir::tempPath());
        swept = true;
    }
    return std::nullopt;
}

QString StagingArea::profileFolder(int slot) const
{
    return profile->folder(slot);
}

int StagingArea::freeProfileSlot(const std::vector<int>& taken)
{
    int slot = 0;
    while (std::find(taken.begin(), taken.end(), slot) != taken.end())
        ++slot;
    return slot;
}

bool StagingArea::fallBackToTemporaryProfile()
{
    return profile && profile->fallBackToTemporary();
}

QStringList StagingArea::folders() const
{
    QStringList paths;
    for (const StagingFolder* folder : {&staging, largeStaging ? &*largeStaging : nullptr})
        if (folder && folder->isValid())
            paths.append(folder->path());
    return paths;
}

QString StagingArea::folderFor(const QString& documentPath, const QByteArray& id) const
{
    struct stat status {};
    const bool large = ::stat(LocalFileName::encode(documentPath).constData(), &status) == 0
                       && status.st_size > largestDocumentInMemory;
    const StagingFolder& root = large && largeStaging && largeStaging->isValid() ? *largeStaging : staging;
    return root.isValid() ? root.filePath(QString::fromLatin1(id)) : QString();
}
