#include "sources/SourceListEvents.h"

#include "app/ListViews.h"
#include "app/MainWindow.h"
#include "engine/files/LocalFileName.h"

#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QUrl>

void SourceListEvents::attach(MainWindow& window)
{
    new SourceListEvents(window); // owned by sourceList
}

SourceListEvents::SourceListEvents(MainWindow& window)
    : QObject(window.sourceList), window(window), sourceList(window.sourceList),
      sourceViewport(window.sourceList->viewport())
{
    QTreeWidget& sources = *window.sourceList;
    sources.viewport()->setAcceptDrops(true);
    sources.installEventFilter(this);
    sources.viewport()->installEventFilter(this);
    connect(&sources, &QTreeWidget::itemSelectionChanged, this,
            &SourceListEvents::selectionChanged);
}

QStringList SourceListEvents::droppedPaths(const QMimeData& data)
{
    QStringList paths;
    if (!data.hasUrls())
        return paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        // The path's own bytes: a name that is not UTF-8 arrives percent-encoded, and
        // decoding it as UTF-8 would name another file.
        QString path = url.host().isEmpty()
                           ? LocalFileName::decode(QByteArray::fromPercentEncoding(
                               url.path(QUrl::FullyEncoded).toLatin1()))
                           : url.toLocalFile();
        while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
            path.chop(1);
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

bool SourceListEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == sourceViewport)
        return viewportEvent(event);
    if (watched == sourceList) {
        // A key moves the selection while it is being handled; the release ends it.
        if (event->type() == QEvent::KeyPress)
            keyPressed = true;
        else if (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut)
            keyPressed = false;
    }
    return false;
}

bool SourceListEvents::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!(drag->possibleActions() & Qt::CopyAction)
            || droppedPaths(*drag->mimeData()).isEmpty()) {
            drag->ignore();
        } else {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = droppedPaths(*drop->mimeData());
        if (!(drop->possibleActions() & Qt::CopyAction) || paths.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        window.addDroppedSources(paths);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        mousePressed = true;
        movedByMouse = false;
        doubleClicked = event->type() == QEvent::MouseButtonDblClick;
        pressedIndex = sourceList->indexAt(mouse->position().toPoint());
        pressedButton = mouse->button();
        return false;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // The view reports a click (and showDocumentsOfSource shows the source) when
        // the left button goes up on the item it went down on.
        const bool clickFollows = !doubleClicked && pressedButton == Qt::LeftButton
                                  && pressedIndex.isValid()
                                  && pressedIndex == sourceList->indexAt(mouse->position().toPoint());
        const bool show = mousePressed && movedByMouse && !clickFollows;
        mousePressed = false;
        movedByMouse = false;
        if (show)
            showSelectedSource();
        return false;
    }
    default: return false;
    }
}

void SourceListEvents::selectionChanged()
{
    if (mousePressed) {
        movedByMouse = true;
    } else if (keyPressed) {
        keyPressed = false;
        showSelectedSource();
    }
}

void SourceListEvents::showSelectedSource()
{
    if (QTreeWidgetItem* selected = ListViews::selectedItem(*sourceList))
        window.showDocumentsOfSource(selected);
}
