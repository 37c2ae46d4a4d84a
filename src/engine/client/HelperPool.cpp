#include "engine/client/HelperPool.h"

#include "engine/client/DocumentCopy.h"
#include "engine/client/EngineErrors.h"
#include "engine/client/HelperTempFolder.h"
#include "engine/client/ScratchFolder.h"
#include "engine/files/LocalFileName.h"
#include "engine/files/ProcFiles.h"
#include "engine/protocol/HelperProtocol.h"

#include <QEventLoop>
#include <QLocale>
#include <QThread>
#include <QTimer>

#include <algorithm>

#include <sys/stat.h>

using LibreOfficeHelperProtocol::HelperError;
using LibreOfficeHelperProtocol::wireWord;

namespace {

// A crash is another's only once; a document that brings down two helpers fails.
constexpr int crashesToFail = 2;
constexpr int startTriesInARow = 2;

} // namespace

int automaticHelperCount(int documents)
{
    if (documents <= 2)
        return 1;
    constexpr qint64 perHelper = qint64(600) << 20;
    const qint64 byMemory = std::max<qint64>(1, ProcFiles::availableMemory() / perHelper);
    const int byCores = std::max(1, QThread::idealThreadCount());
    return int(std::clamp<qint64>(std::min<qint64>(byCores, byMemory), 1, documents));
}

HelperPool::HelperPool(const LibreOfficeSettings& settings, const std::atomic<bool>& stopRequested)
    : settings(settings), stopRequested(stopRequested), callTimeout(settings.callTimeout), scratch(scratchFolder()),
      staging(scratch), worker(std::make_shared<StagingWorker>())
{
    if (scratch != QDir::tempPath())
        largeStaging.emplace(QDir::tempPath());
}

const StagingFolder& HelperPool::stagingFor(const QString& documentPath) const
{
    struct stat status {};
    const bool large = ::stat(LocalFileName::encode(documentPath).constData(), &status) == 0
                       && status.st_size > largestDocumentInMemory;
    return large && largeStaging && largeStaging->isValid() ? *largeStaging : staging;
}

QStringList HelperPool::stagingFolders() const
{
    QStringList folders;
    for (const StagingFolder* folder : {&staging, largeStaging ? &*largeStaging : nullptr})
        if (folder && folder->isValid())
            folders.append(folder->path());
    return folders;
}

HelperPool::~HelperPool()
{
    waiting.clear();
    helpers.clear();
}

qint64 HelperPool::firstProcessId()
{
    pump();
    for (const Helper& helper : helpers)
        if (helper.process->poll() == HelperProcess::State::Ready)
            return helper.process->processId();
    return 0;
}

void HelperPool::setSize(int count)
{
    size = std::max(1, count);
    startFailures = 0;
}

std::optional<AutomationError> HelperPool::ensureReady()
{
    startFailures = 0;
    for (;;) {
        pump();
        if (stopRequested.load())
            return EngineErrors::stopped();
        for (Helper& helper : helpers)
            if (helper.process->poll() == HelperProcess::State::Ready)
                return std::nullopt;
        if (helpers.empty()) {
            if (startFailures >= startTriesInARow)
                return startProblem;
            launch();
            continue;
        }
        waitForActivity();
    }
}

std::shared_ptr<Conversion> HelperPool::enqueue(const QString& documentPath, bool first)
{
    const QByteArray id = QByteArray::number(++lastId);
    const StagingFolder& root = stagingFor(documentPath);
    auto conversion = std::make_shared<Conversion>(
        documentPath, root.isValid() ? root.filePath(QString::fromLatin1(id)) : QString(), id, worker);
    if (first)
        waiting.push_front(conversion);
    else
        waiting.push_back(conversion);
    return conversion;
}

