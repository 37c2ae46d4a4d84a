#include "engine/client/StagingWorker.h"

#include "engine/files/LocalFileName.h"

#include <QDir>

#include <cerrno>
#include <sys/stat.h>

StagingWorker::StagingWorker() : worker([this] { run(); }) {}

StagingWorker::~StagingWorker()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    worker.join();
}

std::shared_ptr<const StagedCopy> StagingWorker::copy(const QString& documentPath, const QString& folder)
{
    auto result = std::make_shared<StagedCopy>();
    push({folder, documentPath, result});
    return result;
}

void StagingWorker::remove(const QString& folder)
{
    push({folder, QString(), nullptr});
}

void StagingWorker::push(Job job)
{
    {
        std::lock_guard lock(mutex);
        queue.push_back(std::move(job));
    }
    wake.notify_one();
}

void StagingWorker::run()
{
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || !queue.empty(); });
        if (queue.empty())
            return; // stopping, and nothing left
        const Job job = std::move(queue.front());
        queue.pop_front();
        const bool skipCopy = stopping;
        lock.unlock();
        if (!job.result) {
            QDir(job.folder).removeRecursively();
        } else if (!skipCopy) {
            // Not mkpath: a staging folder that is gone (the pool ended) stays gone.
            job.result->noFolder = ::mkdir(LocalFileName::encode(job.folder).constData(), 0700) != 0;
            job.result->document.noRoom = job.result->noFolder && (errno == ENOSPC || errno == EDQUOT);
            if (!job.result->noFolder)
                job.result->document = copyDocumentForHelper(job.documentPath, job.folder);
            job.result->ready.store(true, std::memory_order_release);
            finished.store(true);
            emit copied();
        }
        lock.lock();
    }
}
