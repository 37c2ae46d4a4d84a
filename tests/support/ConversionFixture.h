#pragma once

#include "app/ListViews.h"
#include "app/form1.h"
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
    form1 window{fake.platform()};

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
        ListViews::setChecked(*ListViews::append(*window.ListView2, name), checked);
    }

    void selectSource(const QString& path)
    {
        ListViews::append(*window.ListView1, path);
        ListViews::select(*window.ListView1, ListViews::count(*window.ListView1));
    }

    // The sources folder selected, `names` listed and checked, the output folder picked.
    void prepare(const QStringList& names)
    {
        selectSource(sources.path());
        for (const QString& name : names)
            addDocument(name);
        window.Combo2->AddItem(output(), 0);
        window.Combo2->setListIndex(0);
    }
};
