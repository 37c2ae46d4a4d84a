#include "engine/client/LibreOfficeService.h"

#include "engine/word/AutomationError.h"
#include "engine/word/ErrorNumbers.h"
#include "engine/web/WebOutput.h"

#include <QDir>

#include <algorithm>

namespace {

QString quoted(const QString& path)
{
    return QStringLiteral("\u201C%1\u201D").arg(QDir::toNativeSeparators(path));
}

// A staging folder lives for one save only.
struct RemoveFolderOnExit {
    QString path;
    ~RemoveFolderOnExit() { QDir(path).removeRecursively(); }
};

QString openFailureReason(const QByteArray& kind, const QString& detail)
{
    if (kind == "missing")
        return QStringLiteral("the file does not exist. Check that it has not been moved or deleted.");
    if (kind == "unreadable")
        return QStringLiteral("the file cannot be read (%1). Check that you are allowed to read it.").arg(detail);
    if (kind == "empty")
        return QStringLiteral("the file is empty. It may have been damaged while it was copied.");
    if (kind == "notword")
        return QStringLiteral("the file is not a Word document (it holds plain text or another kind of data).");
    if (kind == "password")
        return QStringLiteral("it is protected with a password. Remove the password in Word and convert it again.");
    if (kind == "notext")
        return QStringLiteral("it is not a word-processing document.");
    return QStringLiteral("LibreOffice cannot read it (%1). The file may be damaged or in a format "
                          "LibreOffice does not know.")
        .arg(detail.isEmpty() ? QStringLiteral("no reason given") : detail);
}

} // namespace

LibreOfficeService::LibreOfficeService(const LibreOfficeSettings& settings)
    : callTimeout(settings.callTimeout), settings(settings)
{
}

LibreOfficeService::~LibreOfficeService()
{
    shutDown();
}

void LibreOfficeService::shutDown()
{
    ended = true;
    successor.reset();
    helper.reset();
    openDocuments.clear();
    staging.reset();
}

qint64 LibreOfficeService::helperProcessId()
{
    return helper && helper->isRunning() ? helper->processId() : 0;
}

std::unique_ptr<LibreOfficeHelperProcess> LibreOfficeService::launch()
{
    if (!profile)
        profile.emplace(settings.profileRoot);
    if (!profile->isValid())
        throw AutomationError(WordErrors::CannotCreate,
                              QStringLiteral("LibreOffice could not be started because its private profile "
                                             "cannot be made: %1. Check that you may write there.")
                                  .arg(profile->problem()));
    // Two folders in turn: a successor loads while its predecessor may still run.
    auto process = std::make_unique<LibreOfficeHelperProcess>(
        settings.helperPath, settings.libreOfficeProgramFolder, profile->folder(starts % 2));
    ++starts;
    return process;
}

LibreOfficeHelperProcess& LibreOfficeService::readyHelper()
{
    if (ended)
        throw AutomationError(WordErrors::RemoteCallFailed, QStringLiteral("LibreOffice has been shut down."));
    const bool worn = helper && helper->documentsOpened >= settings.documentsPerHelper && openDocuments.isEmpty();
    if (!helper || !helper->isRunning() || worn) {
        helper.reset();
        openDocuments.clear();
        helper = successor ? std::move(successor) : launch();
        ++generation;
    }
    try {
        helper->waitUntilReady(settings.startTimeout);
    } catch (const HelperFailure& failure) {
        helper.reset();
        throw AutomationError(
            WordErrors::CannotCreate,
            QStringLiteral("LibreOffice could not be started: %1. Install LibreOffice Writer (on Debian: "
                           "sudo apt-get install libreoffice-writer) and try again.")
                .arg(failure.detail));
    }
    return *helper;
}

void LibreOfficeService::start()
{
    readyHelper();
}

bool LibreOfficeService::holds(quint64 documentGeneration)
{
    return !ended && helper && generation == documentGeneration && helper->isRunning();
}

void LibreOfficeService::fail(const HelperFailure& failure, const QString& doing, const QString& documentPath)
{
    helper.reset();
    openDocuments.clear();
    if (failure.kind == HelperFailure::Kind::TimedOut)
        throw AutomationError(LibreOfficeErrors::TimedOut,
                              QStringLiteral("LibreOffice did not finish %1 the document %2 within %3 seconds and "
                                             "was stopped. The document may be very large or damaged; try "
                                             "converting it on its own.")
                                  .arg(doing, quoted(documentPath))
                                  .arg(std::chrono::duration_cast<std::chrono::seconds>(callTimeout).count()));
    throw AutomationError(WordErrors::RemoteCallFailed,
                          QStringLiteral("LibreOffice stopped unexpectedly while %1 the document %2 (%3). "
                                         "It will be started again for the next document.")
                              .arg(doing, quoted(documentPath), failure.detail));
}

