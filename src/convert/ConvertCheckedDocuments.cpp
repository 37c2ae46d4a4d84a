#include "app/ListViews.h"
#include "sources/DocumentList.h"
#include "app/MainWindow.h"
#include "convert/RunInputGuard.h"
#include "outputs/OutputFolderCombo.h"
#include "run/ConversionRun.h"
#include "run/OutputFolderCheck.h"
#include "run/OutputNames.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QProgressBar>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

// The window's side of a run: a failure is told in two messages (the engine's own
// description when it gave one, then which document failed), and the progress bar
// moves on with the window repainted between documents.
class WindowRun final : public RunObserver {
public:
    WindowRun(const Platform& desktop, QProgressBar& progress, QList<int> rows, const bool& stopAsked)
        : desktop(desktop), progress(progress), rows(std::move(rows)), stopAsked(stopAsked)
    {
    }

    bool stopRequested() override { return stopAsked; }

    void documentFinished(const PlannedDocument& document, const DocumentResult& result) override
    {
        if (!result.converted) {
            if (result.engineFailure)
                desktop.messages.show(result.message, MessageIcon::None);
            desktop.messages.show(
                QStringLiteral("Convert ") + OutputNames::baseName(document.name) + QStringLiteral(" file failed!"),
                MessageIcon::Critical);
        }
        advanceTo(rows[result.index]);
    }

    void outputFolderLost(const QString& reason) override { lostReason = reason; }
    QString lostReason;

    // Steps the progress bar through every row up to `row`, unchecked ones included,
    // repainting the window at each.
    void advanceTo(int row)
    {
        while (progress.value() < row) {
            progress.setValue(std::max(progress.value() + 1, 1));
            // The run's input guard keeps clicks from the controls; Escape still asks to stop.
            QCoreApplication::processEvents();
        }
    }

private:
    const Platform& desktop;
    QProgressBar& progress;
    QList<int> rows; // the document list's row of each planned document
    const bool& stopAsked;
};

// The message and its icon for an output folder that cannot take the run.
void tellFolderProblem(const Platform& desktop, FolderProblem problem)
{
    switch (problem) {
    case FolderProblem::None: return;
    case FolderProblem::NotChosen:
        desktop.messages.show(QStringLiteral("Please select output folder"), MessageIcon::Information);
        return;
    case FolderProblem::Missing:
        desktop.messages.show(QStringLiteral("Folder does not exist!"), MessageIcon::Critical);
        return;
    case FolderProblem::CannotCreate:
    case FolderProblem::NotAFolder:
        desktop.messages.show(QStringLiteral("Failed to create folder"), MessageIcon::Critical);
        return;
    }
}

} // namespace

std::optional<QString> MainWindow::outputFolderForRun()
{
    const PreparedFolder prepared = prepareOutputFolder(
        outputFolderChoice->Text(), outputFolderChoice->ListIndex() == -1 ? FolderOrigin::Typed : FolderOrigin::Listed);
    tellFolderProblem(desktop, prepared.problem);
    if (!prepared.ready())
        return std::nullopt;
    return prepared.folder;
}

RunPlan MainWindow::planCheckedDocuments(const QString& outputFolder, QList<int>& rows) const
{
    RunPlan plan;
    plan.outputFolder = outputFolder;
    plan.format = outputFormats()[static_cast<size_t>(std::max(0, formatChoice->currentIndex()))].format;
    plan.extension = shortExtensionOption->isChecked() ? ExtensionLength::Short : ExtensionLength::Long;
    for (int row = 1; row <= ListViews::count(*documentList); ++row) {
        const QTreeWidgetItem* item = ListViews::item(*documentList, row);
        if (!item || !ListViews::checked(*item))
            continue;
        plan.documents.append({documentPathAt(*this, row), item->text(0), {}});
        rows << row;
    }
    return plan;
}

// Convert: every checked document of documentList into the output folder.
void MainWindow::convertCheckedDocuments()
{
    if (converting)
        return;
    const int itemCount = ListViews::count(*documentList);
    if (itemCount < 1) {
        desktop.messages.show(QStringLiteral("Please select word at fast!"), MessageIcon::Information);
    } else {
        progressBar->setMaximum(itemCount);
        if (const std::optional<QString> outputFolder = outputFolderForRun())
            convertInto(*outputFolder, itemCount);
    }
    progressBar->setValue(0);
    setMousePointer(MousePointer::Default);
    if (closeAfterRun)
        close();
}

bool MainWindow::askToStopConverting()
{
    if (!stopAfterDocument)
        stopAfterDocument = desktop.messages.ask(QStringLiteral("Stop converting after this document?"));
    return stopAfterDocument;
}

void MainWindow::convertInto(const QString& outputFolder, int itemCount)
{
    converting = true;
    stopAfterDocument = false;
    setMousePointer(MousePointer::Wait);
    QList<int> rows;
    const RunPlan plan = planCheckedDocuments(outputFolder, rows);
    WindowRun observer(desktop, *progressBar, rows, stopAfterDocument);
    RunCounts counts;
    {
        const RunInputGuard guard(*this, [this] { askToStopConverting(); });
        counts = ConversionRun(desktop.word, observer).run(plan);
        observer.advanceTo(itemCount);
    }
    if (counts.end == RunEnd::OutputFolderLost) {
        // One message instead of two for every document left.
        desktop.messages.show(QStringLiteral("The output folder %1 can no longer be used: %2. Converting "
                                             "stopped; %3 documents were not converted.")
                                  .arg(QString(outputFolder).chopped(outputFolder.size() > 1 ? 1 : 0),
                                       observer.lostReason)
                                  .arg(counts.notConverted),
                              MessageIcon::Critical);
    } else if (!closeAfterRun) {
        desktop.shell.openFolder(outputFolder);
    }
    converting = false;
}
