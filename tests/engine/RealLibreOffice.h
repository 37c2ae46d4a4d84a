#pragma once

// Running the real LibreOffice from tests: the engine's helper, and soffice itself to
// write the documents a test converts.

#include "engine/client/LibreOfficeWordAutomation.h"

#include <QDir>
#include <QProcess>
#include <QUrl>

#include <chrono>
#include <unistd.h>

namespace reallibreoffice {

inline LibreOfficeSettings engineSettings()
{
    using namespace std::chrono_literals;
    LibreOfficeSettings settings = LibreOfficeSettings::forProgramFolder(QString());
    settings.helperPath = QStringLiteral(VARNELLO_LOK_HELPER);
    settings.profileRoot = QDir::tempPath() + QStringLiteral("/varnello-test-profiles-") + QString::number(getuid());
    // A hang shows up as a failed test, not as a stuck test run.
    settings.callTimeout = 60s;
    return settings;
}

// A profile of soffice's own per test and user: another user's cannot be written.
inline QString sofficeProfile(const QString& test)
{
    return QDir::tempPath() + QStringLiteral("/varnello-test-soffice-%1%2").arg(test).arg(getuid());
}

// One document through the Word-like interface, as the conversion of one document does.
inline void convert(LibreOfficeWordAutomation& word, const QString& document, const QString& output, int format)
{
    auto application = word.CreateObject();
    application->DocumentsOpen(document);
    application->ActiveDocumentSaveAs(output, format);
    application->ActiveDocumentClose();
    application->Quit();
}

inline bool runSoffice(const QString& profile, const QStringList& arguments)
{
    QProcess soffice;
    soffice.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    soffice.setStandardOutputFile(QProcess::nullDevice());
    soffice.start(QStringLiteral("soffice"),
                  QStringList{QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
                              QStringLiteral("--headless")}
                      + arguments);
    return soffice.waitForFinished(120000) && soffice.exitCode() == 0;
}

} // namespace reallibreoffice
