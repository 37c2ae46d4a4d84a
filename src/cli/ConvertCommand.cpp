#include "cli/ConvertCommand.h"

#include "cli/ConversionRun.h"
#include "cli/Reporter.h"
#include "cli/StopSignals.h"
#include "engine/client/LibreOfficeWordAutomation.h"
#include "engine/files/PlainDescriptor.h"
#include "platform/FileSystem.h"
#include "platform/ProgramLocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

void printError(const QString& text)
{
    writeEvery(STDERR_FILENO, "varnello-convert: " + Reporter::oneLine(text) + '\n');
}

// The run, with the engine stoppable by a signal while it lasts. Returning ends the
// helpers while the stop watcher still runs.
RunCounts convertAll(const ConvertOptions& options, const DocumentTree& tree, const QString& outputFolder,
                     Reporter& reporter, StopSignals& stop, const std::atomic<bool>& outputGone)
{
    LibreOfficeSettings settings = LibreOfficeSettings::forProgramFolder(ProgramLocations::ofThisProgram().helperFolder);
    settings.callTimeout = std::chrono::seconds(options.timeoutSeconds);
    // Without --jobs the engine chooses from the cores, the free memory and the documents.
    settings.helpers = options.jobs;
    LibreOfficeWordAutomation word(settings);
    stop.setOnStop([&word] { word.stop(); });
    const auto noLongerStoppable = qScopeGuard([&stop] { stop.setOnStop({}); });
    ConversionRun run(word, reporter, [&] { return stop.received() != 0 || outputGone; });
    return run.run(tree.documents, outputFolder, outputFormat(options.formatIndex), options.longExtension);
}

} // namespace

int runConvertCommand(const ConvertOptions& options)
{
    bool sourcesMissing = false;
    for (const QString& source : options.sources) {
        const FileSystem::EntryKind kind = FileSystem::kindOf(source);
        if (kind != FileSystem::EntryKind::File && kind != FileSystem::EntryKind::Folder) {
            printError(source + QStringLiteral(": no such Word file or folder."));
            sourcesMissing = true;
        }
    }
    if (sourcesMissing)
        return 2;
    QString problem;
    const QString outputFolder = prepareOutputFolder(options.outputFolder, problem);
    if (outputFolder.isEmpty()) {
        printError(problem);
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

    const RunCounts counts = convertAll(options, tree, outputFolder, reporter, stop, outputGone);

    if (stop.received() != 0) {
        reporter.message(QStringLiteral("stopped by a signal: %1 converted, %2 failed, %3 not converted.")
                             .arg(counts.converted)
                             .arg(counts.failed)
                             .arg(tree.documents.size() - counts.converted - counts.failed));
        return stop.exitStatus();
    }
    if (outputGone)
        return 128 + SIGPIPE;
    return counts.failed > 0 || !tree.incompleteFolders.isEmpty() ? 1 : 0;
}
