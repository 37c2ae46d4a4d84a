#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

void QtShell::openFolder(const QString& folder)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

void QtShell::openAddress(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}
