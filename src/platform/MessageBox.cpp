#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void QtMessageBox::show(const QString& text, MessageIcon icon)
{
    QMessageBox box(toQtIcon(icon), QStringLiteral("Varnello"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool QtMessageBox::ask(const QString& question)
{
    return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("Varnello"), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}
