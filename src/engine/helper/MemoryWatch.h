#pragma once

#include <QtGlobal>

#include <thread>

// The data limit alone does not end a growing document cleanly: the allocation that
// fails at the limit may be one of LibreOffice's own (strings, the XML parser), which
// bypass operator new, and then the helper crashes instead of answering. So a thread
// of the helper's own reads its data size every 50 ms and, once a request has taken it
// within 64 MiB (1/16 of smaller limits) of `limit`, answers that request as out of
// memory and ends the helper (see MemoryExhaustion.h) before the limit is reached.
// Documents grow by a few hundred megabytes a second at most, a fraction of the margin
// in 50 ms; a single allocation larger than the margin still meets the limit itself.
//
// Started once the helper is confined, so that the thread is confined too.
class MemoryWatch {
public:
    explicit MemoryWatch(qint64 limit); // no thread without a limit

private:
    std::jthread thread;
};
