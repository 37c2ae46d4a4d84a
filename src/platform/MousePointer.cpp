#include "platform/MousePointer.h"

#include <QCursor>
#include <QGuiApplication>

QtMousePointer::~QtMousePointer()
{
    set(Default);
}

void QtMousePointer::set(Shape pointer)
{
    // The override cursor stacks; keep at most one of ours on it.
    const bool wantWait = pointer == Wait;
    if (wantWait == waiting)
        return;
    if (wantWait)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
    waiting = wantWait;
}
