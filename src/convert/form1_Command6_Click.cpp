#include "app/ListViews.h"
#include "app/Module1.h"
#include "app/form1.h"
#include "convert/OutputNames.h"
#include "convert/OutputFormats.h"
#include "engine/web/OutputFiles.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QProgressBar>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

// The output path (without extension) of each checked document, by position, claimed
// in the run's order; and the documents with their pages, for the word processor to
// start on and so that links between the documents lead to their pages.
QList<QString> claimTargets(const form1& window, int itemCount, const QString& extension, QStringList& documents,
                            QStringList& pages)
{
    OutputNames outputNames(Module1::OutputFolder);
    QList<QString> targets(itemCount + 1);
    for (int position = 1; position <= itemCount; ++position) {
        const QTreeWidgetItem* item = ListViews::item(*window.ListView2, position);
        if (!item || !ListViews::checked(*item))
            continue;
        targets[position] = outputNames.claim(item->text(0));
        if (QString path = Module1::GetDocumentPath(window, position); !path.isEmpty()) {
            documents << path;
            pages << targets[position] + extension;
        }
    }
    return targets;
}

} // namespace

// Convert: every checked document of ListView2 into the output folder.
void form1::Command6_Click()
{
    using namespace Module1;
    if (converting)
        return;
    const int itemCount = ListViews::count(*ListView2);
    if (itemCount < 1) {
        desktop.messages.show(QStringLiteral("Please select word at fast!"),
                              MessageIcon::Information);
    } else {
        ProgressBar1->setMaximum(itemCount);
        if (CheckOutputFolder(*this)) {
            converting = true;
            // What runs that were killed left half-written goes before this run writes.
            removeDeadTemporaries(OutputFolder);
            setMousePointer(MousePointer::Wait);
            const OutputFormat& format = outputFormat(Combo1->currentIndex());
            const int32_t formatCode = format.wordFormatCode;
            QStringList documents, pages;
            const QList<QString> targets = claimTargets(
                *this, itemCount, Option1->isChecked() ? format.shortExtension : format.longExtension, documents, pages);
            desktop.word.Announce(documents, formatCode);
            desktop.word.AnnouncePages(documents, pages);
            for (int position = 1; position <= itemCount; ++position) {
                const QTreeWidgetItem* item = ListViews::item(*ListView2, position);
                if (item && ListViews::checked(*item)) {
                    const QString baseName = OutputNames::baseName(item->text(0));
                    TargetPath = targets[position];
                    if (ConvertDocument(*this, position, TargetPath) != 1) {
                        desktop.messages.show(
                            QStringLiteral("Convert ") + baseName + QStringLiteral(" file failed!"),
                            MessageIcon::Critical);
                    }
                }
                ProgressBar1->setValue(position);
                // Let the window repaint between documents; input waits for the run.
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
            desktop.word.Announce({}, formatCode);
            desktop.word.AnnouncePages({}, {});
            desktop.shell.openFolder(OutputFolder);
            converting = false;
        }
    }
    ProgressBar1->setValue(0);
    setMousePointer(MousePointer::Default);
}
