#include "app/MainWindow.h"
#include "app/StartOptions.h"
#include "platform/Platform.h"
#include "platform/ProgramLocations.h"
#include "state/StateFolder.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QTextStream>

int main(int argc, char* argv[])
{
    const QString version = QStringLiteral(VARNELLO_VERSION);
    // --help and --version need no display, so they are answered before Qt starts. An
    // option that is not ours may still be one of Qt's: that waits until Qt has taken its own.
    if (const auto early = StartOptions::read(StartOptions::decode(argc, argv));
        early.action != StartOptions::Action::UsageError) {
        if (const auto status = StartOptions::answerWithoutWindow(early, version))
            return *status;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnello"));
    QApplication::setFont(QFont(QStringLiteral("Arial"), 9));
    // The menu entry an installed copy has, so that the desktop shows its icon.
    QApplication::setDesktopFileName(QStringLiteral("varnello"));

    // Qt has taken its own options; what is left are files, folders and options of ours.
    const StartOptions::Request request = StartOptions::read(StartOptions::decode(argc, argv));
    if (const auto status = StartOptions::answerWithoutWindow(request, version))
        return *status;

    QTextStream errors(stderr);
    const ProgramLocations locations = ProgramLocations::ofThisProgram();
    if (locations.installed) {
        if (const auto failure = StateFile::prepareFolder(locations.stateFolder, locations.defaultsFolder))
            errors << "varnello: " << *failure << Qt::endl;
    }

    QtPlatform desktop(locations);
    MainWindow window(desktop.platform());
    // Installed, the window carries the program's own icon (a build folder has none).
    if (const QIcon icon = QIcon::fromTheme(QStringLiteral("example.varnello.Varnello")); !icon.isNull()) {
        QApplication::setWindowIcon(icon);
        window.setWindowIcon(icon);
    }
    for (const QString& leftOut : window.addStartSources(request.paths))
        errors << "varnello: not a Word document or folder: " << leftOut << Qt::endl;
    window.show();
    return QApplication::exec();
}
