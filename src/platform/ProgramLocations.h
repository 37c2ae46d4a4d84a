#pragma once

#include <QString>

// Where the program finds its helper and user guide, and where each user's state files
// live. There are two layouts, told apart by where the helper is:
//
//  - the build folder: the helper varnello-lok sits beside the executable, and so do
//    the state files and help.html (the program folder of the design);
//  - installed (`cmake --install`, the Debian package): PREFIX/bin/varnello, the helper
//    in PREFIX/lib/varnello, help.html and the empty default state files in
//    PREFIX/share/varnello; each user's set.txt, EXCEL.txt and output.txt in that
//    user's configuration folder ($XDG_CONFIG_HOME/varnello, ~/.config/varnello).
//
// The helper beside the executable makes a build folder; without it, the installed
// helper or the installed data folder make an installed copy; an executable with
// neither counts as a build folder, as before.
struct ProgramLocations {
    bool installed = false;
    QString programFolder;  // the folder that holds the executable
    QString helperFolder;   // the folder that holds varnello-lok
    QString stateFolder;    // set.txt, EXCEL.txt, output.txt
    QString helpFile;       // help.html
    QString defaultsFolder; // installed: the package's state files for a first start

    // `executableFolder` is the folder of the running executable, `userConfigFolder`
    // the user's configuration folder (the XDG config home).
    static ProgramLocations find(const QString& executableFolder, const QString& userConfigFolder);
    // The locations of the running program (call after QCoreApplication exists).
    static ProgramLocations ofThisProgram();
};
