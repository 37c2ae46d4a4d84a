#include "engine/client/HelperPool.h"

#include "engine/client/EngineErrors.h"
#include "engine/files/ProcFiles.h"
#include "engine/protocol/HelperProtocol.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

HelperPool::HelperPool(const LibreOfficeSettings& settings, const std::atomic<bool>& stopRequested,
                       const LookAhead& lookAhead)
    : settings(settings), stopRequested(stopRequested), lookAhead(lookAhead), callTimeout(settings.callTimeout),
      policy(settings.documentsPerHelper, settings.wornBytes), staging(settings.profileRoot)
{
}

HelperPool::~HelperPool()
{
    waiting.clear();
    helpers.clear();
}

qint64 HelperPool::firstProcessId()
{
    pump();
    for (HelperConnection& helper : helpers)
        if (helper.process().poll() == HelperProcess::State::Ready)
            return helper.process().processId();
    return 0;
}

int HelperPool::sizeForRun(int documents)
{
    policy.setSize(PoolPolicy::helpersForRun(settings.helpers, documents, QThread::idealThreadCount(),
                                             ProcFiles::availableMemory()));
    return policy.size();
}

std::optional<AutomationError> HelperPool::ensureReady()
{
    policy.tryStartingAgain();
    for (;;) {
        pump();
        if (stopRequested.load())
            return EngineErrors::stopped();
        for (HelperConnection& helper : helpers)
            if (helper.process().poll() == HelperProcess::State::Ready)
                return std::nullopt;
        if (helpers.empty()) {
            if (policy.gaveUpStarting())
                return startProblem;
            launch();
            continue;
        }
        waitForActivity();
    }
}

void HelperPool::waitUntilDone(const Conversion& conversion)
{
    pump();
    while (conversion.stage != Conversion::Stage::Done) {
        waitForActivity();
        pump();
    }
}

// Returns when a helper has said something or ended, or after a short while, running
// every event meanwhile: what user input may do during a call is the front end's to
// decide (the window lets only Escape through).
void HelperPool::waitForActivity()
{
    QEventLoop loop;
    for (HelperConnection& helper : helpers) {
        QProcess* process = &helper.process().signalSource();
        QObject::connect(process, &QProcess::readyReadStandardOutput, &loop, &QEventLoop::quit);
        QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    }
    QObject::connect(staging.worker().get(), &StagingWorker::copied, &loop, &QEventLoop::quit);
    if (staging.worker()->takeFinished())
        return;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
}

void HelperPool::pump()
{
    if (pumping)
        return;
    if (stopRequested.load()) {
        stopEverything();
        return;
    }
    pumping = true;
    collectAnswers();
    dropLostAndWornHelpers();
    // Nothing can convert what waits when no helper starts: say why, once per document.
    if (helpers.empty() && policy.gaveUpStarting()) {
        for (const auto& conversion : waiting) {
            conversion->noStart = startProblem;
            conversion->finish(Conversion::Outcome::CannotStart);
        }
        waiting.clear();
    }
    while (policy.startAnother(int(helpers.size()), !waiting.empty()))
        launch();
    prepareCopies();
    dispatch();
    pumping = false;
}

// Helpers are killed, not asked to quit: one may be deep in a long document.
void HelperPool::stopEverything()
{
    for (HelperConnection& helper : helpers) {
        helper.process().kill();
        for (const std::shared_ptr<Conversion>& conversion : helper.takeSent())
            if (conversion->stage != Conversion::Stage::Done)
                conversion->finish(Conversion::Outcome::Stopped);
    }
    helpers.clear();
    for (const std::shared_ptr<Conversion>& conversion : waiting)
        conversion->finish(Conversion::Outcome::Stopped);
    waiting.clear();
}

void HelperPool::collectAnswers()
{
    for (HelperConnection& helper : helpers) {
        const HelperProcess::State state = helper.process().poll();
        if (state == HelperProcess::State::Starting)
            helper.endIfStartIsLate();
        if (state == HelperProcess::State::Ready)
            policy.helperReady();
        // A helper that ended may have answered for its first documents before: those
        // answers stand, or a healthy document would be charged with the crash.
        if (state == HelperProcess::State::Ready || state == HelperProcess::State::Gone)
            helper.collectAnswers(callTimeout);
    }
}

// Lost helpers: failed to start, died, or hung and killed in collectAnswers.
void HelperPool::dropLostAndWornHelpers()
{
    for (auto it = helpers.begin(); it != helpers.end();) {
        const HelperProcess::State state = it->process().poll();
        if (state == HelperProcess::State::Failed) {
            const HelperFailure& failure = *it->process().failure();
            // A profile that turned out unwritable: once more in a temporary one.
            if (failure.refusal == LibreOfficeHelperProtocol::HelperError::NoProfile
                && staging.fallBackToTemporaryProfile()) {
                it = helpers.erase(it);
                continue;
            }
            startProblem = EngineErrors::helperCannotStart(failure, settings.helperPath);
            policy.startFailed();
        }
        if (state == HelperProcess::State::Failed || state == HelperProcess::State::Gone) {
            requeueAfterLoss(*it, state == HelperProcess::State::Gone && !it->killedForTimeout());
            it = helpers.erase(it);
        } else if (it->holdsNothing() && policy.worn(it->documents(), [&] { return it->process().residentBytes(); })) {
            it = helpers.erase(it); // asked to quit; a fresh one starts when needed
        } else {
            ++it;
        }
    }
}

void HelperPool::requeueAfterLoss(HelperConnection& helper, bool crashed)
{
    const std::optional<HelperFailure> failure = helper.process().failure();
    const bool firstWasOpened = helper.firstWasOpened();
    const std::deque<std::shared_ptr<Conversion>> sent = helper.takeSent();
    // The first one was under way; those behind it never started.
    for (auto it = sent.rbegin(); it != sent.rend(); ++it) {
        Conversion& conversion = **it;
        if (conversion.stage == Conversion::Stage::Done)
            continue;
        const bool underWay = *it == sent.front();
        if (policy.afterLoss(underWay, crashed, conversion.crashes) == PoolPolicy::AfterLoss::Fail) {
            conversion.lost = failure;
            conversion.failedWhileSaving = underWay && firstWasOpened;
            conversion.finish(Conversion::Outcome::Crashed);
            continue;
        }
        conversion.stage = Conversion::Stage::Waiting;
        conversion.outcome = Conversion::Outcome::Converted;
        conversion.errorKind.clear();
        conversion.detail.clear();
        // What the lost helper left goes, the copy with it, before the copy is made again.
        if (conversion.copy && !conversion.folder.isEmpty())
            staging.worker()->remove(conversion.folder);
        conversion.copy.reset();
        waiting.push_front(*it);
    }
}

void HelperPool::launch()
{
    if (const std::optional<QString> problem = staging.prepareForHelper()) {
        startProblem = EngineErrors::noProfile(*problem);
        policy.cannotStart();
        return;
    }
    std::vector<int> taken;
    for (const HelperConnection& helper : helpers)
        taken.push_back(helper.profileSlot());
    const int slot = StagingArea::freeProfileSlot(taken);
    helpers.emplace_back(std::make_unique<HelperProcess>(settings.helperPath, settings.libreOfficeProgramFolder,
                                                         staging.profileFolder(slot), staging.scratch(),
                                                         staging.folders()),
                         slot, settings.startTimeout);
    ++launched;
}
