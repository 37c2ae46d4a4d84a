#pragma once

#include "app/ListViews.h"
#include "app/MainWindow.h"
#include "fakes/FakePlatform.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>

// A main window on the recording platform, with a fresh program folder and a
// scratch folder for the files a test needs.
struct WindowFixture {
    ProgramFolder programFolder;
    QTemporaryDir files;
    FakePlatform fake{programFolder.path()};
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(fake.platform());

    QString path(const QString& relative) const { return files.filePath(relative); }
    QString makeFolder(const QString& relative) const
    {
        QDir().mkpath(path(relative));
        return path(relative);
    }
    QString makeFile(const QString& relative) const
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile(path(relative)).open(QIODevice::WriteOnly);
        return path(relative);
    }
};

inline QStringList texts(const QTreeWidget& view)
{
    QStringList result;
    for (int position = 1; position <= ListViews::count(view); ++position)
        result << ListViews::item(view, position)->text(0);
    return result;
}

inline QList<int> icons(const QTreeWidget& view)
{
    QList<int> result;
    for (int position = 1; position <= ListViews::count(view); ++position)
        result << ListViews::smallIcon(*ListViews::item(view, position));
    return result;
}

inline QList<bool> checks(const QTreeWidget& view)
{
    QList<bool> result;
    for (int position = 1; position <= ListViews::count(view); ++position)
        result << ListViews::checked(*ListViews::item(view, position));
    return result;
}
