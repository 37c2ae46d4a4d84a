#include "sources/WindowFixture.h"

#include <QtTest>

namespace {
const std::vector<int16_t> OneFill = {MousePointer::Wait, MousePointer::Default};
}

// Files and folders named on the command line ("Open with", a drop on the menu entry).
class TestStartSources : public QObject {
    Q_OBJECT

private slots:
    void addsWordDocumentsAndFoldersAndShowsTheFirst()
    {
        WindowFixture fixture;
        MainWindow& window = *fixture.window;
        const QString report = fixture.makeFile("Report.DOCX");
        const QString macros = fixture.makeFile("m.docm");
        fixture.makeFile("batch/b.doc");
        fixture.makeFile("batch/a.docx");
        fixture.makeFile("batch/notes.txt");
        const QString batch = fixture.path("batch");
        const QString notes = fixture.makeFile("notes.txt");
        const QString missing = fixture.path("gone.doc");

        const QStringList leftOut =
            window.addStartSources({notes, batch + "/", missing, report, QString(), macros});

        QCOMPARE(leftOut, QStringList({notes, missing, QString()}));
        QCOMPARE(texts(*window.sourceList), QStringList({batch, report, macros}));
        QCOMPARE(icons(*window.sourceList),
                 QList<int>({ImageList::Folder, ImageList::Document, ImageList::Document}));
        // The first one added is the current source: its documents are on show, all checked.
        QCOMPARE(ListViews::selectedPosition(*window.sourceList), 1);
        QCOMPARE(texts(*window.documentList), QStringList({"a.docx", "b.doc"}));
        QCOMPARE(checks(*window.documentList), QList<bool>({true, true}));
        QCOMPARE(fixture.fake.pointer.history, OneFill);
        QVERIFY(fixture.fake.messages.shown.empty());
    }

    void relativePathsBecomeFullOnes()
    {
        WindowFixture fixture;
        fixture.makeFile("work/letter.doc");
        const QString before = QDir::currentPath();
        QDir::setCurrent(fixture.path("work"));
        const QStringList leftOut = fixture.window->addStartSources({"letter.doc", "./", "../work/"});
        QDir::setCurrent(before);

        QVERIFY(leftOut.isEmpty());
        const QString work = QFileInfo(fixture.path("work")).absoluteFilePath();
        QCOMPARE(texts(*fixture.window->sourceList), QStringList({work + "/letter.doc", work, work}));
        QCOMPARE(texts(*fixture.window->documentList), QStringList({"letter.doc"}));
    }

    void followRestoredSourcesAndSurviveShutDown()
    {
        WindowFixture fixture;
        const QString old = fixture.makeFolder("old");
        const QString added = fixture.makeFile("new/n.doc");
        fixture.programFolder.write("EXCEL.txt", old.toUtf8() + "\r\n");
        fixture.programFolder.write("set.txt", "1\r\n0\r\n");
        fixture.window = std::make_unique<MainWindow>(fixture.fake.platform());

        fixture.window->addStartSources({added});
        QCOMPARE(texts(*fixture.window->sourceList), QStringList({old, added}));
        QCOMPARE(ListViews::selectedPosition(*fixture.window->sourceList), 2);
        fixture.window->saveState();
        QCOMPARE(fixture.programFolder.read("EXCEL.txt"), (old + "\r\n" + added + "\r\n").toUtf8());
    }

    void nothingUsableChangesNothing()
    {
        WindowFixture fixture;
        const QString notes = fixture.makeFile("notes.txt");
        QCOMPARE(fixture.window->addStartSources({notes}), QStringList({notes}));
        QVERIFY(fixture.window->addStartSources({}).isEmpty());
        QCOMPARE(ListViews::count(*fixture.window->sourceList), 0);
        QCOMPARE(ListViews::count(*fixture.window->documentList), 0);
        QVERIFY(fixture.fake.pointer.history.empty());
    }
};

QTEST_MAIN(TestStartSources)
#include "tst_StartSources.moc"