void HelperPool::forget(const std::shared_ptr<Conversion>& conversion)
{
    std::erase(waiting, conversion);
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
// every event but user input meanwhile.
void HelperPool::waitForActivity()
{
    QEventLoop loop;
    for (Helper& helper : helpers) {
        QProcess* process = &helper.process->signalSource();
        QObject::connect(process, &QProcess::readyReadStandardOutput, &loop, &QEventLoop::quit);
        QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    }
    QObject::connect(worker.get(), &StagingWorker::copied, &loop, &QEventLoop::quit);
    if (worker->takeFinished())
        return;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void HelperPool::finish(Conversion& conversion, Conversion::Outcome outcome)
{
    conversion.outcome = outcome;
    conversion.stage = Conversion::Stage::Done;
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
    for (Helper& helper : helpers) {
        const HelperProcess::State state = helper.process->poll();
        if (state == HelperProcess::State::Starting && helper.deadline.hasExpired())
            helper.process->kill();
        if (state == HelperProcess::State::Ready)
            startFailures = 0;
        // A helper that ended may have answered for its first documents before: those
        // answers stand, or a healthy document would be charged with the crash.
        if (state == HelperProcess::State::Ready || state == HelperProcess::State::Gone)
            collectAnswers(helper);
    }
    // Lost helpers: failed to start, died, or hung and killed above or in collectAnswers.
    for (auto it = helpers.begin(); it != helpers.end();) {
        const HelperProcess::State state = it->process->poll();
        if (state == HelperProcess::State::Failed) {
            const HelperFailure& failure = *it->process->failure();
            // A profile that turned out unwritable: once more in a temporary one.
            if (failure.refusal == LibreOfficeHelperProtocol::HelperError::NoProfile && profile->fallBackToTemporary()) {
                it = helpers.erase(it);
                continue;
            }
            startProblem = EngineErrors::helperCannotStart(failure, settings.helperPath);
            ++startFailures;
        }
        if (state == HelperProcess::State::Failed || state == HelperProcess::State::Gone) {
            requeueAfterLoss(*it, state == HelperProcess::State::Gone && !it->killedForTimeout);
            it = helpers.erase(it);
        } else if (it->sent.empty() && worn(*it)) {
            it = helpers.erase(it); // asked to quit; a fresh one starts below when needed
        } else {
            ++it;
        }
    }
    // Nothing can convert what waits when no helper starts: say why, once per document.
    if (helpers.empty() && startFailures >= startTriesInARow) {
        for (const auto& conversion : waiting) {
            conversion->noStart = startProblem;
            finish(*conversion, Conversion::Outcome::CannotStart);
        }
        waiting.clear();
    }
    const bool work = !waiting.empty();
    while (work && int(helpers.size()) < size && startFailures < startTriesInARow)
        launch();
    prepareCopies();
    for (Helper& helper : helpers)
        if (helper.process->poll() == HelperProcess::State::Ready)
            dispatch(helper);
    pumping = false;
}

// Helpers are killed, not asked to quit: one may be deep in a long document.
void HelperPool::stopEverything()
{
    for (Helper& helper : helpers) {
        helper.process->kill();
        for (const std::shared_ptr<Conversion>& conversion : helper.sent)
            if (conversion->stage != Conversion::Stage::Done)
                finish(*conversion, Conversion::Outcome::Stopped);
    }
    helpers.clear();
    for (const std::shared_ptr<Conversion>& conversion : waiting)
        finish(*conversion, Conversion::Outcome::Stopped);
    waiting.clear();
}

void HelperPool::collectAnswers(Helper& helper)
{
    while (!helper.sent.empty()) {
        std::optional<QList<QByteArray>> answer = helper.process->takeAnswer();
        if (!answer) {
            if (!helper.deadline.hasExpired() || helper.process->poll() != HelperProcess::State::Ready)
                return;
            // No answer in time: this document is the one it is stuck on. A helper that
            // used the processor for a tenth of the wait was still working on it.
            Conversion& stuck = *helper.sent.front();
            const qint64 used = helper.process->processorMilliseconds() - helper.processorAtDeadlineStart;
            const bool working =
                helper.processorAtDeadlineStart >= 0 && used * 10 >= helper.sinceDeadlineStart.elapsed();
            stuck.lost.emplace(working ? HelperFailure::Kind::TookTooLong : HelperFailure::Kind::StoppedAnswering,
                               QStringLiteral("it did not answer in time"));
            stuck.failedWhileSaving = helper.answersForFirst > 0;
            finish(stuck, Conversion::Outcome::TimedOut);
            helper.sent.pop_front();
            helper.process->kill();
            helper.killedForTimeout = true;
            return;
        }
        startDeadline(helper);
        Conversion& conversion = *helper.sent.front();
        const bool ok = answer->value(0) == LibreOfficeHelperProtocol::Word::Ok;
        if (helper.answersForFirst == 0 && !ok) {
            conversion.outcome = Conversion::Outcome::OpenFailed;
            conversion.errorKind = answer->value(1);
            conversion.detail = QString::fromUtf8(answer->value(2));
        } else if (helper.answersForFirst == 1 && !ok && conversion.outcome == Conversion::Outcome::Converted) {
            conversion.outcome = Conversion::Outcome::SaveFailed;
            conversion.errorKind = answer->value(1);
            conversion.detail = QString::fromUtf8(answer->value(2));
        }
        if (++helper.answersForFirst == 3) {
            finish(conversion, conversion.outcome);
            helper.sent.pop_front();
            helper.answersForFirst = 0;
            ++helper.documents;
        }
    }
}

void HelperPool::requeueAfterLoss(Helper& helper, bool crashed)
{
    // The first document was under way; those behind it never started.
    for (auto it = helper.sent.rbegin(); it != helper.sent.rend(); ++it) {
        Conversion& conversion = **it;
        if (conversion.stage == Conversion::Stage::Done)
            continue;
        const bool underWay = *it == helper.sent.front();
        if (underWay && crashed && ++conversion.crashes >= crashesToFail) {
            conversion.lost = helper.process->failure();
            finish(conversion, Conversion::Outcome::Crashed);
            continue;
        }
        conversion.stage = Conversion::Stage::Waiting;
        conversion.outcome = Conversion::Outcome::Converted;
        conversion.errorKind.clear();
        conversion.detail.clear();
        // What the lost helper left goes, the copy with it, before the copy is made again.
        if (conversion.copy && !conversion.folder.isEmpty())
            worker->remove(conversion.folder);
        conversion.copy.reset();
        waiting.push_front(*it);
    }
    helper.sent.clear();
}

bool HelperPool::worn(const Helper& helper) const
{
    return helper.documents >= settings.documentsPerHelper
           || (helper.documents > 0 && helper.process->residentBytes() > settings.wornBytes);
}

void HelperPool::launch()
{
    if (!profile)
        profile.emplace(settings.profileRoot);
    if (!profile->isValid()) {
        startProblem = EngineErrors::noProfile(profile->problem());
        startFailures = startTriesInARow;
        return;
    }
    if (launched == 0) {
        removeStaleHelperFolders(scratch);
        if (largeStaging)
            removeStaleHelperFolders(QDir::tempPath());
    }
    int slot = 0;
    while (std::any_of(helpers.begin(), helpers.end(), [slot](const Helper& h) { return h.profileSlot == slot; }))
        ++slot;
    Helper helper;
    helper.process = std::make_unique<HelperProcess>(settings.helperPath, settings.libreOfficeProgramFolder,
                                                     profile->folder(slot), scratch, stagingFolders());
    helper.profileSlot = slot;
    helper.deadline.setRemainingTime(settings.startTimeout);
    helpers.push_back(std::move(helper));
    ++launched;
}

void HelperPool::startDeadline(Helper& helper)
{
    helper.deadline.setRemainingTime(callTimeout);
    helper.processorAtDeadlineStart = helper.process->processorMilliseconds();
    helper.sinceDeadlineStart.start();
}
