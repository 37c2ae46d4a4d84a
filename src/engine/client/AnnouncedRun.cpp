#include "engine/client/AnnouncedRun.h"

#include "engine/files/ProcFiles.h"

#include <QDirIterator>
#include <QFileInfo>

namespace {

qint64 bytesUnder(const QString& folder)
{
    qint64 total = 0;
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (files.hasNext())
        total += files.nextFileInfo().size();
    return total;
}

} // namespace

void AnnouncedRun::clear()
{
    estimator.cancel();
    planPool = nullptr;
    queued.clear();
    plan.clear();
    turn = 0;
}

void AnnouncedRun::announce(const QStringList& documentPaths, HelperPool& pool)
{
    for (const auto& [index, entry] : queued)
        pool.forget(entry.conversion);
    clear();
    plan = documentPaths;
    if (plan.isEmpty())
        return;
    pool.sizeForRun(int(plan.size()));
    planPool = &pool;
    lookAhead.begin(plan.size(), LookAhead::capFor(ProcFiles::availableMemory()));
    estimator.start(plan, [this](const CostEstimator::Batch& batch) { estimated(batch); });
    queueAhead(pool); // the first document, which goes whatever it costs
}

void AnnouncedRun::estimated(const CostEstimator::Batch& batch)
{
    lookAhead.estimate(batch.first, batch.documents);
    for (auto& [index, entry] : queued) {
        const LookAhead::Document& document = lookAhead.document(index);
        entry.conversion->expectedLong = lookAhead.isLong(index);
        entry.conversion->expectedMemory = document.memoryBytes;
        if (!entry.measured)
            entry.bytes = document.stagedBytes;
    }
    queueAhead(*planPool);
}

void AnnouncedRun::queueAhead(HelperPool& pool)
{
    LookAhead::Held held = heldBytes();
    while (const std::optional<qsizetype> index = lookAhead.another(turn, held)) {
        const LookAhead::Document& document = lookAhead.document(*index);
        std::shared_ptr<Conversion> conversion = pool.enqueue(plan[*index], false);
        conversion->expectedLong = lookAhead.isLong(*index);
        conversion->expectedMemory = document.memoryBytes;
        queued.emplace(*index, Queued{std::move(conversion), document.stagedBytes});
        (document.stagedOnDisk ? held.onDisk : held.inMemory) += document.stagedBytes;
    }
}

LookAhead::Held AnnouncedRun::heldBytes()
{
    LookAhead::Held total;
    for (auto& [index, entry] : queued) {
        if (!entry.measured && entry.conversion->stage == Conversion::Stage::Done) {
            entry.bytes = entry.conversion->folder.isEmpty() ? 0 : bytesUnder(entry.conversion->folder);
            entry.measured = true;
        }
        (lookAhead.document(index).stagedOnDisk ? total.onDisk : total.inMemory) += entry.bytes;
    }
    return total;
}

void AnnouncedRun::letGoBefore(qsizetype index, HelperPool& pool)
{
    for (auto it = queued.begin(); it != queued.end() && it->first < index;) {
        pool.forget(it->second.conversion);
        it = queued.erase(it);
    }
}

std::shared_ptr<Conversion> AnnouncedRun::take(const QString& path, HelperPool& pool)
{
    const qsizetype at = plan.indexOf(path, turn);
    if (at < 0)
        return nullptr; // not announced: converted now
    // Documents the run passed over are not wanted any more.
    letGoBefore(at, pool);
    turn = at + 1;
    std::shared_ptr<Conversion> conversion;
    if (const auto found = queued.find(at); found != queued.end()) {
        conversion = std::move(found->second.conversion);
        queued.erase(found);
    }
    queueAhead(pool);
    return conversion;
}
