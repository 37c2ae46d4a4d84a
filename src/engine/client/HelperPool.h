#pragma once

#include "engine/client/Conversion.h"
#include "engine/client/HelperProcess.h"
#include "engine/client/HelperTempFolder.h"
#include "engine/client/LibreOfficeSettings.h"
#include "engine/client/Profile.h"
#include "engine/client/StagingWorker.h"
#include "engine/word/AutomationError.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A few LibreOffice helpers that convert documents in parallel, each with its own
// profile. Conversions queue in order and are handed to the helpers as they come
// free; a helper that dies under a document is replaced and the document tried once
// more, so only a document that brings down two helpers fails. Helpers are replaced
// by wear (memory or documents) only when they hold no document.
//
// Waiting runs an event loop that leaves user input queued, so a window keeps
// painting and answering the desktop while LibreOffice works.
class HelperPool {
public:
    // Once `stopRequested` is set (from any thread), the pool ends its helpers, starts
    // no more, and every conversion not done ends as stopped.
    HelperPool(const LibreOfficeSettings& settings, const std::atomic<bool>& stopRequested);
    ~HelperPool();
    HelperPool(const HelperPool&) = delete;
    HelperPool& operator=(const HelperPool&) = delete;

    // Waits until one helper is ready, starting one (and a second try) if needed;
    // returns why none could be started.
    std::optional<AutomationError> ensureReady();
    // How many helpers to keep while there is work (at least one).
    void setSize(int helpers);

    // Queues a conversion: behind the others, or first when the caller waits for it.
    std::shared_ptr<Conversion> enqueue(const QString& documentPath, bool first);
    // Takes a conversion nobody wants any more out of the queue; one under way
    // finishes unseen.
    void forget(const std::shared_ptr<Conversion>& conversion);
    void waitUntilDone(const Conversion& conversion);

    void setCallTimeout(std::chrono::milliseconds timeout) { callTimeout = timeout; }
    std::chrono::milliseconds timeout() const { return callTimeout; }
    qint64 firstProcessId();
    int starts() const { return launched; }

private:
    // Two conversions sent to a helper at once keep it busy while the run writes the
    // previous document's output.
    static constexpr std::size_t conversionsPerHelper = 2;

    struct Helper {
        std::unique_ptr<HelperProcess> process;
        int profileSlot = 0;
        int documents = 0;
        std::deque<std::shared_ptr<Conversion>> sent; // in the helper's order
        int answersForFirst = 0;                      // open, save, close
        QDeadlineTimer deadline;                      // for the next answer or for starting
        qint64 processorAtDeadlineStart = -1;         // tells a slow document from a stuck helper
        QElapsedTimer sinceDeadlineStart;
        bool killedForTimeout = false;                // its loss is not the next document's fault
    };

    void pump();
    void stopEverything();
    void collectAnswers(Helper& helper);
    // Puts the documents of a lost helper back in the queue (or fails the one it died on).
    void requeueAfterLoss(Helper& helper, bool crashed);
    void finish(Conversion& conversion, Conversion::Outcome outcome);
    bool worn(const Helper& helper) const;
    void launch();
    // Asks for the private copies of the documents that wait for a helper.
    void prepareCopies();
    void dispatch(Helper& helper);
    bool sendConversion(Helper& helper, Conversion& conversion);
    void startDeadline(Helper& helper);
    void waitForActivity();

    // The staging folder for a document: in memory unless the document is large.
    const StagingFolder& stagingFor(const QString& documentPath) const;
    QStringList stagingFolders() const;

    const LibreOfficeSettings settings;
    const std::atomic<bool>& stopRequested;
    std::chrono::milliseconds callTimeout;
    std::optional<LibreOfficeProfile> profile;
    const QString scratch; // see ScratchFolder.h
    StagingFolder staging;
    std::optional<StagingFolder> largeStaging; // on disk, when `staging` is in memory
    // Documents are copied and staged folders removed away from the window's thread;
    // declared after `staging`, so that the removals end before the staging folder goes.
    std::shared_ptr<StagingWorker> worker;
    std::vector<Helper> helpers;
    std::deque<std::shared_ptr<Conversion>> waiting;
    std::optional<AutomationError> startProblem; // why the last helper could not start
    int startFailures = 0;  // in a row; no more tries after two
    int size = 1;
    int launched = 0;
    quint64 lastId = 0;
    bool pumping = false;
};
