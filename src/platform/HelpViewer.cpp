#include "platform/HelpViewer.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

QtHelpViewer::QtHelpViewer() = default;
QtHelpViewer::~QtHelpViewer() = default;

void QtHelpViewer::showHelp(const QString& helpFile)
{
    if (!window) {
        window = std::make_unique<QTextBrowser>();
        window->setWindowTitle(QStringLiteral("Varnello Help"));
        window->setOpenExternalLinks(true);
        window->resize(720, 560);
    }
    if (QFileInfo(helpFile).isFile()) {
        window->setSource(QUrl::fromLocalFile(helpFile));
    } else {
        window->setPlainText(QStringLiteral("The help file \"%1\" could not be found. "
                                            "Reinstall Varnello to restore it.")
                                 .arg(helpFile));
    }
    window->show();
    window->raise();
    window->activateWindow();
}
