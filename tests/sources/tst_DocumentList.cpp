#include "outputs/OutputFolderCombo.h"
#include "sources/SourceListEvents.h"
#include "sources/WindowFixture.h"
#include "engine/files/LocalFileName.h"

#include <QMimeData>
#include <QtTest>

namespace {
const std::vector<int16_t> OneFill = {MousePointer::Wait, MousePointer::Default};
}

class TestDocumentList : public QObject {
    Q_OBJECT

    // Folders one, two, three, ... each holding <name>.doc, added with Add Folder.
    static QStringList addFolders(WindowFixture& fixture, const QStringList& names)
    {
        QStringList folders;
        for (const QString& name : names) {
            fixture.makeFile(name + "/" + name + ".doc");
            folders << fixture.path(name);
            fixture.fake.fileDialogs.answers << folders.last();
            fixture.window->addFolder();
        }
        return folders;
    }

    static QPoint centreOf(const QTreeWidget& view, int position)
    {
        return view.visualItemRect(ListViews::item(view, position)).center();
    }

private slots:
    void addWordAndFolder()
    {
        WindowFixture fixture;
        MainWindow& window = *fixture.window;
        const QString notes = fixture.makeFile("notes.txt");
        fixture.fake.fileDialogs.answers << notes << notes;
        window.addWordDocuments();
        const auto& asked = fixture.fake.fileDialogs.asked.front();
        QCOMPARE(asked.owner, &window);
        QCOMPARE(asked.request.title, QStringLiteral("Select Word File"));
        QCOMPARE(asked.request.fileTypes,
                 QList<FileType>({{"Word File(*.doc;*.docx)", "*.doc;*.docx"}}));
        QCOMPARE(texts(*window.documentList), QStringList({"notes.txt"}));
        QCOMPARE(checks(*window.documentList), QList<bool>({true}));
        QCOMPARE(fixture.fake.pointer.history, OneFill);

        window.addWordDocuments(); // the same file again
        fixture.fake.fileDialogs.answers << fixture.makeFolder("empty");
        window.addFolder();
        QCOMPARE(fixture.fake.fileDialogs.asked.back().request.title,
                 QStringLiteral("Add all word files in folder"));
        QCOMPARE(texts(*window.sourceList), QStringList({notes, notes, fixture.path("empty")}));
        QCOMPARE(icons(*window.sourceList),
                 QList<int>({ImageList::Document, ImageList::Document, ImageList::Folder}));
        QCOMPARE(ListViews::selectedPosition(*window.sourceList), 3);
        QVERIFY(texts(*window.documentList).isEmpty());

        // Cancelled, or confirmed without a folder: nothing changes.
        addFolders(fixture, {"one"});
        ListViews::setChecked(*ListViews::item(*window.documentList, 1), false);
        fixture.fake.pointer.history.clear();
        fixture.fake.fileDialogs.answers << std::nullopt << QString();
        window.addWordDocuments();
        window.addFolder();
        QCOMPARE(ListViews::count(*window.sourceList), 4);
        QCOMPARE(checks(*window.documentList), QList<bool>({false}));
        QCOMPARE(fixture.fake.pointer.history,
                 std::vector<int16_t>({MousePointer::Default, MousePointer::Default}));
    }

    void removeSelectsNeighbour()
    {
        WindowFixture fixture;
        MainWindow& window = *fixture.window;
        window.removeSelectedSource(); // nothing to remove
        const QStringList folders = addFolders(fixture, {"one", "two", "three", "four"});
        ListViews::select(*window.sourceList, 1);
        window.removeSelectedSource();
        QCOMPARE(ListViews::selectedPosition(*window.sourceList), 1);
        QCOMPARE(texts(*window.documentList), QStringList({"two.doc"}));
        ListViews::select(*window.sourceList, 3);
        window.removeSelectedSource();
        QCOMPARE(texts(*window.sourceList), QStringList({folders[1], folders[2]}));
        QCOMPARE(ListViews::selectedPosition(*window.sourceList), 2);
        QCOMPARE(texts(*window.documentList), QStringList({"three.doc"}));

        window.sourceList->clearSelection();
        window.removeSelectedSource();
        QCOMPARE(ListViews::count(*window.sourceList), 2);
        ListViews::select(*window.sourceList, 1);
        window.removeSelectedSource();
        window.removeSelectedSource();
        QCOMPARE(ListViews::count(*window.sourceList) + ListViews::count(*window.documentList), 0);
        QCOMPARE(fixture.fake.pointer.current(), MousePointer::Default);

        addFolders(fixture, {"one"});
        window.removeAllSources();
        QCOMPARE(ListViews::count(*window.sourceList) + ListViews::count(*window.documentList), 0);
    }

