#pragma once

#include "engine/client/LookAhead.h"

#include <QFutureWatcher>
#include <QStringList>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <vector>

// Works out what a run's documents are likely to cost (see ConversionCostEstimate) on a
// thread of its own, in the run's order, and hands the estimates over in batches on the
// thread that asked, from its event loop: reading the directories of thousands of
// documents off a slow or network disk takes seconds that a window cannot wait.
class CostEstimator {
public:
    struct Batch {
        qsizetype first = 0; // the place in the run of the first document estimated
        std::vector<LookAhead::Document> documents;
    };
    using Receiver = std::function<void(const Batch&)>;

    CostEstimator();
    // Waits for the document being read, if any; the rest are not.
    ~CostEstimator();
    CostEstimator(const CostEstimator&) = delete;
    CostEstimator& operator=(const CostEstimator&) = delete;

    // Starts estimating `documentPaths`; `receive` is given each batch. What was being
    // estimated before is dropped: `receive` hears of it no more.
    void start(const QStringList& documentPaths, Receiver receive);
    // Drops what is being estimated.
    void cancel();

private:
    QThreadPool thread; // of one thread
    std::unique_ptr<QFutureWatcher<Batch>> watcher;
};
