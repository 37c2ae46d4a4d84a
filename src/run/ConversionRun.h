#pragma once

#include "run/OutputFormats.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class OutputFolders;
class WordAutomation;

// One document of a run.
struct PlannedDocument {
    QString source;          // the document's path; "" when it could not be found (it then fails)
    QString name;            // the name its output is named after
    QString outputSubfolder; // "" for the output folder itself, or "a/b" below it
    // The name an earlier run gave its output (without extension), which it keeps; ""
    // to be named by this run.
    QString outputName{};
};

// What a run converts, where to, and how.
struct RunPlan {
    QList<PlannedDocument> documents;
    QString outputFolder; // exists and ends in '/' (see prepareOutputFolder)
    WebFormat format = WebFormat::WebPage;
    ExtensionLength extension = ExtensionLength::Short;
    // Names handed to no document of this run ("ab", "a/b/ab"; without extension):
    // they belong to pages of documents outside the plan.
    QStringList takenNames{};
};

// How one document went.
struct DocumentResult {
    qsizetype index = 0;   // in the plan
    QString output;        // the page written, as the user names it; "" when it failed
    bool converted = false;
    // The engine's description of what failed, with the user's folder names in it.
    QString message;
    // Whether the failure is the engine's own (it said why) rather than a call that
    // never got through to it.
    bool engineFailure = false;
    qint64 milliseconds = 0;
};

// What the run tells its front end, in the plan's order, as each document finishes.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void documentFinished(const PlannedDocument& document, const DocumentResult& result) = 0;
    // Asked before each document and after one that failed; true ends the run there.
    virtual bool stopRequested() { return false; }
    // The output folder itself can take no more pages (`reason` says why, e.g. "it has
    // been removed"): the run ends there, and the documents not reached are not tried.
    virtual void outputFolderLost(const QString& reason) = 0;
};

enum class RunEnd {
    Finished,         // every document was tried
    StopRequested,    // asked to stop before the last document
    OutputFolderLost, // the output folder went away or filled up
};

struct RunCounts {
    int converted = 0;
    int failed = 0;
    int notConverted = 0; // not reached, or cut short by the end of the run
    int skipped = 0;      // left out of the run: their pages are up to date (counted by the front end)
    RunEnd end = RunEnd::Finished;
};

// Converts the documents of a plan one after the other: claims every output name up
// front (so links between the documents can lead to their pages), tells the engine
// what is coming, and makes the same calls for each document: a new application
// object, Open, SaveAs, Close, Quit. Mirrored sub-folders are made as needed, never
// through a symbolic link (see OutputFolders).
class ConversionRun {
public:
    ConversionRun(WordAutomation& word, RunObserver& observer);
    RunCounts run(const RunPlan& plan);

private:
    // Nothing when the stop cut the document short.
    std::optional<DocumentResult> convertOne(const RunPlan& plan, qsizetype index, const QString& page,
                                             OutputFolders& folders);

    WordAutomation& word;
    RunObserver& observer;
};
