#include "cli/ConvertCommand.h"

#include "cli/DocumentTree.h"
#include "cli/KeptRun.h"
#include "cli/ReportedRun.h"
#include "cli/StopSignals.h"
#include "engine/client/LibreOfficeWordAutomation.h"
#include "engine/files/PlainDescriptor.h"
#include "platform/FileSystem.h"
#include "platform/ProgramLocations.h"
#include "run/OutputFolderCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <functional>
#include <optional>
#include <unistd.h>

namespace {

void printError(const QString& text)
{
    writeEvery(STDERR_FILENO, "varnello-convert: " + Reporter::oneLine(text) + '\n');
}

// The output folder named on the command line, created when missing (only that folder:
// its parent must exist); or why it cannot be used.
std::optional<QString> outputFolderProblem(const QString& text, QString& folder)
{
    const PreparedFolder prepared = prepareOutputFolder(text, FolderOrigin::Typed);
    folder = prepared.folder;
    QString shown = text;
    while (shown.size() > 1 && shown.endsWith(QLatin1Char('/')))
        shown.chop(1);
    switch (prepared.problem) {
    case FolderProblem::None: return std::nullopt;
    case FolderProblem::NotAFolder: return QStringLiteral("the output folder %1 is not a folder.").arg(shown);
    case FolderProblem::NotChosen:
    case FolderProblem::Missing:
    case FolderProblem::CannotCreate: break;
    }
    return QStringLiteral("the output folder %1 cannot be created; its parent folder must exist and be writable.")
        .arg(shown);
}

// The run, with the engine stoppable by a signal while it lasts. Returning ends the
// helpers while the stop watcher still runs. A run that keeps the output folder's
// manifest starts LibreOffice only when there is something to convert.
RunCounts convertAll(const ConvertOptions& options, const DocumentTree& tree, const QString& outputFolder,
                     Reporter& reporter, ReportedRun& observer, StopSignals& stop, bool& troubled)
{
    const PlanConversion convert = [&](const RunPlan& plan, RunObserver& runObserver) {
        LibreOfficeSettings settings =
            LibreOfficeSettings::forProgramFolder(ProgramLocations::ofThisProgram().helperFolder);
        settings.callTimeout = std::chrono::seconds(options.timeoutSeconds);
        // Without --jobs the engine chooses from the cores, the free memory and the documents.
        settings.helpers = options.jobs;
        LibreOfficeWordAutomation word(settings);
        stop.setOnStop([&word] { word.stop(); });
        const auto noLongerStoppable = qScopeGuard([&stop] { stop.setOnStop({}); });
        return ConversionRun(word, runObserver).run(plan);
    };
    const RunPlan plan{tree.documents, outputFolder, options.format, options.extension};
    if (keepsManifest(options, outputFolder))
        return runKept(options, plan, reporter, observer, stop, convert, troubled);
    return convert(plan, observer);
}

// The sources that do not exist, each told; true when there is one.
bool reportMissingSources(const QStringList& sources)
{
    bool missing = false;
    for (const QString& source : sources) {
        const FileSystem::EntryKind kind = FileSystem::kindOf(source);
        if (kind != FileSystem::EntryKind::File && kind != FileSystem::EntryKind::Folder) {
            printError(source + QStringLiteral(": no such Word file or folder."));
            missing = true;
        }
    }
    return missing;
}

} // namespace

int runConvertCommand(const ConvertOptions& options)
{
    if (reportMissingSources(options.sources))
        return 2;
    QString outputFolder;
    if (const std::optional<QString> problem = outputFolderProblem(options.outputFolder, outputFolder)) {
        printError(*problem);
        return 2;
    }

    // From here a signal stops the run instead of the process.
    StopSignals stop;
    std::atomic<bool> outputGone{false};
    Reporter reporter(
        [&](const QByteArray& line) {
            if (!writeEvery(STDOUT_FILENO, line))
                outputGone = true;
        },
        [](const QByteArray& text) { writeEvery(STDERR_FILENO, text); },
        {options.json, options.quiet, ::isatty(STDERR_FILENO) == 1});

    const DocumentTree tree = findDocuments(options.sources, options.recursive);
    for (const QString& folder : tree.incompleteFolders)
        reporter.message(folder + QStringLiteral(": the folder could not be read completely; some of its "
                                                 "documents may be missing from this run."));
    if (tree.documents.isEmpty())
        reporter.message(QStringLiteral("no Word documents found."));

    ReportedRun observer(reporter, [&] { return stop.received() != 0 || outputGone; });
    reporter.begin(tree.documents.size());
    bool troubled = false;
    const RunCounts counts = convertAll(options, tree, outputFolder, reporter, observer, stop, troubled);
    reporter.end();

    if (stop.received() != 0)
        reporter.message(QStringLiteral("stopped by a signal."));
    if (counts.end == RunEnd::OutputFolderLost)
        reporter.message(QStringLiteral("the output folder %1 can no longer be used: %2; the run stopped.")
                             .arg(outputFolder.size() > 1 ? outputFolder.chopped(1) : outputFolder, observer.lostReason));
    if (!outputGone)
        reporter.summary(counts);
    if (stop.received() != 0)
        return stop.exitStatus();
    if (outputGone)
        return 128 + SIGPIPE;
    return counts.failed > 0 || counts.notConverted > 0 || !tree.incompleteFolders.isEmpty() || troubled ? 1 : 0;
}
