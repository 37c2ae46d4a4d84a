#include "cli/ConversionRun.h"

#include "cli/ConvertFile.h"
#include "cli/OutputFolders.h"
#include "cli/Reporter.h"
#include "convert/OutputNames.h"
#include "platform/FileSystem.h"

#include <QElapsedTimer>

#include <map>

QString prepareOutputFolder(const QString& folder, QString& problem)
{
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    switch (FileSystem::kindOf(path)) {
    case FileSystem::EntryKind::Folder: break;
    case FileSystem::EntryKind::Missing:
        if (!FileSystem::makeDirectory(path)) {
            problem = QStringLiteral("the output folder %1 cannot be created; its parent folder must exist "
                                     "and be writable.")
                          .arg(path);
            return {};
        }
        break;
    case FileSystem::EntryKind::File:
    case FileSystem::EntryKind::Other:
        problem = QStringLiteral("the output folder %1 is not a folder.").arg(path);
        return {};
    }
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

ConversionRun::ConversionRun(WordAutomation& word, Reporter& reporter, std::function<bool()> stopRequested)
    : word(word), reporter(reporter), stopRequested(std::move(stopRequested))
{
}

RunCounts ConversionRun::run(const QList<DocumentToConvert>& documents, const QString& outputFolder,
                             const OutputFormat& format, bool longExtension)
{
    RunCounts counts;
    const QString& extension = longExtension ? format.longExtension : format.shortExtension;
    OutputFolders folders(outputFolder);
    // The engine may work ahead on what the run announces; the calls below stay as they are.
    QStringList plan;
    for (const DocumentToConvert& document : documents)
        plan << document.source;
    word.Announce(plan, format.wordFormatCode);
    // Names are claimed up front, in the run's order, so links between the documents
    // can lead to the pages they will have; mirrored folders name their outputs apart.
    QStringList pages;
    std::map<QString, OutputNames> namesByFolder;
    for (const DocumentToConvert& document : documents) {
        const QString shown = outputFolder + (document.outputSubfolder.isEmpty() ? QString() : document.outputSubfolder + '/');
        pages << namesByFolder.try_emplace(shown, shown).first->second.claim(FileSystem::lastName(document.source)) + extension;
    }
    word.AnnouncePages(plan, pages);
    reporter.begin(documents.size());
    for (qsizetype index = 0; index < documents.size(); ++index) {
        const DocumentToConvert& document = documents[index];
        if (stopRequested()) {
            counts.stopped = true;
            break;
        }
        QElapsedTimer clock;
        clock.start();
        DocumentReport report;
        report.source = document.source;
        const OutputFolders::Place place = folders.enter(document.outputSubfolder);
        if (!place.problem.isEmpty()) {
            report.message = place.problem;
        } else {
            const QString& output = pages[index];
            const QString written = place.written + output.mid(place.shown.size());
            const FileConversion result = convertFile(word, document.source, written, format.wordFormatCode);
            // A document cut short by the stop is neither converted nor failed.
            if (!result.converted && stopRequested()) {
                counts.stopped = true;
                break;
            }
            report.converted = result.converted;
            report.message = QString(result.message).replace(place.written, place.shown);
            if (result.converted)
                report.output = output;
        }
        report.milliseconds = clock.elapsed();
        ++(report.converted ? counts.converted : counts.failed);
        reporter.document(report);
    }
    word.Announce({}, format.wordFormatCode);
    word.AnnouncePages({}, {});
    reporter.end();
    return counts;
}
