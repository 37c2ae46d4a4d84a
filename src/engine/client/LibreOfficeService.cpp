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
    : settings(settings), pool(std::make_unique<HelperPool>(settings))
{
}

void LibreOfficeService::shutDown()
{
    planned.clear();
    plan.clear();
    openDocuments.clear();
    pool.reset();
}

void LibreOfficeService::start()
{
    if (!pool)
        throw AutomationError(WordErrors::RemoteCallFailed, QStringLiteral("LibreOffice has been shut down."));
    if (const std::optional<QString> problem = pool->ensureReady())
        throw AutomationError(
            WordErrors::CannotCreate,
            QStringLiteral("LibreOffice could not be started: %1. Install LibreOffice Writer (on Debian: "
                           "sudo apt-get install libreoffice-writer) and try again.")
                .arg(*problem));
}

void LibreOfficeService::announce(const QStringList& documentPaths)
{
    for (const auto& conversion : planned)
        pool->forget(conversion);
    planned.clear();
    plan = documentPaths;
    nextToQueue = 0;
    if (!pool || plan.isEmpty())
        return;
    const int helpers = settings.helpers > 0 ? int(std::min<qsizetype>(settings.helpers, plan.size()))
                                             : automaticHelperCount(int(plan.size()));
    pool->setSize(helpers);
    // Enough ahead to keep every helper busy while the run writes what is done.
    aheadLimit = std::size_t(4 * helpers);
    planAhead();
}

void LibreOfficeService::planAhead()
{
    while (planned.size() < aheadLimit && nextToQueue < plan.size())
        planned.push_back(pool->enqueue(plan[nextToQueue++], false));
}

std::shared_ptr<Conversion> LibreOfficeService::takePlanned(const QString& path)
{
    const auto found = std::find_if(planned.begin(), planned.end(),
                                    [&](const auto& conversion) { return conversion->documentPath == path; });
    if (found != planned.end()) {
        // Documents the run passed over are not wanted any more.
        std::for_each(planned.begin(), found, [this](const auto& skipped) { pool->forget(skipped); });
        std::shared_ptr<Conversion> conversion = *found;
        planned.erase(planned.begin(), found + 1);
        planAhead();
        return conversion;
    }
    const qsizetype later = plan.indexOf(path, nextToQueue);
    if (later >= 0) {
        for (const auto& skipped : planned)
            pool->forget(skipped);
        planned.clear();
        nextToQueue = later + 1;
        planAhead();
    }
    return nullptr; // not announced: converted now
}

void LibreOfficeService::open(const QByteArray& id, const QString& path)
{
    if (!pool)
        throw AutomationError(WordErrors::RemoteCallFailed, QStringLiteral("LibreOffice has been shut down."));
    openDocuments.remove(id);
    std::shared_ptr<Conversion> conversion = takePlanned(path);
    if (!conversion)
        conversion = pool->enqueue(path, true);
    pool->waitUntilDone(*conversion);
    switch (conversion->outcome) {
    case Conversion::Outcome::OpenFailed:
        throw AutomationError(LibreOfficeErrors::OpenFailed,
                              QStringLiteral("The document %1 could not be opened because %2")
                                  .arg(quoted(path), openFailureReason(conversion->errorKind, conversion->detail)));
    case Conversion::Outcome::CannotStart:
        throw AutomationError(WordErrors::CannotCreate,
                              QStringLiteral("LibreOffice could not be started: %1. Install LibreOffice Writer (on "
                                             "Debian: sudo apt-get install libreoffice-writer) and try again.")
                                  .arg(conversion->detail));
    case Conversion::Outcome::Crashed: fail(*conversion, QStringLiteral("opening"));
    case Conversion::Outcome::TimedOut:
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
    if (conversion.outcome == Conversion::Outcome::TimedOut)
        throw AutomationError(LibreOfficeErrors::TimedOut,
                              QStringLiteral("LibreOffice did not finish %1 the document %2 within %3 seconds and "
                                             "was stopped. The document may be very large or damaged; try "
                                             "converting it on its own.")
                                  .arg(doing, quoted(conversion.documentPath))
                                  .arg(std::chrono::duration_cast<std::chrono::seconds>(pool->timeout()).count()));
    throw AutomationError(WordErrors::RemoteCallFailed,
                          QStringLiteral("LibreOffice stopped unexpectedly while %1 the document %2 (%3). "
                                         "It will be started again for the next document.")
                              .arg(doing, quoted(conversion.documentPath), conversion.detail));
}

void LibreOfficeService::saveAs(const QByteArray& id, const QString& outputPath, int32_t format)
{
    if (!WebFormat::isKnown(format))
        throw AutomationError(LibreOfficeErrors::SaveFailed,
                              QStringLiteral("The save format %1 is not supported: use 8 (web page), 10 (filtered "
                                             "web page) or 9 (single-file web archive).")
                                  .arg(format));
    const std::shared_ptr<Conversion> conversion = openDocuments.value(id);
    if (!conversion)
        throw AutomationError(LibreOfficeErrors::NoDocument,
                              QStringLiteral("No document is open, so nothing can be saved as %1.")
                                  .arg(quoted(outputPath)));
    if (conversion->outcome == Conversion::Outcome::TimedOut)
        fail(*conversion, QStringLiteral("saving"));
    const QString saveFailed = QStringLiteral("The web page %1 could not be written: %2. Check that the output "
                                              "folder exists, that you may write to it and that the disk has "
                                              "free space.");
    if (conversion->outcome == Conversion::Outcome::SaveFailed)
        throw AutomationError(LibreOfficeErrors::SaveFailed,
                              saveFailed.arg(quoted(outputPath),
                                             QStringLiteral("LibreOffice could not turn %1 into a web page (%2)")
                                                 .arg(quoted(conversion->documentPath), conversion->detail)));
    if (const QString error = writeWebOutput(conversion->stagedPage(), outputPath, format); !error.isEmpty())
        throw AutomationError(LibreOfficeErrors::SaveFailed, saveFailed.arg(quoted(outputPath), error));
}

void LibreOfficeService::close(const QByteArray& id)
{
    if (!openDocuments.remove(id))
        throw AutomationError(LibreOfficeErrors::NoDocument, QStringLiteral("No document is open to be closed."));
}

void LibreOfficeService::release(const QByteArray& id)
{
    openDocuments.remove(id);
}
