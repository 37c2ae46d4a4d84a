#pragma once

#include "engine/client/Conversion.h"

#include <QtGlobal>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

// The rule for working ahead of the run, in one place: which of the announced documents
// are queued for the helpers and in which order, and which of the documents waiting for
// a helper a helper with room takes next. Whatever it chooses, the run still gets its
// results in its own order (LibreOfficeService waits for each at its turn).
//
// The rule: the whole run is planned, as far as its documents are estimated (estimates
// come in batches after the run begins; a document not estimated yet is queued only at
// its turn). The documents likely to take long (see ConversionCostEstimate) are queued
// first, longest first, so that none of them starts late and keeps the run waiting at
// its end while the other helpers idle; the rest follow in the run's order, so that the
// run can write each soon after it is done.
// What is held ahead of the run (staged copies and pages waiting for their turn) stays
// under a cap: a document is queued only when its likely bytes fit beside what is held,
// except the one whose turn it is, which is always queued however large it is. A helper
// converting a long document takes no second one behind it, so that the other helpers
// get the rest; and documents likely to need much memory (many pictures) are not
// converted at once while their extra memory would pass a budget, so that the helpers
// together stay under a gigabyte.
class LookAhead {
public:
    using Queue = std::deque<std::shared_ptr<Conversion>>;

    // What the rule knows of each document of the run.
    struct Document {
        double milliseconds = 0; // likely processor time
        qint64 stagedBytes = 0;  // likely bytes of its staged copy and page
        qint64 memoryBytes = 0;  // likely memory a helper needs for it beyond its own
        bool stagedOnDisk = false; // too large to stage in memory (see StagingArea)
    };

    // What is held ahead of the run: in the staging folder, and in the one on disk that
    // large documents spill to.
    struct Held {
        qint64 inMemory = 0;
        qint64 onDisk = 0;
    };

    // The extra memory of the documents converted at once, beside the helpers' own
    // (some 300 MB each): two helpers stay under a gigabyte.
    static constexpr qint64 memoryBudget = qint64(400) << 20;
    // The most that large documents, staged on disk, hold ahead of the run: a few dozen
    // of them. They do not count against the cap in memory, else a 70 MB document would
    // wait there until small ones left it room, which they never do for long.
    static constexpr qint64 diskCap = qint64(2) << 30;

    // The most held ahead of the run: 512 MB, or a quarter of `availableMemory` when that
    // is less (staged files live in memory when the system has a folder there), but never
    // under 64 MB.
    static qint64 capFor(qint64 availableMemory);

    // The run of `count` documents begins, with at most `capBytes` held ahead; none of
    // them is estimated yet.
    void begin(qsizetype count, qint64 capBytes);
    // The run of `documents`, in its order and all estimated, begins.
    void begin(const std::vector<Document>& documents, qint64 capBytes);
    // What the documents from place `first` on are likely to cost: those not queued yet
    // are planned again with them. Estimates beyond the run are ignored.
    void estimate(qsizetype first, const std::vector<Document>& estimates);
    // The document to queue next, by its place in the run: the one at `turn` when it is
    // not queued yet; else the first in the rule's order from `turn` on that is not
    // queued and fits beside what is `held` under its cap. Nothing when none is to be
    // queued now. The one returned counts as queued.
    std::optional<qsizetype> another(qsizetype turn, Held held);
    // Whether the document at `index` is one of those likely to take long.
    bool isLong(qsizetype index) const { return documents[std::size_t(index)].isLong; }
    const Document& document(qsizetype index) const { return documents[std::size_t(index)]; }

    // What the other helpers are converting.
    struct Elsewhere {
        qint64 memory = 0;         // the extra memory their documents need
        bool convertingLong = false; // one of them is converting a long document
    };
    // The waiting conversion a helper that holds `held` takes now; waiting.end() when it
    // is to wait.
    Queue::iterator next(Queue& waiting, const Queue& held, Elsewhere elsewhere) const;

private:
    // Long: this many times the median, and at least a second.
    static constexpr double longAgainstMedian = 3;
    static constexpr double longAtLeast = 1000;

    // Orders the estimated documents that are not queued yet.
    void plan();

    struct Planned : Document {
        bool estimated = false;
        bool isLong = false;
        bool queued = false;
    };
    std::vector<Planned> documents;
    std::vector<qsizetype> order; // the places of the estimated documents, in the order they are queued
    std::size_t firstOpen = 0;    // in `order`: all before it are queued or passed over
    qint64 cap = 0;
};
