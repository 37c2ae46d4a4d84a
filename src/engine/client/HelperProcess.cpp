#include "engine/client/HelperProcess.h"

#include "engine/files/DocumentHandover.h"
#include "engine/files/LocalFileName.h"
#include "engine/files/ProcFiles.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

QString percentEncoded(const QString& path)
{
    return QString::fromLatin1(LocalFileName::encode(path).toPercentEncoding());
}

} // namespace

HelperProcess::HelperProcess(const QString& helperPath, const QString& libreOfficeProgramFolder,
                             const QString& profileFolder, const QString& temporaryBase,
                             const QStringList& stagingFolders)
    : tempFolder(temporaryBase), documents(-1)
{
    process.setProgram(helperPath);
    // Percent-encoded, the folders reach the helper byte for byte whatever their names hold.
    process.setArguments({percentEncoded(libreOfficeProgramFolder), percentEncoded(profileFolder)});
    QProcessEnvironment environment = tempFolder.environment();
    // Percent-encoding leaves no colon, so one separates the folders.
    QStringList staging;
    QStringList work;
    for (const QString& folder : stagingFolders) {
        auto workFolder = std::make_unique<QTemporaryDir>(folder + QStringLiteral("/helper-XXXXXX"));
        if (!workFolder->isValid())
            continue;
        staging.append(percentEncoded(folder));
        work.append(percentEncoded(workFolder->path()));
        workFolders.push_back(std::move(workFolder));
    }
    environment.insert(QStringLiteral("VARNELLO_LOK_STAGING"), staging.join(QLatin1Char(':')));
    environment.insert(QStringLiteral("VARNELLO_LOK_WORK"), work.join(QLatin1Char(':')));
    // The helper ends when this process does; it tells that it lost its parent by this.
    environment.insert(QStringLiteral("VARNELLO_LOK_PARENT"), QString::number(getpid()));
    const DocumentHandover::SocketPair ends = DocumentHandover::makeSocketPair();
    documents = PlainDescriptor(ends.program);
    const PlainDescriptor helperEnd(ends.helper);
    if (helperEnd.get() >= 0) {
        environment.insert(QStringLiteral("VARNELLO_LOK_DOCUMENTS"), QString::number(helperEnd.get()));
        // Only this child inherits its end of the socket.
        process.setChildProcessModifier([fd = helperEnd.get()] { fcntl(fd, F_SETFD, 0); });
    }
    process.setProcessEnvironment(environment);
    // LibreOffice talks a lot on its error stream; show it only when asked to.
    if (qEnvironmentVariableIsEmpty("VARNELLO_LOK_LOG"))
        process.setStandardErrorFile(QProcess::nullDevice());
    else
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QIODevice::ReadWrite);
}

bool HelperProcess::handOver(const QString& documentPath)
{
    return documents.get() >= 0 && DocumentHandover::handOver(documents.get(), LocalFileName::encode(documentPath).constData());
}

QString HelperProcess::workFolderIn(const QString& stagingFolder) const
{
    for (const auto& folder : workFolders)
        if (folder->path().section(QLatin1Char('/'), 0, -2) == stagingFolder)
            return folder->path();
    return {};
}

HelperProcess::~HelperProcess()
{
    if (process.state() == QProcess::NotRunning)
        return;
    if (state == State::Ready) {
        process.write(LibreOfficeHelperProtocol::encodeLine({LibreOfficeHelperProtocol::Word::Quit}));
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
        } else if (words.value(0) == LibreOfficeHelperProtocol::Word::Ready) {
            state = State::Ready;
        } else {
            if (words.value(0) == LibreOfficeHelperProtocol::Word::Failed)
                why.emplace(HelperFailure::Kind::Refused, QString::fromUtf8(words.value(2)),
                            LibreOfficeHelperProtocol::helperErrorFromWire(words.value(1)));
            else
                why.emplace(HelperFailure::Kind::DiedWhileStarting,
                            QStringLiteral("it answered \u201C%1\u201D").arg(QString::fromUtf8(words.value(0))));
            state = State::Failed;
            kill();
            return state;
        }
    }
    if (process.state() == QProcess::NotRunning) {
        const bool starting = state == State::Starting;
        if (process.error() == QProcess::FailedToStart)
            why.emplace(HelperFailure::Kind::NotRunnable, process.errorString());
        else
            why.emplace(starting ? HelperFailure::Kind::DiedWhileStarting : HelperFailure::Kind::Died,
                        process.exitStatus() == QProcess::CrashExit
                            ? QStringLiteral("it stopped unexpectedly")
                            : QStringLiteral("it ended with code %1").arg(process.exitCode()));
        state = starting ? State::Failed : State::Gone;
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
    return ProcFiles::residentBytes(process.processId());
}

qint64 HelperProcess::processorMilliseconds() const
{
    return ProcFiles::processorMilliseconds(process.processId());
}
