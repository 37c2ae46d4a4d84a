#pragma once

#include "engine/client/Conversion.h"
#include "engine/client/CostEstimator.h"
#include "engine/client/HelperPool.h"
#include "engine/client/LookAhead.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>

// The announced run's documents and the conversions queued ahead of it in the pool, as
// far as the look-ahead rule wants them; what they hold is counted, so the rule can keep
// it under its cap. The run takes each document's conversion at its turn. The documents'
// likely costs are worked out away from the caller's thread and planned with as they come
// in, from the caller's event loop.
class AnnouncedRun {
public:
    explicit AnnouncedRun(LookAhead& lookAhead) : lookAhead(lookAhead) {}

    // The run's documents, in order, converted in `pool` sized for them; an empty list
    // ends the plan. What was queued for an earlier plan is let go, and its estimates
    // still to come with it. `pool` is to outlive the plan or its clearing.
    void announce(const QStringList& documentPaths, HelperPool& pool);
    // The conversion queued for the document at `path`, taken off the plan; the
    // documents the run passed over on the way are let go. Nothing when it was not
    // queued (the caller converts it now).
    std::shared_ptr<Conversion> take(const QString& path, HelperPool& pool);
    void clear();

private:
    struct Queued {
        std::shared_ptr<Conversion> conversion;
        qint64 bytes = 0;       // likely, until it is done and measured
        bool measured = false;
    };

    void queueAhead(HelperPool& pool);
    // Plans with the estimates of `batch`, also for the conversions queued before them.
    void estimated(const CostEstimator::Batch& batch);
    // The bytes the queued conversions hold, those done as they stand on disk.
    LookAhead::Held heldBytes();
    void letGoBefore(qsizetype index, HelperPool& pool);

    LookAhead& lookAhead;
    QStringList plan;
    qsizetype turn = 0;                  // the place of the document the run takes next
    std::map<qsizetype, Queued> queued;  // by place in the run
    HelperPool* planPool = nullptr;      // the announced run's, while it has one
    CostEstimator estimator;             // last: gone before what its batches reach
};
