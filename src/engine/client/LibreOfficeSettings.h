#pragma once

#include <QString>

#include <chrono>

// Where LibreOffice and its helper are, and the limits they run under.
struct LibreOfficeSettings {
    QString helperPath;               // the varnello-lok executable
    QString libreOfficeProgramFolder; // LibreOffice's program folder
    QString profileRoot;              // where the private profiles live
    std::chrono::milliseconds callTimeout{std::chrono::seconds(120)};
    std::chrono::milliseconds startTimeout{std::chrono::seconds(120)};
    // How many helpers convert in parallel; 0 chooses from the cores and the free memory.
    int helpers = 0;
    // A helper is replaced, when it holds no document, after this many documents or
    // once its resident memory passes wornBytes.
    int documentsPerHelper = 2000;
    qint64 wornBytes = qint64(1200) << 20;

    // The helper beside the executable, Debian's LibreOffice, the user's cache folder.
    static LibreOfficeSettings forProgramFolder(const QString& programFolder);
};

