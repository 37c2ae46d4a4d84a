#include "MemoryWatch.h"

#include "MemoryExhaustion.h"
#include "engine/files/PlainDescriptor.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>

namespace {

constexpr auto Interval = std::chrono::milliseconds(50);
// Far more than a document grows by in one interval, and little of what it may use.
constexpr qint64 Margin = qint64(64) << 20;

// The data size (heap, private mappings and stacks) that /proc/self/statm tells, in
// bytes; -1 when it cannot be read.
qint64 dataSizeFromStatm(const char* statm, qint64 pageSize)
{
    // size resident shared text lib data dt, in pages
    const char* field = statm;
    for (int skipped = 0; skipped < 5; ++skipped) {
        char* end = nullptr;
        std::strtoll(field, &end, 10);
        if (end == field)
            return -1;
        field = end;
    }
    char* end = nullptr;
    const long long pages = std::strtoll(field, &end, 10);
    return end == field ? -1 : qint64(pages) * pageSize;
}

// Reads and judges without allocating: memory may be all but gone when it matters.
void watch(const std::stop_token& stop, qint64 bound)
{
    const PlainDescriptor statm(open("/proc/self/statm", O_RDONLY | O_CLOEXEC));
    const qint64 pageSize = sysconf(_SC_PAGESIZE);
    if (statm.get() < 0 || pageSize <= 0)
        return;
    while (!stop.stop_requested()) {
        char text[256];
        const ssize_t length = pread(statm.get(), text, sizeof text - 1, 0);
        if (length <= 0)
            return;
        text[length] = '\0';
        if (dataSizeFromStatm(text, pageSize) > bound)
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
