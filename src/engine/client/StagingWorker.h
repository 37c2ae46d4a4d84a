#pragma once

#include "engine/client/DocumentCopy.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

// A document's private copy for a helper, made by the StagingWorker. The worker fills
// it in and then sets `ready`; until then only the worker touches it.
struct StagedCopy {
    std::atomic<bool> ready = false;
    bool noFolder = false;    // the document's staging folder could not be made
    HelperDocument document;  // the copy, or why there is none (see DocumentCopy.h)
};

// Makes and removes staged files on a thread of its own, in the order asked: copying
// a large document or unlinking a staged page and its pictures takes too long for a
// window's thread to wait. Whatever is queued is done (copies skipped) once the worker
// is destroyed.
class StagingWorker : public QObject {
    Q_OBJECT
public:
    StagingWorker();
    ~StagingWorker() override;

    // Makes `folder` (inside an existing staging folder) and copies the document into
    // it; `copied` is emitted when the copy is ready.
    std::shared_ptr<const StagedCopy> copy(const QString& documentPath, const QString& folder);
    void remove(const QString& folder);
    // Whether a copy was finished since the last call: one may have been finished
    // before anyone listened for `copied`.
    bool takeFinished() { return finished.exchange(false); }

signals:
    // Emitted on the worker's thread.
    void copied();

private:
    struct Job {
        QString folder;
        QString documentPath;                // empty: remove the folder
        std::shared_ptr<StagedCopy> result;
    };
    void push(Job job);
    void run();

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> queue;
    bool stopping = false;
    std::atomic<bool> finished = false;
    std::thread worker; // last: it starts once the rest exists
};
