#pragma once

// Running varnello-convert as a user would, without a display, and the Word
// documents it converts in the tests, made once with LibreOffice.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QUrl>

#include <unistd.h>

namespace cli {

// The environment of an ssh session or a container: no display of any kind.
inline QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

// How a program run without a display ended: its exit status (-1 when it crashed or did
// not end within 30 seconds) and what it wrote.
struct Ran {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

inline Ran runWithoutDisplay(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

inline void touch(const QString& path, const QByteArray& content = "document")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A small .docx with a heading, a table and a picture, made by LibreOffice once per
// machine and kept (like the engine tests' samples).
inline QString sampleDocx()
{
    const QString folder = QDir::tempPath() + QStringLiteral("/varnello-test-cli-") + QString::number(getuid());
    const QString docx = folder + QStringLiteral("/sample.docx");
    if (QFileInfo::exists(docx))
        return docx;
    QDir().mkpath(folder);
    const QByteArray picture = "iVBORw0KGgoAAAANSUhEUgAAABAAAAAMCAIAAADkharWAAAAFUlEQVR4nGPQiDpBEmIY1TCqATsCANfh94HFfj51AAAAAElFTkSuQmCC";
    touch(folder + QStringLiteral("/sample.html"),
          "<html><body><h1>Report</h1><p>A paragraph of plain text.</p>"
          "<p><img src=\"data:image/png;base64," + picture + "\" width=\"32\" height=\"24\"> A picture.</p>"
          "<table border=\"1\"><tr><td>Alpha</td><td>1</td></tr></table></body></html>");
    QProcess soffice;
    soffice.setStandardOutputFile(QProcess::nullDevice());
    soffice.setStandardErrorFile(QProcess::nullDevice());
    soffice.start(QStringLiteral("soffice"),
                  {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(folder + QStringLiteral("/profile")).toString(),
                   QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("docx:MS Word 2007 XML"),
                   QStringLiteral("--outdir"), folder, folder + QStringLiteral("/sample.html")});
    soffice.waitForFinished(180000);
    return QFileInfo::exists(docx) ? docx : QString();
}

// Copies of the sample under each of `names` (paths below `folder`).
inline bool placeDocuments(const QString& folder, const QStringList& names)
{
    const QString sample = sampleDocx();
    if (sample.isEmpty())
        return false;
    for (const QString& name : names) {
        const QString target = folder + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(sample, target))
            return false;
    }
    return true;
}

// Every file and folder below `folder`, relative to it, sorted.
inline QStringList treeOf(const QString& folder)
{
    QStringList entries;
    QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        entries << info.fileName();
        if (info.isDir())
            for (const QString& inner : treeOf(info.filePath()))
                entries << info.fileName() + QLatin1Char('/') + inner;
    }
    entries.sort();
    return entries;
}

} // namespace cli
