#pragma once

#include "engine/client/FolderRemover.h"
#include "engine/client/HelperProcess.h"
#include "engine/word/AutomationError.h"

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

// One document turned into LibreOffice's web page (page.html and its pictures) in a
// staging folder of its own, ahead of the run or when the run asks for it. The web
// output for the user is written later, from the staged page, in the run's order.
// The staging folder goes with the last owner of the conversion (removed by `remover`
// when there is one, away from the caller's thread).
struct Conversion {
    enum class Stage { Waiting, Sent, Done };
    enum class Outcome { Converted, OpenFailed, SaveFailed, TimedOut, Crashed, CannotStart };

    Conversion(QString documentPath, QString folder, QByteArray id,
               std::shared_ptr<FolderRemover> remover = nullptr)
        : documentPath(std::move(documentPath)), folder(std::move(folder)), id(std::move(id)),
          remover(std::move(remover))
    {
    }
    ~Conversion()
    {
        if (folder.isEmpty())
            return;
        if (remover)
            remover->remove(folder);
        else
            QDir(folder).removeRecursively();
    }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    QString stagedPage() const { return folder + QStringLiteral("/page.html"); }

    const QString documentPath;
    const QString folder;
    const QByteArray id; // names the document to the helper
    const std::shared_ptr<FolderRemover> remover;
    Stage stage = Stage::Waiting;
    Outcome outcome = Outcome::Converted;
    bool failedWhileSaving = false;         // for TimedOut: which step did not answer
    QByteArray errorKind;                   // the helper's words for OpenFailed and SaveFailed
    QString detail;
    std::optional<HelperFailure> lost;      // for TimedOut and Crashed: what became of the helper
    std::optional<AutomationError> noStart; // for CannotStart
    int crashes = 0;                        // helpers that died under this document
};