    // The moved source stays selected with its icon; its documents keep their check boxes.
    void moveKeepsIconSelectionAndChecks()
    {
        WindowFixture fixture;
        MainWindow& window = *fixture.window;
        const QStringList folders = addFolders(fixture, {"one", "two"});
        fixture.fake.fileDialogs.answers << fixture.makeFile("single.doc");
        window.addWordDocuments();
        addFolders(fixture, {"four", "five"});
        ListViews::select(*window.sourceList, 3);
        window.showDocumentsOfSource(ListViews::item(*window.sourceList, 3));
        ListViews::setChecked(*ListViews::item(*window.documentList, 1), false);

        window.moveSourceUp();
        QCOMPARE(texts(*window.sourceList).mid(0, 3),
                 QStringList({folders[0], fixture.path("single.doc"), folders[1]}));
        QCOMPARE(icons(*window.sourceList).mid(0, 3),
                 QList<int>({ImageList::Folder, ImageList::Document, ImageList::Folder}));
        QCOMPARE(ListViews::selectedPosition(*window.sourceList), 2);
        window.moveSourceDown();
        window.moveSourceDown();
        window.moveSourceDown();
        window.moveSourceDown(); // already last
        QCOMPARE(ListViews::selectedPosition(*window.sourceList), 5);
        QCOMPARE(icons(*window.sourceList).last(), ImageList::Document);
        QCOMPARE(texts(*window.documentList), QStringList({"single.doc"}));
        QCOMPARE(checks(*window.documentList), QList<bool>({false}));

        ListViews::select(*window.sourceList, 1);
        window.moveSourceUp(); // already first
        QCOMPARE(ListViews::item(*window.sourceList, 1)->text(0), folders[0]);
    }

    // However the user selects a source, documentList shows that source's documents.
    void everyWayOfSelectingShowsSource()
    {
        WindowFixture fixture;
        MainWindow& window = *fixture.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        addFolders(fixture, {"one", "two", "three"});
        fixture.makeFile("two/zwei.doc");
        QWidget* viewport = window.sourceList->viewport();
        fixture.fake.pointer.history.clear();

        QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(*window.sourceList, 2));
        QCOMPARE(texts(*window.documentList), QStringList({"two.doc", "zwei.doc"}));
        QCOMPARE(fixture.fake.pointer.history, OneFill);
        ListViews::setChecked(*ListViews::item(*window.documentList, 2), false);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(*window.sourceList, 2));
        QCOMPARE(checks(*window.documentList), QList<bool>({true, true}));

        window.sourceList->setFocus();
        QTest::keyClick(window.sourceList, Qt::Key_Up);
        QCOMPARE(texts(*window.documentList), QStringList({"one.doc"}));
        QTest::mouseClick(viewport, Qt::RightButton, {}, centreOf(*window.sourceList, 3));
        QCOMPARE(texts(*window.documentList), QStringList({"three.doc"}));
        QTest::mousePress(viewport, Qt::LeftButton, {}, centreOf(*window.sourceList, 3));
        QTest::mouseMove(viewport, centreOf(*window.sourceList, 2));
        QTest::mouseMove(viewport, centreOf(*window.sourceList, 1));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, centreOf(*window.sourceList, 1));
        QCOMPARE(ListViews::selectedPosition(*window.sourceList), 1);
        QCOMPARE(texts(*window.documentList), QStringList({"one.doc"}));
    }

    void dropFilesAndFolders()
    {
        WindowFixture fixture;
        MainWindow& window = *fixture.window;
        const QString folder = fixture.makeFolder("one");
        const QString memo = fixture.makeFile("memo.docx");
        window.outputFolderChoice->addItem(QStringLiteral("/out"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(folder + "/"), QUrl("https://example.org/a.doc"),
                      QUrl::fromLocalFile(fixture.makeFolder(".hidden")),
                      QUrl::fromLocalFile(memo)});
        QWidget* target = window.sourceList->viewport();

        QDragEnterEvent moveOnly(QPoint(5, 5), Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &moveOnly);
        QVERIFY(!moveOnly.isAccepted());
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        enter.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        drop.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(target, &drop);
        // Always a copy: the file manager must not delete what it dragged.
        QVERIFY(drop.isAccepted());
        QCOMPARE(drop.dropAction(), Qt::CopyAction);

        QCOMPARE(texts(*window.sourceList), QStringList({folder, fixture.path(".hidden"), memo}));
        QCOMPARE(icons(*window.sourceList),
                 QList<int>({ImageList::Folder, ImageList::Folder, ImageList::Document}));
        QCOMPARE(ListViews::selectedPosition(*window.sourceList), 3);
        QCOMPARE(texts(*window.documentList), QStringList({"memo.docx"}));
        QCOMPARE(fixture.fake.pointer.history, OneFill);
        QCOMPARE(window.outputFolderChoice->ListCount(), 1);
    }

    void droppedNamesKeepTheirBytes()
    {
        QMimeData data;
        data.setUrls({QUrl::fromEncoded("file:///tmp/caf%E9/a%20b%3F*.doc"),
                      QUrl::fromLocalFile(QStringLiteral("/tmp/zo\u00EB/#1.doc"))});
        const QStringList paths = SourceListEvents::droppedPaths(data);
        QCOMPARE(paths.size(), 2);
        QCOMPARE(LocalFileName::encode(paths[0]), QByteArray("/tmp/caf\xE9/a b?*.doc"));
        QCOMPARE(paths[1], QStringLiteral("/tmp/zo\u00EB/#1.doc"));
    }
};

QTEST_MAIN(TestDocumentList)
#include "tst_DocumentList.moc"
