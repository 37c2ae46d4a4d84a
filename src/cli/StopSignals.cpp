#include "cli/StopSignals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr std::array StopSignalNumbers{SIGINT, SIGTERM, SIGHUP};
// The byte the destructor writes: not a signal number.
constexpr char Finished = 0;

// The handler can reach only this: one pipe for the whole process.
std::atomic<int> signalPipe{-1};

void onStopSignal(int number)
{
    const int savedErrno = errno;
    const char byte = char(number);
    if (const int fd = signalPipe.load(); fd >= 0)
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    errno = savedErrno;
}

} // namespace

StopSignals::StopSignals()
{
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // no stop handling: the signals keep their default effect
    signalPipe.store(pipeEnds[1]);
    struct sigaction action {};
    action.sa_handler = &onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : StopSignalNumbers)
        sigaction(number, &action, nullptr);
    watcher = std::thread([this] { watch(); });
}

StopSignals::~StopSignals()
{
    if (!watcher.joinable())
        return;
    const char byte = Finished;
    // The pipe is far from full; a lost byte would only be another signal's.
    [[maybe_unused]] const auto written = ::write(pipeEnds[1], &byte, 1);
    watcher.join();
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int number : StopSignalNumbers)
        sigaction(number, &action, nullptr);
    signalPipe.store(-1);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
}

void StopSignals::setOnStop(std::function<void()> action)
{
    const std::lock_guard lock(stopping);
    onStop = std::move(action);
    if (signal.load() != 0 && onStop)
        onStop();
}

void StopSignals::watch()
{
    for (;;) {
        pollfd readEnd{pipeEnds[0], POLLIN, 0};
        if (::poll(&readEnd, 1, -1) <= 0)
            continue;
        char byte = Finished;
        while (::read(pipeEnds[0], &byte, 1) == 1) {
            if (byte == Finished)
                return;
            int none = 0;
            if (signal.compare_exchange_strong(none, int(byte))) {
                const std::lock_guard lock(stopping);
                if (onStop)
                    onStop();
            }
        }
    }
}
