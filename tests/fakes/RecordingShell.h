#pragma once

#include "platform/Shell.h"

#include <QStringList>

class RecordingShell final : public Shell {
public:
    void openFolder(const QString& folder) override { openedFolders << folder; }
    void openAddress(const QString& address) override { openedAddresses << address; }

    QStringList openedFolders;
    QStringList openedAddresses;
};
