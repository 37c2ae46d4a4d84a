#include "engine/client/HelperProcess.h"

#include "engine/protocol/HelperProtocol.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <limits>

using namespace std::chrono_literals;

namespace {

int milliseconds(const QDeadlineTimer& deadline)
{
    return int(std::clamp<qint64>(deadline.remainingTime(), 0, std::numeric_limits<int>::max()));
}

} // namespace

LibreOfficeHelperProcess::LibreOfficeHelperProcess(const QString& helperPath,
                                                   const QString& libreOfficeProgramFolder,
                                                   const QString& profileFolder)
{
    process.setProgram(helperPath);
    process.setArguments({libreOfficeProgramFolder, profileFolder});
    process.setProcessEnvironment(tempFolder.environment());
    // LibreOffice talks a lot on its error stream; show it only when asked to.
    if (qEnvironmentVariableIsEmpty("VARNELLO_LOK_LOG"))
        process.setStandardErrorFile(QProcess::nullDevice());
    else
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QIODevice::ReadWrite);
}

LibreOfficeHelperProcess::~LibreOfficeHelperProcess()
{
    if (process.state() == QProcess::NotRunning)
        return;
    if (ready) {
        process.write(LibreOfficeHelperProtocol::encodeLine({"quit"}));
        process.closeWriteChannel();
        if (process.waitForFinished(2000))
            return;
    }
    kill();
}

void LibreOfficeHelperProcess::kill()
{
    process.kill();
    process.waitForFinished(5000);
}

bool LibreOfficeHelperProcess::isRunning()
{
    if (process.state() != QProcess::NotRunning)
        process.waitForFinished(0);
    return process.state() != QProcess::NotRunning;
}

qint64 LibreOfficeHelperProcess::processId() const
{
    return process.processId();
}

void LibreOfficeHelperProcess::waitUntilReady(std::chrono::milliseconds timeout)
{
    if (ready)
        return;
    const QDeadlineTimer deadline(timeout);
    if (!process.waitForStarted(milliseconds(deadline))) {
        const QString reason = process.errorString();
        kill();
        throw HelperFailure(HelperFailure::Kind::CannotStart,
                            QStringLiteral("its helper program %1 could not be run (%2)")
                                .arg(process.program(), reason));
    }
    QList<QByteArray> answer;
    try {
        answer = LibreOfficeHelperProtocol::decodeLine(
            readLine(std::chrono::milliseconds(milliseconds(deadline)), HelperFailure::Kind::CannotStart));
    } catch (const HelperFailure& failure) {
        throw HelperFailure(HelperFailure::Kind::CannotStart, failure.detail);
    }
    if (answer.value(0) != "ready") {
        kill();
        throw HelperFailure(HelperFailure::Kind::CannotStart, QString::fromUtf8(answer.value(1)));
    }
    ready = true;
}

QList<QByteArray> LibreOfficeHelperProcess::request(const QList<QByteArray>& words,
                                                     std::chrono::milliseconds timeout)
{
    if (!isRunning())
        throw HelperFailure(HelperFailure::Kind::Died, QStringLiteral("it is no longer running"));
    process.write(LibreOfficeHelperProtocol::encodeLine(words));
    return LibreOfficeHelperProtocol::decodeLine(readLine(timeout, HelperFailure::Kind::Died));
}

QByteArray LibreOfficeHelperProcess::readLine(std::chrono::milliseconds timeout, HelperFailure::Kind onDeath)
{
    const QDeadlineTimer deadline(timeout);
    while (!process.canReadLine()) {
        if (process.state() == QProcess::NotRunning || !process.waitForReadyRead(milliseconds(deadline))) {
            if (process.canReadLine())
                break;
            if (process.state() == QProcess::NotRunning) {
                const QString how = process.exitStatus() == QProcess::CrashExit
                                        ? QStringLiteral("it stopped unexpectedly")
                                        : QStringLiteral("it ended with code %1").arg(process.exitCode());
                throw HelperFailure(onDeath, how);
            }
            if (deadline.hasExpired()) {
                kill();
                throw HelperFailure(HelperFailure::Kind::TimedOut, QStringLiteral("it did not answer in time"));
            }
        }
    }
    return process.readLine();
}
