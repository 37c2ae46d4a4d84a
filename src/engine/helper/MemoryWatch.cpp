#include "MemoryWatch.h"

#include "MemoryExhaustion.h"
#include "engine/files/ProcFiles.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr auto Interval = std::chrono::milliseconds(50);
// Far more than a document grows by in one interval, and little of what it may use.
constexpr qint64 Margin = qint64(64) << 20;

// Reads and judges without allocating: memory may be all but gone when it matters.
void watch(const std::stop_token& stop, qint64 bound)
{
    const ProcFiles::OwnStatm statm;
    if (!statm.isOpen())
        return;
    while (!stop.stop_requested()) {
        const qint64 data = statm.dataBytes();
        if (data < 0)
            return;
        if (data > bound)
            endRequestForLackOfMemory();
        std::this_thread::sleep_for(Interval);
    }
}

} // namespace

MemoryWatch::MemoryWatch(qint64 limit)
{
    if (limit > 0)
        thread = std::jthread(watch, limit - std::min(limit / 16, Margin));
}
