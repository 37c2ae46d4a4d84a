#include "engine/client/FolderRemover.h"

#include <QDir>

FolderRemover::FolderRemover() : worker([this] { run(); }) {}

FolderRemover::~FolderRemover()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    worker.join();
}

void FolderRemover::remove(const QString& folder)
{
    {
        std::lock_guard lock(mutex);
        queue.push_back(folder);
    }
    wake.notify_one();
}

void FolderRemover::run()
{
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || !queue.empty(); });
        if (queue.empty())
            return; // stopping, and nothing left
        const QString folder = std::move(queue.front());
        queue.pop_front();
        lock.unlock();
        QDir(folder).removeRecursively();
        lock.lock();
    }
}
