#pragma once

#include "engine/protocol/HelperProtocol.h"

#include <QByteArray>
#include <QList>
#include <QProcess>

#include "engine/client/HelperTempFolder.h"
#include <QString>

#include <chrono>
#include <optional>
#include <stdexcept>

// Why a request to the helper got no answer, or why the helper did not start.
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

// One running LibreOffice helper process, spoken to synchronously over its pipes.
class LibreOfficeHelperProcess {
public:
    // Starts the process; it loads LibreOffice in the background until waitUntilReady().
    LibreOfficeHelperProcess(const QString& helperPath, const QString& libreOfficeProgramFolder,
                             const QString& profileFolder);
    // Ends the process: asks it to quit, and kills it if it does not.
    ~LibreOfficeHelperProcess();
    LibreOfficeHelperProcess(const LibreOfficeHelperProcess&) = delete;
    LibreOfficeHelperProcess& operator=(const LibreOfficeHelperProcess&) = delete;

    // Waits for LibreOffice to be loaded; throws HelperFailure otherwise.
    void waitUntilReady(std::chrono::milliseconds timeout);
    // Sends one request and waits for its answer. On Died or a timeout the process is gone.
    QList<QByteArray> request(const QList<QByteArray>& words, std::chrono::milliseconds timeout);

    // Also notices a process that died since the last request.
    bool isRunning();
    qint64 processId() const;

private:
    QByteArray readLine(std::chrono::milliseconds timeout, HelperFailure::Kind onDeath);
    void kill();

    HelperTempFolder tempFolder; // outlives the process
    QProcess process;
    bool ready = false;
};
