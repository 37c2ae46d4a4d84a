#include "app/form1.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnello"));
    QApplication::setFont(QFont(QStringLiteral("Arial"), 9));

    QtPlatform desktop(QCoreApplication::applicationDirPath());
    form1 window(desktop.platform());
    window.show();
    return QApplication::exec();
}
