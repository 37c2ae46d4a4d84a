#include "engine/client/LibreOfficeService.h"

#include "engine/client/DocumentCopy.h"
#include "engine/client/EngineErrors.h"
#include "engine/web/WebOutput.h"

#include <QDir>
#include <QFileInfo>

#include <QEventLoop>

#include <algorithm>
#include <functional>
#include <thread>

namespace {

bool isInstalled(const QString& libreOfficeProgramFolder)
{
    // LibreOfficeKit loads one of these two; without them there is no LibreOffice.
    return QFileInfo::exists(libreOfficeProgramFolder + QStringLiteral("/libmergedlo.so"))
           || QFileInfo::exists(libreOfficeProgramFolder + QStringLiteral("/libsofficeapp.so"));
}

// The document's file name without its extension: the title of a page that has none
// of its own. By text alone, so names that are not UTF-8 keep their bytes.
QString documentTitle(const QString& documentPath)
{
    const QString name = documentPath.mid(documentPath.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

// Runs `work` on a thread of its own while this one keeps handling events: a large
// page takes long enough to write that a window would stop painting.
QString whileEventsRun(const std::function<QString()>& work)
{
    QEventLoop loop;
    QString result;
    std::thread worker([&] {
        result = work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    return result;
}

} // namespace

LibreOfficeService::LibreOfficeService(const LibreOfficeSettings& settings)
    : settings(settings), pool(std::make_unique<HelperPool>(settings, stopRequested, lookAhead))
{
}

void LibreOfficeService::shutDown()
{
    announcedRun.clear();
    openDocuments.clear();
    pool.reset();
}

void LibreOfficeService::start()
{
    if (!pool)
        throw EngineErrors::shutDown();
    // Looked for until found once: every document creates an application object.
    if (!libreOfficeFound && !(libreOfficeFound = isInstalled(settings.libreOfficeProgramFolder)))
        throw EngineErrors::libreOfficeMissing(settings.libreOfficeProgramFolder);
    if (std::optional<AutomationError> problem = pool->ensureReady())
        throw *problem;
}

void LibreOfficeService::announce(const QStringList& documentPaths)
{
    if (pool)
        announcedRun.announce(documentPaths, *pool);
}

void LibreOfficeService::open(const QByteArray& id, const QString& path)
{
    if (!pool)
        throw EngineErrors::shutDown();
    openDocuments.remove(id);
    std::shared_ptr<Conversion> conversion = announcedRun.take(path, *pool);
    if (!conversion)
        conversion = pool->enqueue(path, true);
    pool->waitUntilDone(*conversion);
    switch (conversion->outcome) {
    case Conversion::Outcome::OpenFailed:
        throw EngineErrors::openFailed(path, LibreOfficeHelperProtocol::helperErrorFromWire(conversion->errorKind),
                                       conversion->detail);
    case Conversion::Outcome::CannotStart: throw *conversion->noStart;
    case Conversion::Outcome::Stopped: throw EngineErrors::stopped();
    case Conversion::Outcome::Crashed:
    case Conversion::Outcome::TimedOut:
        // A helper lost while saving had opened the document: saving is what fails.
        if (!conversion->failedWhileSaving)
            fail(*conversion, QStringLiteral("opening"));
        break;
    case Conversion::Outcome::Converted:
    case Conversion::Outcome::SaveFailed: break;
    }
    openDocuments.insert(id, std::move(conversion));
}

void LibreOfficeService::fail(const Conversion& conversion, const QString& doing) const
{
    throw EngineErrors::callFailed(*conversion.lost, doing, conversion.documentPath, pool->timeout());
}

void LibreOfficeService::saveAs(const QByteArray& id, const QString& outputPath, int32_t format)
{
    if (!webFormatFromCode(format))
        throw EngineErrors::unknownFormat(format);
    const std::shared_ptr<Conversion> conversion = openDocuments.value(id);
    if (!conversion)
        throw EngineErrors::noDocumentToSave(outputPath);
    if (conversion->outcome == Conversion::Outcome::TimedOut || conversion->outcome == Conversion::Outcome::Crashed)
        fail(*conversion, QStringLiteral("saving"));
    if (conversion->outcome == Conversion::Outcome::SaveFailed
        && conversion->errorKind == LibreOfficeHelperProtocol::wireWord(LibreOfficeHelperProtocol::HelperError::OutOfMemory))
        throw EngineErrors::notEnoughMemoryToSave(conversion->documentPath, outputPath, conversion->detail);
    if (conversion->outcome == Conversion::Outcome::SaveFailed)
        throw EngineErrors::saveFailed(outputPath, QStringLiteral("LibreOffice could not turn \u201C%1\u201D into a "
                                                                  "web page (%2)")
                                                       .arg(QDir::toNativeSeparators(conversion->documentPath),
                                                            conversion->detail));
    if (const QString error = whileEventsRun([&] {
            return writeWebOutput(conversion->stagedPage(), outputPath, format, documentTitle(conversion->documentPath),
                                  {documentCopyFolder(conversion->folder),
                                   conversion->documentPath.section(QLatin1Char('/'), 0, -2),
                                   conversion->loadedCopyFolder, &pageOfDocument});
        });
        !error.isEmpty())
        throw EngineErrors::saveFailed(outputPath, error);
}

void LibreOfficeService::close(const QByteArray& id)
{
    if (!openDocuments.remove(id))
        throw EngineErrors::noDocumentToClose();
}

void LibreOfficeService::release(const QByteArray& id)
{
    openDocuments.remove(id);
}
