#include "run/ConversionRun.h"

#include "engine/word/WordAutomation.h"
#include "platform/FileSystem.h"
#include "run/OutputFolders.h"
#include "run/OutputNames.h"

#include <QElapsedTimer>

#include <map>

namespace {

struct FileConversion {
    bool converted = false;
    QString message;
    bool engineFailure = false;
};

FileConversion convertFile(WordAutomation& word, const QString& documentPath, const QString& outputPath,
                           WebFormat format)
{
    std::unique_ptr<WordApplication> application;
    try {
        application = word.CreateObject();
        application->DocumentsOpen(documentPath);
        application->ActiveDocumentSaveAs(outputPath, static_cast<int32_t>(format));
        application->ActiveDocumentClose();
        application->Quit();
        return {true, {}, false};
    } catch (const AutomationError& error) {
        // A call that did not get through has no instance left to quit.
        const bool engineFailure = error.Number() > 0;
        if (engineFailure && application) {
            try {
                application->Quit();
            } catch (const AutomationError&) {
                // The first failure is the one worth telling.
            }
        }
        return {false, error.Description(), engineFailure};
    }
}

// The page of each document, claimed in the plan's order; mirrored folders name their
// outputs apart. Names of earlier runs stay with their documents.
QStringList claimPages(const RunPlan& plan)
{
    const QString& extension = outputFormat(plan.format).extension(plan.extension);
    std::map<QString, OutputNames> namesByFolder;
    const auto namesIn = [&](const QString& folder) -> OutputNames& {
        return namesByFolder.try_emplace(folder, folder).first->second;
    };
    const auto folderOf = [&](const QString& subfolder) {
        return plan.outputFolder + (subfolder.isEmpty() ? QString() : subfolder + '/');
    };
    for (const QString& taken : plan.takenNames) {
        const qsizetype slash = taken.lastIndexOf(QLatin1Char('/'));
        namesIn(folderOf(slash < 0 ? QString() : taken.left(slash))).reserve(taken.mid(slash + 1));
    }
    for (const PlannedDocument& document : plan.documents)
        if (!document.outputName.isEmpty())
            namesIn(folderOf(document.outputSubfolder)).reserve(document.outputName);
    QStringList pages;
    for (const PlannedDocument& document : plan.documents) {
        const QString folder = folderOf(document.outputSubfolder);
        pages << (document.outputName.isEmpty() ? namesIn(folder).claim(document.name) : folder + document.outputName)
                     + extension;
    }
    return pages;
}

// The documents that can be announced, with their pages.
void announce(WordAutomation& word, const RunPlan& plan, const QStringList& pages)
{
    QStringList documents, announcedPages;
    for (qsizetype index = 0; index < plan.documents.size(); ++index) {
        if (!plan.documents[index].source.isEmpty()) {
            documents << plan.documents[index].source;
            announcedPages << pages[index];
        }
    }
    word.Announce(documents, static_cast<int32_t>(plan.format));
    word.AnnouncePages(documents, announcedPages);
}

} // namespace

ConversionRun::ConversionRun(WordAutomation& word, RunObserver& observer) : word(word), observer(observer) {}

RunCounts ConversionRun::run(const RunPlan& plan)
{
    RunCounts counts;
    const QStringList pages = claimPages(plan);
    announce(word, plan, pages);
    OutputFolders folders(plan.outputFolder);
    qsizetype index = 0;
    for (; index < plan.documents.size(); ++index) {
        if (observer.stopRequested()) {
            counts.end = RunEnd::StopRequested;
            break;
        }
        const std::optional<DocumentResult> result = convertOne(plan, index, pages[index], folders);
        if (!result) {
            counts.end = RunEnd::StopRequested;
            break;
        }
        // When the folder itself has gone, the document is not to blame, and every
        // document after it would only fail the same way.
        if (!result->converted && !plan.documents[index].source.isEmpty()) {
            if (const std::optional<QString> reason = folders.lostReason()) {
                counts.end = RunEnd::OutputFolderLost;
                observer.outputFolderLost(*reason);
                break;
            }
        }
        ++(result->converted ? counts.converted : counts.failed);
        observer.documentFinished(plan.documents[index], *result);
    }
    counts.notConverted = int(plan.documents.size() - index);
    word.Announce({}, static_cast<int32_t>(plan.format));
    word.AnnouncePages({}, {});
    return counts;
}

std::optional<DocumentResult> ConversionRun::convertOne(const RunPlan& plan, qsizetype index, const QString& page,
                                                        OutputFolders& folders)
{
    const PlannedDocument& document = plan.documents[index];
    QElapsedTimer clock;
    clock.start();
    DocumentResult result;
    result.index = index;
    const OutputFolders::Place place = folders.enter(document.outputSubfolder);
    if (!place.problem.isEmpty()) {
        result.message = place.problem;
    } else if (!document.source.isEmpty()) {
        const QString written = place.written + page.mid(place.shown.size());
        const FileConversion conversion = convertFile(word, document.source, written, plan.format);
        // A document cut short by the stop is neither converted nor failed.
        if (!conversion.converted && observer.stopRequested())
            return std::nullopt;
        result.converted = conversion.converted;
        result.message = QString(conversion.message).replace(place.written, place.shown);
        result.engineFailure = conversion.engineFailure;
        if (conversion.converted)
            result.output = page;
    }
    result.milliseconds = clock.elapsed();
    return result;
}
