#pragma once

#include "engine/client/StagingWorker.h"
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
// The document's private copy is made in the staging folder by `worker` ahead of its
// turn; the folder goes with the last owner of the conversion (removed by `worker`
// when there is one, away from the caller's thread).
struct Conversion {
    enum class Stage { Waiting, Sent, Done };
    enum class Outcome { Converted, OpenFailed, SaveFailed, TimedOut, Crashed, CannotStart, Stopped };

    Conversion(QString documentPath, QString folder, QByteArray id,
               std::shared_ptr<StagingWorker> worker = nullptr)
        : documentPath(std::move(documentPath)), folder(std::move(folder)), id(std::move(id)),
          worker(std::move(worker))
    {
    }
    ~Conversion()
    {
        if (folder.isEmpty())
            return;
        if (worker)
            worker->remove(folder);
        else
            QDir(folder).removeRecursively();
    }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    void finish(Outcome ended)
    {
        outcome = ended;
        stage = Stage::Done;
    }

    // The helper moves the page it made, with its pictures, into the folder "page".
    QString stagedPage() const { return folder + QStringLiteral("/page/page.html"); }

    const QString documentPath;
    const QString folder;
    const QByteArray id; // names the document to the helper
    const std::shared_ptr<StagingWorker> worker;
    std::shared_ptr<const StagedCopy> copy; // asked for once the conversion waits for a helper
    QString loadedCopyFolder;               // where the helper keeps the copy it loads
    Stage stage = Stage::Waiting;
    Outcome outcome = Outcome::Converted;
    bool failedWhileSaving = false;         // for TimedOut and Crashed: the step the helper was lost in
    QByteArray errorKind;                   // the helper's words for OpenFailed and SaveFailed
    QString detail;
    std::optional<HelperFailure> lost;      // for TimedOut and Crashed: what became of the helper
    std::optional<AutomationError> noStart; // for CannotStart
    int crashes = 0;                        // helpers that died under this document
    bool expectedLong = false;              // likely to take long (see LookAhead.h)
    qint64 expectedMemory = 0;              // likely memory a helper needs for it
};
