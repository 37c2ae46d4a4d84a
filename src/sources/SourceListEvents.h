#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QStringList>

class QMimeData;
class QTreeWidget;
class MainWindow;

// What sourceList does besides its buttons and clicks:
// - it takes files and folders dropped from a file manager, always as a copy, so
//   the file manager never deletes what it dragged;
// - it shows the selected source's documents when the user moves the selection
//   without a plain click (arrow keys, type-ahead, dragging, right click), so that
//   documentList always belongs to the selected source and a run never converts
//   documents of one source under the path of another.
class SourceListEvents final : public QObject {
    Q_OBJECT
public:
    // Wires an instance to the window's sourceList, which owns it.
    static void attach(MainWindow& window);

    // The local paths among the dropped URLs, trailing slashes trimmed
    // (the root folder stays "/").
    static QStringList droppedPaths(const QMimeData& data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SourceListEvents(MainWindow& window);
    bool viewportEvent(QEvent* event);
    void selectionChanged();
    void showSelectedSource();

    MainWindow& window;
    // Followed only for user input: while the window goes away, they are only compared.
    QTreeWidget* const sourceList;
    const QObject* const sourceViewport;
    bool keyPressed = false;
    bool mousePressed = false;
    bool movedByMouse = false;
    bool doubleClicked = false;
    QPersistentModelIndex pressedIndex;
    Qt::MouseButton pressedButton = Qt::NoButton;
};
