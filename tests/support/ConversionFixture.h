#pragma once

#include "app/ListViews.h"
#include "app/MainWindow.h"
#include "outputs/OutputFolderCombo.h"
#include "support/ProgramFolder.h"
#include "fakes/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

// A window with a folder source of real (dummy) documents and a recording word
// processor, ready to convert into `output`.
struct ConversionFixture {
    ProgramFolder program;
    QTemporaryDir sources;
    QTemporaryDir outputs;
    FakePlatform fake{program.path()};
    MainWindow window{fake.platform()};

    QString source(const QString& name) const { return sources.filePath(name); }
    QString output(const QString& name = {}) const
    {
        return name.isEmpty() ? outputs.path() : outputs.filePath(name);
    }

    void addDocument(const QString& name, bool checked = true, bool onDisk = true)
    {
        if (onDisk) {
            QFile file(source(name));
            if (file.open(QIODevice::WriteOnly))
                file.write("document");
        }
        ListViews::setChecked(*ListViews::append(*window.documentList, name), checked);
    }

    void selectSource(const QString& path)
    {
        ListViews::append(*window.sourceList, path);
        ListViews::select(*window.sourceList, ListViews::count(*window.sourceList));
    }

    // The sources folder selected, `names` listed and checked, the output folder picked.
    void prepare(const QStringList& names)
    {
        selectSource(sources.path());
        for (const QString& name : names)
            addDocument(name);
        window.outputFolderChoice->AddItem(output(), 0);
        window.outputFolderChoice->setListIndex(0);
    }
};
