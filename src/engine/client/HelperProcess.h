#pragma once

#include "engine/client/HelperTempFolder.h"
#include "engine/files/PlainDescriptor.h"
#include "engine/protocol/HelperProtocol.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

// Why a request to a helper got no answer, or why the helper did not start.
class HelperFailure : public std::runtime_error {
public:
    enum class Kind {
        NotRunnable,       // the helper program could not be run at all
        DiedWhileStarting, // it ran, but ended before it was ready
        Refused,           // it reported why it cannot serve (see `refusal`)
        Died,              // it ended during a request
        StoppedAnswering,  // a request timed out and the helper did no work meanwhile
        TookTooLong,       // a request timed out while the helper was still working
    };
    HelperFailure(Kind kind, const QString& detail,
                  std::optional<LibreOfficeHelperProtocol::HelperError> refusal = std::nullopt)
        : std::runtime_error(detail.toStdString()), kind(kind), detail(detail), refusal(refusal)
    {
    }
    Kind kind;
    QString detail;
    std::optional<LibreOfficeHelperProtocol::HelperError> refusal;
};

// One running LibreOffice helper process. Requests go out at once; answers are
// collected as they arrive, so several helpers can work while the caller waits for
// any of them (see HelperPool). Nothing here blocks.
class HelperProcess {
public:
    enum class State { Starting, Ready, Failed, Gone };

    // Starts the process; it loads LibreOffice in the background. The helper may write
    // only in its profile, its temporary folder (made in `temporaryBase`) and a work
    // folder of its own in each of the `stagingFolders`; in the staging folders
    // themselves it may only place the pages it made, never read.
    HelperProcess(const QString& helperPath, const QString& libreOfficeProgramFolder, const QString& profileFolder,
                  const QString& temporaryBase, const QStringList& stagingFolders);
    // Ends the process: asks a ready one to quit, and kills it if it does not.
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // Reads what has arrived and notices a process that ended; returns the state.
    State poll();
    // Once poll() said Failed or Gone: why.
    const std::optional<HelperFailure>& failure() const { return why; }

    void send(const QList<QByteArray>& words);
    // Hands the helper the document for its next "open" request (see DocumentHandover.h).
    bool handOver(const QString& documentPath);
    // The helper's work folder inside the staging folder `stagingFolder`, or empty.
    QString workFolderIn(const QString& stagingFolder) const;
    // The next complete answer, when one has arrived.
    std::optional<QList<QByteArray>> takeAnswer();

    // Ends a hung or worn process at once.
    void kill();
    qint64 processId() const;
    // The resident memory of the process in bytes, 0 when unknown.
    qint64 residentBytes() const;
    // The processor time the process has used so far in milliseconds, -1 when unknown.
    qint64 processorMilliseconds() const;
    // The object whose signals tell that something arrived or the process ended.
    QProcess& signalSource() { return process; }

private:
    HelperTempFolder tempFolder; // outlives the process
    std::vector<std::unique_ptr<QTemporaryDir>> workFolders; // one in each staging folder
    PlainDescriptor documents;   // the program's end of the handover socket
    QProcess process;
    State state = State::Starting;
    std::optional<HelperFailure> why;
    QList<QList<QByteArray>> answers;
};
