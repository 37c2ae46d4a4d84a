#pragma once

#include <QString>

// LibreOffice runs a graphics self-test of several seconds (large bitmaps drawn and
// compared) each time it starts with a profile that has not been marked with its
// version, which a profile only run through LibreOfficeKit never is. A helper never
// draws for a screen, so its private profile is marked with the installed version
// (see writeProfileSettings).

// The installed LibreOffice's version ("7.4"), from the configuration beside its
// program folder; empty when it cannot be found.
QString installedLibreOfficeVersion(const QString& programFolder);
