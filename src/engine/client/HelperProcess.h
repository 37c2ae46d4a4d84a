#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>

#include "engine/client/HelperTempFolder.h"
#include <QString>

#include <chrono>
#include <stdexcept>

// Why a request to the helper got no answer.
class HelperFailure : public std::runtime_error {
public:
    enum class Kind { CannotStart, Died, TimedOut };
    HelperFailure(Kind kind, const QString& detail)
        : std::runtime_error(detail.toStdString()), kind(kind), detail(detail)
    {
    }
    Kind kind;
    QString detail;
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

    // Waits for LibreOffice to be loaded; throws HelperFailure(CannotStart) otherwise.
    void waitUntilReady(std::chrono::milliseconds timeout);
    // Sends one request and waits for its answer. On Died or TimedOut the process is gone.
    QList<QByteArray> request(const QList<QByteArray>& words, std::chrono::milliseconds timeout);

    // Also notices a process that died since the last request.
    bool isRunning();
    qint64 processId() const;
    int documentsOpened = 0;

private:
    QByteArray readLine(std::chrono::milliseconds timeout, HelperFailure::Kind onDeath);
    void kill();

    HelperTempFolder tempFolder; // outlives the process
    QProcess process;
    bool ready = false;
};
