#include "engine/client/HelperConnection.h"

#include <QLoggingCategory>

#include "engine/client/DocumentCopy.h"
#include "engine/files/LocalFileName.h"
#include "engine/protocol/HelperProtocol.h"

using LibreOfficeHelperProtocol::HelperError;
using LibreOfficeHelperProtocol::wireWord;
namespace Word = LibreOfficeHelperProtocol::Word;

HelperConnection::HelperConnection(std::unique_ptr<HelperProcess> process, int profileSlot,
                                   std::chrono::milliseconds startTimeout)
    : helper(std::move(process)), slot(profileSlot), deadline(startTimeout)
{
}

void HelperConnection::endIfStartIsLate()
{
    if (deadline.hasExpired())
        helper->kill();
}

// The helper is handed the document itself, not its name, and makes a copy of its own
// in its work folder, where no other document of the run lies; the page it makes is
// moved into the conversion's folder, which it may not read. Links inside the document
// resolve from the document's own address.
// What the helpers do and when, for finding where a run waits:
// QT_LOGGING_RULES=varnello.pool.debug=true QT_MESSAGE_PATTERN='%{time process} %{message}'
Q_LOGGING_CATEGORY(poolLog, "varnello.pool", QtWarningMsg)

bool HelperConnection::send(std::shared_ptr<Conversion> conversion, std::chrono::milliseconds callTimeout)
{
    const QString root = conversion->folder.section(QLatin1Char('/'), 0, -2);
    const QString workFolder = helper->workFolderIn(root) + QLatin1Char('/') + QString::fromLatin1(conversion->id);
    conversion->loadedCopyFolder = documentCopyFolder(workFolder);
    const QString loadedCopy = conversion->loadedCopyFolder + QLatin1Char('/')
                               + conversion->copy->document.path.section(QLatin1Char('/'), -1);
    if (!helper->handOver(conversion->copy->document.path)) {
        conversion->errorKind = wireWord(HelperError::Unreadable);
        conversion->detail = QStringLiteral("it cannot be handed to LibreOffice");
        conversion->finish(Conversion::Outcome::OpenFailed);
        return false;
    }
    if (sent.empty())
        startDeadline(callTimeout);
    helper->send({Word::Open, conversion->id, LocalFileName::encode(loadedCopy),
                  LocalFileName::encode(conversion->documentPath)});
    helper->send({Word::Save, conversion->id, LocalFileName::encode(conversion->stagedPage())});
    helper->send({Word::Close, conversion->id});
    conversion->stage = Conversion::Stage::Sent;
    qCDebug(poolLog) << "helper" << slot << "takes" << conversion->documentPath.section(QLatin1Char('/'), -1);
    sent.push_back(std::move(conversion));
    return true;
}

void HelperConnection::collectAnswers(std::chrono::milliseconds callTimeout)
{
    while (!sent.empty()) {
        const std::optional<QList<QByteArray>> answer = helper->takeAnswer();
        if (!answer) {
            if (deadline.hasExpired() && helper->poll() == HelperProcess::State::Ready)
                timeOutFirst();
            return;
        }
        startDeadline(callTimeout);
        settleFirst(*answer);
    }
}

// An answer to one of the first conversion's requests, in their order.
void HelperConnection::settleFirst(const QList<QByteArray>& answer)
{
    Conversion& conversion = *sent.front();
    const bool ok = answer.value(0) == Word::Ok;
    if (answersForFirst == 0 && !ok) {
        conversion.outcome = Conversion::Outcome::OpenFailed;
        conversion.errorKind = answer.value(1);
        conversion.detail = QString::fromUtf8(answer.value(2));
    } else if (answersForFirst == 1 && !ok && conversion.outcome == Conversion::Outcome::Converted) {
        conversion.outcome = Conversion::Outcome::SaveFailed;
        conversion.errorKind = answer.value(1);
        conversion.detail = QString::fromUtf8(answer.value(2));
    }
    if (++answersForFirst == 3) {
        qCDebug(poolLog) << "helper" << slot << "done" << conversion.documentPath.section(QLatin1Char('/'), -1);
        conversion.finish(conversion.outcome);
        sent.pop_front();
        answersForFirst = 0;
        ++converted;
    }
}

// No answer in time: the first conversion is the one the helper is stuck on. A helper
// that used the processor for a tenth of the wait was still working on it.
void HelperConnection::timeOutFirst()
{
    Conversion& stuck = *sent.front();
    const qint64 used = helper->processorMilliseconds() - processorAtDeadlineStart;
    const bool working = processorAtDeadlineStart >= 0 && used * 10 >= sinceDeadlineStart.elapsed();
    stuck.lost.emplace(working ? HelperFailure::Kind::TookTooLong : HelperFailure::Kind::StoppedAnswering,
                       QStringLiteral("it did not answer in time"));
    stuck.failedWhileSaving = answersForFirst > 0;
    stuck.finish(Conversion::Outcome::TimedOut);
    sent.pop_front();
    helper->kill();
    timedOut = true;
}

void HelperConnection::startDeadline(std::chrono::milliseconds callTimeout)
{
    deadline.setRemainingTime(callTimeout);
    processorAtDeadlineStart = helper->processorMilliseconds();
    sinceDeadlineStart.start();
}
