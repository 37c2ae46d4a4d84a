#pragma once

#include "platform/HelpViewer.h"

#include <QStringList>

class RecordingHelpViewer final : public HelpViewer {
public:
    void showHelp(const QString& helpFile) override { shownFiles << helpFile; }

    QStringList shownFiles;
};
