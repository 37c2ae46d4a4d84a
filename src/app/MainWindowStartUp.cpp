#include "app/ListViews.h"
#include "sources/DocumentList.h"
#include "app/Twips.h"
#include "app/MainWindow.h"
#include "platform/FileSystem.h"
#include "run/OutputFormats.h"
#include "outputs/OutputFolderCombo.h"
#include "state/StateFile.h"

#include <QComboBox>
#include <QHeaderView>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

// Source icons follow what the path is at the moment the list is restored.
int iconForPathKind(FileSystem::EntryKind kind)
{
    switch (kind) {
    case FileSystem::EntryKind::File: return ImageList::Document;
    case FileSystem::EntryKind::Folder: return ImageList::Folder;
    default: return ImageList::Missing;
    }
}

// The lines of a state file; why it could not be read goes to `unreadable`.
QStringList readList(const QString& filePath, QString& unreadable)
{
    StateFile::Content content = StateFile::read(filePath);
    if (content.unreadable) {
        unreadable = content.reason;
        qWarning("Left %s as it is, it could not be read: %s", qPrintable(filePath),
                 qPrintable(content.reason));
    }
    return std::move(content.lines);
}

void addColumn(QTreeWidget& view, const QString& header, int widthTwips)
{
    view.setColumnCount(1);
    view.setHeaderLabels({header});
    view.headerItem()->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    view.setColumnWidth(0, twipsWidth(view, widthTwips));
}

} // namespace

void MainWindow::loadState()
{
    const QString& folder = desktop.stateFolder;
    helpFile = desktop.helpFile;

    // icons serves sourceList's small icons: each item's icon is set from it.
    sourceList->setIconSize(QSize(16, 16));
    addColumn(*sourceList, QStringLiteral("Please Select the Word File or Folder to Convert"), 4800);
    addColumn(*documentList, QStringLiteral("Word Document"), 3700);

    const QStringList sources =
        readList(StateFile::path(folder, StateFile::Sources), sourcesUnreadable);
    sourceList->setUpdatesEnabled(false);
    for (const QString& source : sources) {
        QTreeWidgetItem* entry = ListViews::append(*sourceList, source);
        ListViews::setSmallIcon(*entry, iconForPathKind(FileSystem::visibleKindOf(source)), icons);
    }
    sourceList->setUpdatesEnabled(true);

    const QStringList outputs =
        readList(StateFile::path(folder, StateFile::OutputFolders), outputsUnreadable);
    outputFolderChoice->addItems(outputs);
    if (outputFolderChoice->ListCount() > 0)
        outputFolderChoice->setListIndex(0);

    for (const OutputFormat& format : outputFormats())
        formatChoice->addItem(format.entry);
    formatChoice->setCurrentIndex(0); // raises showFormatExtensions, which sets the extension captions
    shortExtensionOption->setChecked(true);
}

void MainWindow::saveState()
{
    const QString& folder = desktop.stateFolder;
    const QStringList flags = StateFile::readLines(StateFile::path(folder, StateFile::Settings));
    const bool saveSources = flags.value(0) == QLatin1String("1");
    const bool saveOutputs = flags.value(1) == QLatin1String("1");

    auto save = [&](const QString& fileName, const QStringList& lines, const QString& what,
                    const QString& unreadable) {
        const QString filePath = StateFile::path(folder, fileName);
        if (!unreadable.isEmpty()) {
            // What could not be read is not destroyed; nothing is lost while the list is empty.
            if (!lines.isEmpty()) {
                desktop.messages.show(
                    QStringLiteral("The %1 was not saved: \"%2\" could not be read at start-up "
                                   "(%3) and is left as it is.")
                        .arg(what, filePath, unreadable),
                    MessageIcon::Critical);
            }
            return;
        }
        if (const auto failure = StateFile::writeLines(filePath, lines)) {
            desktop.messages.show(QStringLiteral("The %1 could not be saved to \"%2\": %3")
                                      .arg(what, filePath, *failure),
                                  MessageIcon::Critical);
        }
    };

    if (saveSources) {
        QStringList lines;
        lines.reserve(ListViews::count(*sourceList));
        for (int position = 1; position <= ListViews::count(*sourceList); ++position)
            lines << ListViews::item(*sourceList, position)->text(0);
        save(StateFile::Sources, lines, QStringLiteral("list of Word files and folders"),
             sourcesUnreadable);
    }
    if (saveOutputs) {
        constexpr int LastSavedPosition = 200;
        QStringList lines;
        for (int position = 0; position < outputFolderChoice->ListCount() && position <= LastSavedPosition;
             ++position)
            lines << outputFolderChoice->itemText(position);
        save(StateFile::OutputFolders, lines, QStringLiteral("list of output directories"),
             outputsUnreadable);
    }
}
