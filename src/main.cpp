#include "app/MainWindow.h"
#include "engine/files/LocalFileName.h"
#include "platform/Platform.h"
#include "platform/ProgramLocations.h"
#include "state/StateFolder.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnello"));
    QApplication::setFont(QFont(QStringLiteral("Arial"), 9));
    // The menu entry an installed copy has, so that the desktop shows its icon.
    QApplication::setDesktopFileName(QStringLiteral("example.varnello.Varnello"));

    QTextStream errors(stderr);
    const ProgramLocations locations = ProgramLocations::ofThisProgram();
    if (locations.installed) {
        if (const auto failure = StateFile::prepareFolder(locations.stateFolder, locations.defaultsFolder))
            errors << "varnello: " << *failure << Qt::endl;
    }

    // What is left on the command line once Qt has taken its own options: files and folders.
    QStringList paths;
    for (int index = 1; index < argc; ++index)
        paths << LocalFileName::decode(QByteArray(argv[index]));

    QtPlatform desktop(locations);
    MainWindow window(desktop.platform());
    // Installed, the window carries the program's own icon (a build folder has none).
    if (const QIcon icon = QIcon::fromTheme(QStringLiteral("example.varnello.Varnello")); !icon.isNull()) {
        QApplication::setWindowIcon(icon);
        window.setWindowIcon(icon);
    }
    for (const QString& leftOut : window.addStartSources(paths))
        errors << "varnello: not a Word document or folder: " << leftOut << Qt::endl;
    window.show();
    return QApplication::exec();
}
