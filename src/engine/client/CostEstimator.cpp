#include "engine/client/CostEstimator.h"

#include "engine/client/ConversionCostEstimate.h"

#include <QPromise>

#include <algorithm>

namespace {

// Small enough that the first documents are planned at once on a slow disk, large
// enough that planning again after each batch stays cheap in a run of thousands.
constexpr qsizetype batchSize = 64;

void estimateAll(QPromise<CostEstimator::Batch>& promise, const QStringList& documentPaths)
{
    promise.start();
    for (qsizetype first = 0; first < documentPaths.size() && !promise.isCanceled(); first += batchSize) {
        CostEstimator::Batch batch{first, {}};
        const qsizetype end = std::min(documentPaths.size(), first + batchSize);
        for (qsizetype i = first; i < end && !promise.isCanceled(); ++i) {
            const ConversionCostEstimate estimate(documentPaths[i]);
            batch.documents.push_back(
                {estimate.milliseconds(), estimate.stagedBytes(), estimate.memoryBytes(), estimate.stagedOnDisk()});
        }
        promise.addResult(std::move(batch));
    }
    promise.finish();
}

} // namespace

CostEstimator::CostEstimator()
{
    thread.setMaxThreadCount(1);
}

CostEstimator::~CostEstimator()
{
    cancel();
    thread.waitForDone();
}

void CostEstimator::start(const QStringList& documentPaths, Receiver receive)
{
    cancel();
    auto promise = std::make_shared<QPromise<Batch>>();
    watcher = std::make_unique<QFutureWatcher<Batch>>();
    QFutureWatcher<Batch>* current = watcher.get();
    // The watcher lives on this thread: its batches arrive here, and none once it is gone.
    QObject::connect(current, &QFutureWatcherBase::resultsReadyAt, current, [current, receive](int begin, int end) {
        for (int i = begin; i < end; ++i)
            receive(current->resultAt(i));
    });
    current->setFuture(promise->future());
    thread.start([promise, documentPaths] { estimateAll(*promise, documentPaths); });
}

void CostEstimator::cancel()
{
    if (!watcher)
        return;
    watcher->disconnect();
    watcher->future().cancel();
    watcher.reset();
}
