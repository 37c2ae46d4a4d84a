#pragma once

#include <atomic>
#include <thread>

// Ctrl+C, SIGTERM and SIGHUP ask a run to stop instead of killing the process, so
// that it can end its helpers and remove what it staged.
//
// The signal handler only writes to a pipe. A watcher thread reads it, records the
// signal, and ends every child process of this program (the LibreOffice helpers)
// again and again until the object is destroyed: the main thread may be waiting for
// a helper's answer, and a helper's death ends that wait at once, whichever helper
// the engine has started meanwhile.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal received first, 0 while none has come.
    int received() const { return signal.load(); }
    // The exit status after a signal: 128 + its number.
    int exitStatus() const { return 128 + received(); }

private:
    void watch();

    std::atomic<int> signal{0};
    int pipeEnds[2] = {-1, -1};
    std::thread watcher;
};
