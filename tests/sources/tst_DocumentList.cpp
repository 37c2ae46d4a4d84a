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
            fixture.window->Command5_Click();
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
        form1& window = *fixture.window;
        const QString notes = fixture.makeFile("notes.txt");
        fixture.fake.fileDialogs.answers << notes << notes;
        window.Command1_Click();
        const auto& asked = fixture.fake.fileDialogs.asked.front();
        QCOMPARE(asked.owner, &window);
        QCOMPARE(asked.request.title, QStringLiteral("Select Word File"));
        QCOMPARE(asked.request.fileTypes,
                 QList<FileType>({{"Word File(*.doc;*.docx)", "*.doc;*.docx"}}));
        QCOMPARE(texts(*window.ListView2), QStringList({"notes.txt"}));
        QCOMPARE(checks(*window.ListView2), QList<bool>({true}));
        QCOMPARE(fixture.fake.pointer.history, OneFill);

        window.AddExcel_Click(); // the same file again
        fixture.fake.fileDialogs.answers << fixture.makeFolder("empty");
        window.AddFolder_Click();
        QCOMPARE(fixture.fake.fileDialogs.asked.back().request.title,
                 QStringLiteral("Add all word files in folder"));
        QCOMPARE(texts(*window.ListView1), QStringList({notes, notes, fixture.path("empty")}));
        QCOMPARE(icons(*window.ListView1),
                 QList<int>({ImageList::Document, ImageList::Document, ImageList::Folder}));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 3);
        QVERIFY(texts(*window.ListView2).isEmpty());

        // Cancelled, or confirmed without a folder: nothing changes.
        addFolders(fixture, {"one"});
        ListViews::setChecked(*ListViews::item(*window.ListView2, 1), false);
        fixture.fake.pointer.history.clear();
        fixture.fake.fileDialogs.answers << std::nullopt << QString();
        window.Command1_Click();
        window.Command5_Click();
        QCOMPARE(ListViews::count(*window.ListView1), 4);
        QCOMPARE(checks(*window.ListView2), QList<bool>({false}));
        QCOMPARE(fixture.fake.pointer.history,
                 std::vector<int16_t>({MousePointer::Default, MousePointer::Default}));
    }

    void removeSelectsNeighbour()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        window.Command2_Click(); // nothing to remove
        const QStringList folders = addFolders(fixture, {"one", "two", "three", "four"});
        ListViews::select(*window.ListView1, 1);
        window.Command2_Click();
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 1);
        QCOMPARE(texts(*window.ListView2), QStringList({"two.doc"}));
        ListViews::select(*window.ListView1, 3);
        window.RemoveItem_Click();
        QCOMPARE(texts(*window.ListView1), QStringList({folders[1], folders[2]}));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 2);
        QCOMPARE(texts(*window.ListView2), QStringList({"three.doc"}));

        window.ListView1->clearSelection();
        window.Command2_Click();
        QCOMPARE(ListViews::count(*window.ListView1), 2);
        ListViews::select(*window.ListView1, 1);
        window.Command2_Click();
        window.Command2_Click();
        QCOMPARE(ListViews::count(*window.ListView1) + ListViews::count(*window.ListView2), 0);
        QCOMPARE(fixture.fake.pointer.current(), MousePointer::Default);

        addFolders(fixture, {"one"});
        window.RemoveAll_Click();
        QCOMPARE(ListViews::count(*window.ListView1) + ListViews::count(*window.ListView2), 0);
    }

    // The moved source stays selected with its icon; its documents keep their check boxes.
    void moveKeepsIconSelectionAndChecks()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        const QStringList folders = addFolders(fixture, {"one", "two"});
        fixture.fake.fileDialogs.answers << fixture.makeFile("single.doc");
        window.Command1_Click();
        addFolders(fixture, {"four", "five"});
        ListViews::select(*window.ListView1, 3);
        window.ListView1_ItemClick(ListViews::item(*window.ListView1, 3));
        ListViews::setChecked(*ListViews::item(*window.ListView2, 1), false);

        window.Command3_Click();
        QCOMPARE(texts(*window.ListView1).mid(0, 3),
                 QStringList({folders[0], fixture.path("single.doc"), folders[1]}));
        QCOMPARE(icons(*window.ListView1).mid(0, 3),
                 QList<int>({ImageList::Folder, ImageList::Document, ImageList::Folder}));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 2);
        window.Command4_Click();
        window.Command4_Click();
        window.Command4_Click();
        window.Command4_Click(); // already last
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 5);
        QCOMPARE(icons(*window.ListView1).last(), ImageList::Document);
        QCOMPARE(texts(*window.ListView2), QStringList({"single.doc"}));
        QCOMPARE(checks(*window.ListView2), QList<bool>({false}));

        ListViews::select(*window.ListView1, 1);
        window.Command3_Click(); // already first
        QCOMPARE(ListViews::item(*window.ListView1, 1)->text(0), folders[0]);
    }

    // However the user selects a source, ListView2 shows that source's documents.
    void everyWayOfSelectingShowsSource()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        addFolders(fixture, {"one", "two", "three"});
        fixture.makeFile("two/zwei.doc");
        QWidget* viewport = window.ListView1->viewport();
        fixture.fake.pointer.history.clear();

        QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(*window.ListView1, 2));
        QCOMPARE(texts(*window.ListView2), QStringList({"two.doc", "zwei.doc"}));
        QCOMPARE(fixture.fake.pointer.history, OneFill);
        ListViews::setChecked(*ListViews::item(*window.ListView2, 2), false);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(*window.ListView1, 2));
        QCOMPARE(checks(*window.ListView2), QList<bool>({true, true}));

        window.ListView1->setFocus();
        QTest::keyClick(window.ListView1, Qt::Key_Up);
        QCOMPARE(texts(*window.ListView2), QStringList({"one.doc"}));
        QTest::mouseClick(viewport, Qt::RightButton, {}, centreOf(*window.ListView1, 3));
        QCOMPARE(texts(*window.ListView2), QStringList({"three.doc"}));
        QTest::mousePress(viewport, Qt::LeftButton, {}, centreOf(*window.ListView1, 3));
        QTest::mouseMove(viewport, centreOf(*window.ListView1, 2));
        QTest::mouseMove(viewport, centreOf(*window.ListView1, 1));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, centreOf(*window.ListView1, 1));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 1);
        QCOMPARE(texts(*window.ListView2), QStringList({"one.doc"}));
    }

    void dropFilesAndFolders()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        const QString folder = fixture.makeFolder("one");
        const QString memo = fixture.makeFile("memo.docx");
        window.Combo2->addItem(QStringLiteral("/out"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(folder + "/"), QUrl("https://example.org/a.doc"),
                      QUrl::fromLocalFile(fixture.makeFolder(".hidden")),
                      QUrl::fromLocalFile(memo)});
        QWidget* target = window.ListView1->viewport();

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

        QCOMPARE(texts(*window.ListView1), QStringList({folder, fixture.path(".hidden"), memo}));
        QCOMPARE(icons(*window.ListView1),
                 QList<int>({ImageList::Folder, ImageList::Folder, ImageList::Document}));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 3);
        QCOMPARE(texts(*window.ListView2), QStringList({"memo.docx"}));
        QCOMPARE(fixture.fake.pointer.history, OneFill);
        QCOMPARE(window.Combo2->ListCount(), 1);
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
