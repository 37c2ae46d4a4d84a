#pragma once

#include "engine/client/Conversion.h"
#include "engine/client/HelperProcess.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <chrono>
#include <deque>
#include <memory>

// One helper process seen from the program: the conversions sent to it, in its order;
// the three requests each makes (open, save, close) and the answers that settle it;
// and the deadline for its next answer, or for getting ready.
class HelperConnection {
public:
    // Two conversions sent to a helper at once keep it busy while the run writes the
    // previous document's output.
    static constexpr std::size_t conversionsAtOnce = 2;

    HelperConnection(std::unique_ptr<HelperProcess> process, int profileSlot, std::chrono::milliseconds startTimeout);

    HelperProcess& process() { return *helper; }
    const HelperProcess& process() const { return *helper; }
    int profileSlot() const { return slot; }
    // How many documents it converted.
    int documents() const { return converted; }
    bool holdsNothing() const { return sent.empty(); }
    // The conversions sent to it and not settled, in its order.
    const std::deque<std::shared_ptr<Conversion>>& held() const { return sent; }
    bool hasRoom() const { return sent.size() < conversionsAtOnce; }
    // Whether the first conversion it holds was opened: a loss now comes while saving.
    bool firstWasOpened() const { return !sent.empty() && answersForFirst > 0; }
    // Whether it was ended for a late answer: its loss is not another document's fault.
    bool killedForTimeout() const { return timedOut; }
    // Whether it made a work folder of its own in the staging folder `stagingFolder`.
    bool worksIn(const QString& stagingFolder) const { return !helper->workFolderIn(stagingFolder).isEmpty(); }

    // Ends the helper when it is not ready in time.
    void endIfStartIsLate();
    // Hands the helper the conversion's private copy and asks for its page. False, the
    // conversion failed to open, when the copy cannot be handed over.
    bool send(std::shared_ptr<Conversion> conversion, std::chrono::milliseconds callTimeout);
    // Settles the conversions the helper has answered for. When the answer for the
    // first one is late, that one timed out and the helper is killed.
    void collectAnswers(std::chrono::milliseconds callTimeout);
    // The conversions it still holds, in its order, taken off it: it was lost or ended.
    std::deque<std::shared_ptr<Conversion>> takeSent() { return std::exchange(sent, {}); }

private:
    void startDeadline(std::chrono::milliseconds callTimeout);
    void settleFirst(const QList<QByteArray>& answer);
    void timeOutFirst();

    std::unique_ptr<HelperProcess> helper;
    int slot;
    int converted = 0;
    std::deque<std::shared_ptr<Conversion>> sent;
    int answersForFirst = 0;              // of open, save, close
    QDeadlineTimer deadline;              // for the next answer, or for getting ready
    qint64 processorAtDeadlineStart = -1; // tells a slow document from a stuck helper
    QElapsedTimer sinceDeadlineStart;
    bool timedOut = false;
};
