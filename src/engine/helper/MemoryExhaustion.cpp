#include "MemoryExhaustion.h"

#include "engine/files/PlainDescriptor.h"
#include "engine/protocol/HelperProtocol.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <exception>
#include <new>
#include <unistd.h>

namespace {

enum class State { Idle, Armed, Answering };

// The process-wide state a new-handler needs: it takes no argument.
struct Exhaustion {
    std::atomic<State> state = State::Idle;
    int descriptor = -1;
    QByteArray answers; // changed only while Idle
    std::terminate_handler previousTerminate = nullptr;
};

Exhaustion& exhaustion()
{
    static Exhaustion instance;
    return instance;
}

void onAllocationFailure()
{
    endRequestForLackOfMemory();
    throw std::bad_alloc();
}

// Some of LibreOffice's allocations bypass operator new and throw std::bad_alloc
// themselves when they fail; uncaught, on whatever thread, it ends the helper here.
void onUncaughtException()
{
    if (const std::exception_ptr uncaught = std::current_exception()) {
        try {
            std::rethrow_exception(uncaught);
        } catch (const std::bad_alloc&) {
            endRequestForLackOfMemory();
        } catch (...) {
        }
    }
    if (const std::terminate_handler previous = exhaustion().previousTerminate)
        previous(); // says what was thrown
    std::abort();
}

} // namespace

void endRequestForLackOfMemory()
{
    Exhaustion& self = exhaustion();
    State armed = State::Armed;
    if (self.state.compare_exchange_strong(armed, State::Answering)) {
        writeEvery(self.descriptor, self.answers.constData(), self.answers.size());
        _exit(3);
    }
    if (armed == State::Answering)
        for (;;)
            pause(); // another thread is answering and ending the helper
}

void installMemoryExhaustionHandler(int answerDescriptor)
{
    exhaustion().descriptor = answerDescriptor;
    std::set_new_handler(onAllocationFailure);
    exhaustion().previousTerminate = std::set_terminate(onUncaughtException);
}

void answerIfMemoryRunsOut(const QByteArray& verb, qint64 limit)
{
    Exhaustion& self = exhaustion();
    self.state = State::Idle;
    self.answers = answersWhenMemoryRunsOut(verb, limit);
    self.state = State::Armed;
}

void requestAnswered()
{
    exhaustion().state = State::Idle;
}

QByteArray answersWhenMemoryRunsOut(const QByteArray& verb, qint64 limit)
{
    using namespace LibreOfficeHelperProtocol;
    constexpr double GiB = double(qint64(1) << 30);
    const QByteArray tooMuch = encodeLine(
        {LibreOfficeHelperProtocol::Word::Error, wireWord(HelperError::OutOfMemory),
         limit > 0 ? QByteArray::number(double(limit) / GiB, 'f', 1) + " GiB" : QByteArray()});
    // An open is followed by its save (then without a document) and its close.
    if (verb == LibreOfficeHelperProtocol::Word::Open)
        return tooMuch + encodeLine({LibreOfficeHelperProtocol::Word::Error, wireWord(HelperError::NoDocument), {}}) + encodeLine({LibreOfficeHelperProtocol::Word::Ok});
    if (verb == LibreOfficeHelperProtocol::Word::Save)
        return tooMuch + encodeLine({LibreOfficeHelperProtocol::Word::Ok});
    return encodeLine({LibreOfficeHelperProtocol::Word::Ok});
}
