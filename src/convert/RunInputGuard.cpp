#include "convert/RunInputGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

} // namespace

RunInputGuard::RunInputGuard(QWidget& window, std::function<void()> onEscape)
    : window(window), onEscape(std::move(onEscape))
{
    qApp->installEventFilter(this);
}

RunInputGuard::~RunInputGuard()
{
    qApp->removeEventFilter(this);
}

bool RunInputGuard::belongsToWindow(QObject* target) const
{
    if (auto* widget = qobject_cast<QWidget*>(target))
        return widget->window() == &window;
    if (auto* handle = qobject_cast<QWindow*>(target))
        return handle == window.windowHandle();
    return false;
}

bool RunInputGuard::eventFilter(QObject* target, QEvent* event)
{
    if (!isUserInput(event->type()) || !belongsToWindow(target))
        return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape
        && !static_cast<QKeyEvent*>(event)->isAutoRepeat())
        onEscape();
    return true;
}
