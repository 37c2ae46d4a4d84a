#pragma once

#include "engine/client/Conversion.h"
#include "engine/client/HelperConnection.h"
#include "engine/client/LibreOfficeSettings.h"
#include "engine/client/LookAhead.h"
#include "engine/client/PoolPolicy.h"
#include "engine/client/StagingArea.h"
#include "engine/word/AutomationError.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

// A few LibreOffice helpers that convert documents in parallel. Conversions queue and
// are handed to the helpers as they come free, in the order `lookAhead` chooses; what
// becomes of a lost or worn helper and of the documents it held, the policy decides
// (see PoolPolicy.h). The helpers and the staged files live in a StagingArea.
//
// Waiting runs an event loop that leaves user input queued, so a window keeps
// painting and answering the desktop while LibreOffice works.
class HelperPool {
public:
    // Once `stopRequested` is set (from any thread), the pool ends its helpers, starts
    // no more, and every conversion not done ends as stopped.
    HelperPool(const LibreOfficeSettings& settings, const std::atomic<bool>& stopRequested, const LookAhead& lookAhead);
    ~HelperPool();
    HelperPool(const HelperPool&) = delete;
    HelperPool& operator=(const HelperPool&) = delete;

    // Waits until one helper is ready, starting one (and a second try) if needed;
    // returns why none could be started.
    std::optional<AutomationError> ensureReady();
    // Sizes the pool for a run of `documents` documents; returns how many helpers it keeps.
    int sizeForRun(int documents);

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
    void pump();
    // Ends every helper at once and every conversion not done as stopped.
    void stopEverything();
    void collectAnswers();
    // Lets go of the helpers that were lost, and of the worn ones that hold nothing.
    void dropLostAndWornHelpers();
    // Puts the conversions of a lost helper back in the queue (or fails the one it died on).
    void requeueAfterLoss(HelperConnection& helper, bool crashed);
    void launch();
    // Asks for the private copies of the conversions that wait for a helper.
    void prepareCopies();
    // Hands waiting conversions to the ready helpers with room.
    void dispatch();
    // Hands `helper` one waiting conversion; false when it takes none now.
    bool dispatchOne(HelperConnection& helper);
    // Fails a conversion whose staged copy cannot be sent; true when it did.
    bool failUnsendable(Conversion& conversion, const HelperConnection& helper) const;
    void waitForActivity();

    const LibreOfficeSettings settings;
    const std::atomic<bool>& stopRequested;
    const LookAhead& lookAhead;
    std::chrono::milliseconds callTimeout;
    PoolPolicy policy;
    StagingArea staging; // outlives the helpers, which work in it
    std::vector<HelperConnection> helpers;
    std::deque<std::shared_ptr<Conversion>> waiting;
    std::optional<AutomationError> startProblem; // why the last helper could not start
    int launched = 0;
    quint64 lastId = 0;
    bool pumping = false;
};
