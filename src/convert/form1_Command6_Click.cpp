#include "app/ListViews.h"
#include "app/Module1.h"
#include "app/form1.h"
#include "convert/OutputNames.h"
#include "convert/OutputFormats.h"
#include "engine/web/OutputFiles.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QProgressBar>
#include <QTreeWidget>

namespace {

// The documents the run will convert, in its order, for the word processor to start on.
QStringList checkedDocumentPaths(const form1& window, int itemCount)
{
    QStringList paths;
    for (int position = 1; position <= itemCount; ++position) {
        const QTreeWidgetItem* item = ListViews::item(*window.ListView2, position);
        if (item && ListViews::checked(*item))
            if (QString path = Module1::GetDocumentPath(window, position); !path.isEmpty())
                paths << path;
    }
    return paths;
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
            const int32_t formatCode = outputFormat(Combo1->currentIndex()).wordFormatCode;
            desktop.word.Announce(checkedDocumentPaths(*this, itemCount), formatCode);
            OutputNames outputNames(OutputFolder);
            for (int position = 1; position <= itemCount; ++position) {
                const QTreeWidgetItem* item = ListViews::item(*ListView2, position);
                if (item && ListViews::checked(*item)) {
                    const QString baseName = OutputNames::baseName(item->text(0));
                    TargetPath = outputNames.claim(item->text(0));
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
            desktop.shell.openFolder(OutputFolder);
            converting = false;
        }
    }
    ProgressBar1->setValue(0);
    setMousePointer(MousePointer::Default);
}
