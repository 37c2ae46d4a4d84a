#include "engine/client/LibreOfficeService.h"

#include "engine/client/HelperTempFolder.h"
#include "engine/client/EngineErrors.h"
#include "engine/files/LocalFileName.h"
#include "engine/web/WebOutput.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using LibreOfficeHelperProtocol::HelperError;
using LibreOfficeHelperProtocol::helperErrorFromWire;

namespace {

// A staging folder lives for one save only.
struct RemoveFolderOnExit {
    QString path;
    ~RemoveFolderOnExit() { QDir(path).removeRecursively(); }
};

bool isInstalled(const QString& libreOfficeProgramFolder)
{
    // LibreOfficeKit loads one of these two; without them there is no LibreOffice.
    return QFileInfo::exists(libreOfficeProgramFolder + QStringLiteral("/libmergedlo.so"))
           || QFileInfo::exists(libreOfficeProgramFolder + QStringLiteral("/libsofficeapp.so"));
}

} // namespace

LibreOfficeService::LibreOfficeService(const LibreOfficeSettings& settings) : settings(settings) {}

LibreOfficeService::~LibreOfficeService()
{
    shutDown();
}

void LibreOfficeService::shutDown()
{
    ended = true;
    successor.reset();
    dropHelper();
    staging.reset();
}

void LibreOfficeService::dropHelper()
{
    helper.reset();
    openDocuments.clear();
    documentsInHelper = 0;
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
        throw EngineErrors::noProfile(profile->problem());
    if (starts == 0)
        removeStaleHelperTempFolders();
    // Two folders in turn: a successor loads while its predecessor may still run.
    auto process = std::make_unique<LibreOfficeHelperProcess>(
        settings.helperPath, settings.libreOfficeProgramFolder, profile->folder(starts % 2));
    ++starts;
    return process;
}

LibreOfficeHelperProcess& LibreOfficeService::readyHelper()
{
    if (ended)
        throw EngineErrors::shutDown();
    const bool worn = helper && documentsInHelper >= settings.documentsPerHelper && openDocuments.isEmpty();
    if (helper && helper->isRunning() && !worn)
        return *helper;
    if (!isInstalled(settings.libreOfficeProgramFolder))
        throw EngineErrors::libreOfficeMissing(settings.libreOfficeProgramFolder);
    dropHelper();
    ++generation;
    helper = successor ? std::move(successor) : launch();
    try {
        helper->waitUntilReady(settings.startTimeout);
    } catch (const HelperFailure& failure) {
        dropHelper();
        // A profile that turned out unwritable: once more in a temporary one.
        if (failure.refusal == HelperError::NoProfile && profile->fallBackToTemporary())
            return readyHelper();
        throw EngineErrors::helperCannotStart(failure, settings.helperPath);
    }
    return *helper;
}

void LibreOfficeService::start()
{
    readyHelper();
}

void LibreOfficeService::checkHelperHolds(quint64 documentGeneration, const QString& documentPath)
{
    if (ended)
        throw EngineErrors::shutDown();
    if (!helper || generation != documentGeneration || !helper->isRunning())
        throw EngineErrors::documentLost(documentPath);
}

QList<QByteArray> LibreOfficeService::request(const QList<QByteArray>& words, const QString& doing,
                                              const QString& documentPath)
{
    try {
        return helper->request(words, settings.callTimeout);
    } catch (const HelperFailure& failure) {
        dropHelper();
        throw EngineErrors::callFailed(failure, doing, documentPath, settings.callTimeout);
    }
}

quint64 LibreOfficeService::open(const QByteArray& id, const QString& path)
{
    readyHelper();
    openDocuments.remove(id);
    // The replacement starts a fifth of the quota early, on the other core, so that it
    // is ready when this helper has had its share: starting takes about as long as
    // twenty small documents.
    const int launchAt = std::max(1, settings.documentsPerHelper - settings.documentsPerHelper / 5);
    if (++documentsInHelper >= launchAt && !successor)
        successor = launch();
    const QList<QByteArray> answer = request({"open", id, LocalFileName::encode(path)}, QStringLiteral("opening"), path);
    if (answer.value(0) != "ok")
        throw EngineErrors::openFailed(path, helperErrorFromWire(answer.value(1)), QString::fromUtf8(answer.value(2)));
    openDocuments.insert(id);
    return generation;
}

QString LibreOfficeService::newStagingFolder()
{
    if (!staging)
        staging.emplace(QDir::tempPath() + QStringLiteral("/varnello-XXXXXX"));
    const QString folder = staging->isValid() ? staging->filePath(QString::number(++lastStagingId)) : QString();
    return !folder.isEmpty() && QDir().mkpath(folder) ? folder : QString();
}

void LibreOfficeService::saveAs(const QByteArray& id, quint64 documentGeneration, const QString& documentPath,
                                const QString& outputPath, int32_t format)
{
    if (!webFormatFromCode(format))
        throw EngineErrors::unknownFormat(format);
    checkHelperHolds(documentGeneration, documentPath);
    if (!openDocuments.contains(id))
        throw EngineErrors::noDocumentToSave(outputPath);
    const QString folder = newStagingFolder();
    if (folder.isEmpty())
        throw EngineErrors::saveFailed(outputPath,
                                       QStringLiteral("no temporary folder can be made in %1").arg(QDir::tempPath()));
    const RemoveFolderOnExit cleanUp{folder};
    const QString stagedPage = folder + QStringLiteral("/page.html");

    const QList<QByteArray> answer =
        request({"save", id, LocalFileName::encode(stagedPage)}, QStringLiteral("saving"), documentPath);
    if (answer.value(0) != "ok")
        throw EngineErrors::saveFailed(outputPath, QStringLiteral("LibreOffice could not turn \u201C%1\u201D into a "
                                                                  "web page (%2)")
                                                       .arg(QDir::toNativeSeparators(documentPath),
                                                            QString::fromUtf8(answer.value(2))));
    if (const QString error = writeWebOutput(stagedPage, outputPath, format); !error.isEmpty())
        throw EngineErrors::saveFailed(outputPath, error);
}

void LibreOfficeService::close(const QByteArray& id, quint64 documentGeneration, const QString& documentPath)
{
    checkHelperHolds(documentGeneration, documentPath);
    if (!openDocuments.remove(id))
        throw EngineErrors::noDocumentToClose();
    request({"close", id}, QStringLiteral("closing"), documentPath);
}

void LibreOfficeService::release(const QByteArray& id, quint64 documentGeneration)
{
    if (ended || generation != documentGeneration || !openDocuments.remove(id) || !helper || !helper->isRunning())
        return;
    try {
        helper->request({"close", id}, settings.callTimeout);
    } catch (const HelperFailure&) {
        dropHelper();
    }
}
