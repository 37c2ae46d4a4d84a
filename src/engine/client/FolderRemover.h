#pragma once

#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Removes folders on a thread of its own: unlinking a staged page and its pictures
// takes tens of milliseconds on a busy disk, too long for a window's thread to wait.
// Whatever is queued is gone once the remover is destroyed.
class FolderRemover {
public:
    FolderRemover();
    ~FolderRemover();
    FolderRemover(const FolderRemover&) = delete;
    FolderRemover& operator=(const FolderRemover&) = delete;

    void remove(const QString& folder);

private:
    void run();

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<QString> queue;
    bool stopping = false;
    std::thread worker; // last: it starts once the rest exists
};
