#include "engine/client/HelperProcess.h"

#include "engine/files/LocalFileName.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <limits>
#include <unistd.h>

using namespace std::chrono_literals;
using namespace LibreOfficeHelperProtocol;

namespace {

int milliseconds(const QDeadlineTimer& deadline)
{
    return int(std::clamp<qint64>(deadline.remainingTime(), 0, std::numeric_limits<int>::max()));
}

// The processor time a process has used so far, in milliseconds; -1 when unknown.
qint64 processorTime(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return -1;
    // The command name in brackets may hold blanks; the fields after it are plain.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    // utime and stime are fields 14 and 15 of the whole line, 12 and 13 after the name.
    if (fields.size() < 13)
        return -1;
    const qint64 ticks = fields[11].toLongLong() + fields[12].toLongLong();
    return ticks * 1000 / sysconf(_SC_CLK_TCK);
}

} // namespace

LibreOfficeHelperProcess::LibreOfficeHelperProcess(const QString& helperPath,
                                                   const QString& libreOfficeProgramFolder,
                                                   const QString& profileFolder)
{
    process.setProgram(helperPath);
    // Percent-encoded, the folders reach the helper byte for byte whatever their names hold.
    process.setArguments({QString::fromLatin1(LocalFileName::encode(libreOfficeProgramFolder).toPercentEncoding()),
                          QString::fromLatin1(LocalFileName::encode(profileFolder).toPercentEncoding())});
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
        process.write(encodeLine({"quit"}));
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
        throw HelperFailure(HelperFailure::Kind::NotRunnable, reason);
    }
    const QList<QByteArray> answer = decodeLine(
        readLine(std::chrono::milliseconds(milliseconds(deadline)), HelperFailure::Kind::DiedWhileStarting));
    if (answer.value(0) != "ready") {
        kill();
        if (answer.value(0) == "failed")
            throw HelperFailure(HelperFailure::Kind::Refused, QString::fromUtf8(answer.value(2)),
                                helperErrorFromWire(answer.value(1)));
        throw HelperFailure(HelperFailure::Kind::DiedWhileStarting,
                            QStringLiteral("it answered \u201C%1\u201D").arg(QString::fromUtf8(answer.value(0))));
    }
    ready = true;
}

QList<QByteArray> LibreOfficeHelperProcess::request(const QList<QByteArray>& words,
                                                     std::chrono::milliseconds timeout)
{
    if (!isRunning())
        throw HelperFailure(HelperFailure::Kind::Died, QStringLiteral("it is no longer running"));
    process.write(encodeLine(words));
    return decodeLine(readLine(timeout, HelperFailure::Kind::Died));
}

QByteArray LibreOfficeHelperProcess::readLine(std::chrono::milliseconds timeout, HelperFailure::Kind onDeath)
{
    const QDeadlineTimer deadline(timeout);
    const qint64 processorAtStart = processorTime(process.processId());
    QElapsedTimer waited;
    waited.start();
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
                // A helper that used the processor for a tenth of the wait was still working.
                const qint64 used = processorTime(process.processId()) - processorAtStart;
                kill();
                const bool working = processorAtStart >= 0 && used * 10 >= waited.elapsed();
                throw HelperFailure(working ? HelperFailure::Kind::TookTooLong : HelperFailure::Kind::StoppedAnswering,
                                    QStringLiteral("it did not answer in time"));
            }
        }
    }
    return process.readLine();
}
