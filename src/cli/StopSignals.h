#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// Ctrl+C, SIGTERM and SIGHUP ask a run to stop instead of killing the process, so
// that it can end its helpers and remove what it staged.
//
// The signal handler only writes to a pipe. A watcher thread reads it, records the
// signal and calls the stop action once (the engine's stop, which ends the helpers
// and the wait for them): the main thread may be waiting for a helper's answer.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // What a signal does, from the watcher's thread; called at once when a signal has
    // come already. An empty action is none (set one before what it uses goes).
    void setOnStop(std::function<void()> action);
    // The signal received first, 0 while none has come.
    int received() const { return signal.load(); }
    // The exit status after a signal: 128 + its number.
    int exitStatus() const { return 128 + received(); }

private:
    void watch();

    std::atomic<int> signal{0};
    std::mutex stopping; // guards onStop, and its call
    std::function<void()> onStop;
    int pipeEnds[2] = {-1, -1};
    std::thread watcher;
};
