#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <thread>

// Samples, on a thread of its own, the resident memory of this process's helper
// processes (descendants with the given name) every few milliseconds, so that a
// user-interface thread blocked in a call still gets measured.
class HelperMemory {
public:
    struct Figures {
        int64_t peakTogether = 0; // bytes, the largest sum of one sample
        int64_t peakSingle = 0;   // bytes, the largest helper of any sample
        int mostAtOnce = 0;
        int started = 0;          // distinct helper processes seen
        int64_t processorMilliseconds = 0; // user and system time of all helpers, as last seen
    };

    explicit HelperMemory(QString processName, int intervalMilliseconds = 20);
    HelperMemory(const HelperMemory&) = delete;
    HelperMemory& operator=(const HelperMemory&) = delete;

    Figures figures() const;

private:
    void sample();

    const QString processName;
    mutable std::mutex mutex;
    Figures result;
    std::set<int> seen;
    std::map<int, int64_t> processorTime; // milliseconds, by helper
    std::jthread sampler; // last: stops and joins before the members it uses go
};
