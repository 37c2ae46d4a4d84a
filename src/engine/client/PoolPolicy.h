#pragma once

#include <QtGlobal>

// The pool's rules, apart from any process or file: how many helpers to run, when to
// give up starting them, when a helper is worn out, and when a document is to blame
// for the helpers that died under it. The pool tells it what happened and asks it what
// to do.
class PoolPolicy {
public:
    PoolPolicy(int documentsPerHelper, qint64 wornBytes);

    // The number of helpers for a run of `documents` documents: `requested` when the
    // settings name a number, never more than the documents; else one per core while
    // `availableBytes` of free memory allows about 600 MB a helper, never more than the
    // documents, and one alone for a run of one or two.
    static int helpersForRun(int requested, int documents, int cores, qint64 availableBytes);

    // How many helpers to keep while there is work (at least one). Starting is tried again.
    void setSize(int helpers);
    int size() const { return helpers; }

    // Starting: two failures in a row, and no more helpers are started until asked again.
    void helperReady() { failuresInARow = 0; }
    void startFailed() { ++failuresInARow; }
    // No helper can start at all (no profile): as if starting had failed enough.
    void cannotStart() { failuresInARow = startTriesInARow; }
    void tryStartingAgain() { failuresInARow = 0; }
    bool gaveUpStarting() const { return failuresInARow >= startTriesInARow; }
    // Whether to start another helper beside the `running` ones.
    bool startAnother(int running, bool work) const { return work && running < helpers && !gaveUpStarting(); }

    // Whether a helper that converted `documents` documents is to be replaced;
    // `residentBytes` is asked for only when its memory counts.
    template <typename ResidentBytes>
    bool worn(int documents, ResidentBytes&& residentBytes) const
    {
        return documents >= documentsPerHelper || (documents > 0 && residentBytes() > wornBytes);
    }

    // What becomes of a document that was on a helper when the helper was lost.
    enum class AfterLoss { TryAgain, Fail };
    // `underWay`: the helper was converting it (not merely holding it queued behind
    // another); `crashed`: the helper died of itself, rather than being ended for a
    // timeout or failing to start. `crashes` counts the helpers the document brought
    // down: a crash may be another's fault once, so the second one fails it.
    AfterLoss afterLoss(bool underWay, bool crashed, int& crashes) const;

private:
    static constexpr int startTriesInARow = 2;
    static constexpr int crashesToFail = 2;

    const int documentsPerHelper;
    const qint64 wornBytes;
    int helpers = 1;
    int failuresInARow = 0;
};
