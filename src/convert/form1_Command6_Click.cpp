#include "app/ListViews.h"
#include "app/Module1.h"
#include "app/form1.h"
#include "convert/OutputNames.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QTreeWidget>

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
            setMousePointer(MousePointer::Wait);
            OutputNames outputNames(OutputFolder);
            for (int position = 1; position <= itemCount; ++position) {
                const QTreeWidgetItem* item = ListViews::item(*ListView2, position);
                if (item && ListViews::checked(*item)) {
                    const QString baseName = OutputNames::baseName(item->text(0));
                    TargetPath = outputNames.claim(item->text(0));
                    if (ConvertDocument(*this, position) != 1) {
                        desktop.messages.show(
                            QStringLiteral("Convert ") + baseName + QStringLiteral(" file failed!"),
                            MessageIcon::Critical);
                    }
                }
                ProgressBar1->setValue(position);
                // Let the window repaint between documents; input waits for the run.
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
            desktop.shell.openFolder(OutputFolder);
            converting = false;
        }
    }
    ProgressBar1->setValue(0);
    setMousePointer(MousePointer::Default);
}
