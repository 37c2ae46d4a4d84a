#include "platform/ProgramLocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// The install rules (cmake/Install.cmake) say where they put the helper and the data,
// relative to the folder of the installed executable.
#if !defined(VARNELLO_HELPER_FROM_BIN) || !defined(VARNELLO_DATA_FROM_BIN)
#error "cmake/Install.cmake defines VARNELLO_HELPER_FROM_BIN and VARNELLO_DATA_FROM_BIN"
#endif

namespace {

const QString HelperName = QStringLiteral("varnello-lok");
const QString HelpName = QStringLiteral("help.html");

bool isFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QString below(const QString& folder, const QString& relative)
{
    return QDir::cleanPath(folder + QLatin1Char('/') + relative);
}

} // namespace

ProgramLocations ProgramLocations::find(const QString& executableFolder,
                                        const QString& userConfigFolder)
{
    ProgramLocations locations;
    locations.programFolder = executableFolder;

    // The helper beside the program makes a build folder; the installed helper or the
    // installed data make an installed copy (one missing its helper still keeps the
    // users' lists out of the program's folder, and reports the helper missing).
    const QString installedHelpers = below(executableFolder, QStringLiteral(VARNELLO_HELPER_FROM_BIN));
    const QString data = below(executableFolder, QStringLiteral(VARNELLO_DATA_FROM_BIN));
    locations.installed = !isFile(below(executableFolder, HelperName))
                          && (isFile(below(installedHelpers, HelperName)) || QFileInfo(data).isDir());
    if (!locations.installed) {
        locations.helperFolder = executableFolder;
        locations.stateFolder = executableFolder;
        locations.helpFile = executableFolder + QLatin1Char('/') + HelpName;
        return locations;
    }

    locations.helperFolder = installedHelpers;
    locations.stateFolder = below(userConfigFolder, QStringLiteral("varnello"));
    locations.helpFile = data + QLatin1Char('/') + HelpName;
    locations.defaultsFolder = data + QStringLiteral("/defaults");
    return locations;
}

ProgramLocations ProgramLocations::ofThisProgram()
{
    return find(QCoreApplication::applicationDirPath(),
                QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}
