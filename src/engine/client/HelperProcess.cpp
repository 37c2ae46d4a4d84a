#include "engine/client/HelperProcess.h"

#include "engine/protocol/HelperProtocol.h"

#include <QFile>

#include <unistd.h>

HelperProcess::HelperProcess(const QString& helperPath, const QString& libreOfficeProgramFolder,
                             const QString& profileFolder)
{
    process.setProgram(helperPath);
    process.setArguments({libreOfficeProgramFolder, profileFolder});
    // LibreOffice talks a lot on its error stream; show it only when asked to.
    if (qEnvironmentVariableIsEmpty("VARNELLO_LOK_LOG"))
        process.setStandardErrorFile(QProcess::nullDevice());
    else
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QIODevice::ReadWrite);
}

HelperProcess::~HelperProcess()
{
    if (process.state() == QProcess::NotRunning)
        return;
    if (state == State::Ready) {
        process.write(LibreOfficeHelperProtocol::encodeLine({"quit"}));
        process.closeWriteChannel();
        if (process.waitForFinished(2000))
            return;
    }
    kill();
}

HelperProcess::State HelperProcess::poll()
{
    if (state == State::Failed || state == State::Gone)
        return state;
    // Picks up what the pipes hold, and an ending, even when no event loop ran since.
    if (process.state() != QProcess::NotRunning) {
        if (process.bytesAvailable() == 0)
            process.waitForReadyRead(0);
        process.waitForFinished(0);
    }
    while (process.canReadLine()) {
        QList<QByteArray> words = LibreOfficeHelperProtocol::decodeLine(process.readLine());
        if (state == State::Ready) {
            answers.append(std::move(words));
        } else if (words.value(0) == "ready") {
            state = State::Ready;
        } else {
            why = QString::fromUtf8(words.value(1));
            state = State::Failed;
            kill();
            return state;
        }
    }
    if (process.state() == QProcess::NotRunning) {
        if (process.error() == QProcess::FailedToStart)
            why = QStringLiteral("its helper program %1 could not be run (%2)")
                      .arg(process.program(), process.errorString());
        else if (process.exitStatus() == QProcess::CrashExit)
            why = QStringLiteral("it stopped unexpectedly");
        else
            why = QStringLiteral("it ended with code %1").arg(process.exitCode());
        state = state == State::Starting ? State::Failed : State::Gone;
    }
    return state;
}

void HelperProcess::send(const QList<QByteArray>& words)
{
    process.write(LibreOfficeHelperProtocol::encodeLine(words));
}

std::optional<QList<QByteArray>> HelperProcess::takeAnswer()
{
    if (answers.isEmpty())
        return std::nullopt;
    return answers.takeFirst();
}

void HelperProcess::kill()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.kill();
    process.waitForFinished(5000);
}

qint64 HelperProcess::processId() const
{
    return process.processId();
}

qint64 HelperProcess::residentBytes() const
{
    QFile statm(QStringLiteral("/proc/%1/statm").arg(process.processId()));
    if (process.processId() <= 0 || !statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}