quint64 LibreOfficeService::open(const QByteArray& id, const QString& path)
{
    LibreOfficeHelperProcess& process = readyHelper();
    openDocuments.remove(id);
    // The replacement starts a fifth of the quota early, on the other core, so that it
    // is ready when this helper has had its share: starting takes about as long as
    // twenty small documents.
    const int launchAt = std::max(1, settings.documentsPerHelper - settings.documentsPerHelper / 5);
    if (++process.documentsOpened >= launchAt && !successor)
        successor = launch();
    QList<QByteArray> answer;
    try {
        answer = process.request({"open", id, path.toUtf8()}, callTimeout);
    } catch (const HelperFailure& failure) {
        fail(failure, QStringLiteral("opening"), path);
    }
    if (answer.value(0) != "ok")
        throw AutomationError(LibreOfficeErrors::OpenFailed,
                              QStringLiteral("The document %1 could not be opened because %2")
                                  .arg(quoted(path), openFailureReason(answer.value(1), QString::fromUtf8(answer.value(2)))));
    openDocuments.insert(id);
    return generation;
}

void LibreOfficeService::saveAs(const QByteArray& id, quint64 documentGeneration, const QString& documentPath,
                                const QString& outputPath, int32_t format)
{
    if (!WebFormat::isKnown(format))
        throw AutomationError(LibreOfficeErrors::SaveFailed,
                              QStringLiteral("The save format %1 is not supported: use 8 (web page), 10 (filtered "
                                             "web page) or 9 (single-file web archive).")
                                  .arg(format));
    if (!holds(documentGeneration))
        throw AutomationError(WordErrors::RemoteCallFailed,
                              QStringLiteral("LibreOffice stopped unexpectedly, and the document %1 is no longer "
                                             "open. Convert it again.")
                                  .arg(quoted(documentPath)));
    if (!openDocuments.contains(id))
        throw AutomationError(LibreOfficeErrors::NoDocument,
                              QStringLiteral("No document is open, so nothing can be saved as %1.")
                                  .arg(quoted(outputPath)));
    const QString saveFailed = QStringLiteral("The web page %1 could not be written: %2. Check that the output "
                                              "folder exists, that you may write to it and that the disk has "
                                              "free space.");
    if (!staging)
        staging.emplace(QDir::tempPath() + QStringLiteral("/varnello-XXXXXX"));
    const QString folder = staging->isValid() ? staging->filePath(QString::number(++lastStagingId)) : QString();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        throw AutomationError(LibreOfficeErrors::SaveFailed,
                              saveFailed.arg(quoted(outputPath),
                                             QStringLiteral("no temporary folder can be made in %1")
                                                 .arg(QDir::tempPath())));
    const RemoveFolderOnExit cleanUp{folder};
    const QString stagedPage = folder + QStringLiteral("/page.html");

    QList<QByteArray> answer;
    try {
        answer = helper->request({"save", id, stagedPage.toUtf8()}, callTimeout);
    } catch (const HelperFailure& failure) {
        fail(failure, QStringLiteral("saving"), documentPath);
    }
    if (answer.value(0) != "ok")
        throw AutomationError(LibreOfficeErrors::SaveFailed,
                              saveFailed.arg(quoted(outputPath),
                                             QStringLiteral("LibreOffice could not turn %1 into a web page (%2)")
                                                 .arg(quoted(documentPath), QString::fromUtf8(answer.value(2)))));
    if (const QString error = writeWebOutput(stagedPage, outputPath, format, QFileInfo(documentPath).completeBaseName());
        !error.isEmpty())
        throw AutomationError(LibreOfficeErrors::SaveFailed, saveFailed.arg(quoted(outputPath), error));
}

void LibreOfficeService::close(const QByteArray& id, quint64 documentGeneration, const QString& documentPath)
{
    if (!holds(documentGeneration))
        throw AutomationError(WordErrors::RemoteCallFailed,
                              QStringLiteral("LibreOffice stopped unexpectedly, and the document %1 is no longer "
                                             "open.")
                                  .arg(quoted(documentPath)));
    if (!openDocuments.remove(id))
        throw AutomationError(LibreOfficeErrors::NoDocument, QStringLiteral("No document is open to be closed."));
    try {
        helper->request({"close", id}, callTimeout);
    } catch (const HelperFailure& failure) {
        fail(failure, QStringLiteral("closing"), documentPath);
    }
}

void LibreOfficeService::release(const QByteArray& id, quint64 documentGeneration)
{
    if (!holds(documentGeneration) || !openDocuments.remove(id))
        return;
    try {
        helper->request({"close", id}, callTimeout);
    } catch (const HelperFailure&) {
        helper.reset();
        openDocuments.clear();
    }
}
