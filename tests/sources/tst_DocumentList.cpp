#include "app/Module1.h"
#include "sources/WindowFixture.h"
#include "outputs/OutputFolderCombo.h"
#include "sources/SourceListEvents.h"
#include "state/StateFile.h"

#include <QMimeData>
#include <QtTest>

namespace {

const std::vector<int16_t> WaitThenDefault = {MousePointer::Wait, MousePointer::Default};

} // namespace

class DocumentListTest : public QObject {
    Q_OBJECT

    // Three folders with one document each, named after the folder.
    static QStringList threeFolders(WindowFixture& fixture)
    {
        QStringList folders;
        for (const char* name : {"one", "two", "three"}) {
            fixture.makeFile(QStringLiteral("%1/%1.doc").arg(name));
            folders << fixture.path(name);
        }
        return folders;
    }

    static void addFolders(WindowFixture& fixture, const QStringList& folders)
    {
        for (const QString& folder : folders) {
            fixture.fake.fileDialogs.answers << folder;
            fixture.window->Command5_Click();
        }
    }

    static QPoint centreOf(const QTreeWidget& view, int position)
    {
        return view.visualItemRect(ListViews::item(view, position)).center();
    }

private slots:
    void addWord()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        const QString file = fixture.makeFile("docs/a.doc");
        fixture.makeFile("docs/b.doc");
        fixture.fake.fileDialogs.answers << file;
        window.Command1_Click();

        QCOMPARE(fixture.fake.fileDialogs.asked.size(), size_t(1));
        const auto& asked = fixture.fake.fileDialogs.asked.front();
        QCOMPARE(asked.kind, QStringLiteral("open"));
        QCOMPARE(asked.owner, &window);
        QCOMPARE(asked.request.title, QStringLiteral("Select Word File"));
        QCOMPARE(asked.request.fileTypes,
                 QList<FileType>({{"Word File(*.doc;*.docx)", "*.doc;*.docx"}}));

        QCOMPARE(texts(*window.ListView1), QStringList({file}));
        QCOMPARE(icons(*window.ListView1), QList<int>({ImageList::Document}));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 1);
        QCOMPARE(texts(*window.ListView2), QStringList({"a.doc"}));
        QCOMPARE(checks(*window.ListView2), QList<bool>({true}));
        QCOMPARE(fixture.fake.pointer.history, WaitThenDefault);
    }

    void addedEntryIsLastAndVisible()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        window.show();
        const QString file = fixture.makeFile("notes.txt");
        for (int i = 0; i < 60; ++i) {
            fixture.fake.fileDialogs.answers << file;
            window.Command1_Click();
        }
        window.ListView1->scrollToTop();
        fixture.fake.fileDialogs.answers << fixture.path("");
        window.Command5_Click();
        QCOMPARE(ListViews::count(*window.ListView1), 61);
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 61);
        QCOMPARE(icons(*window.ListView1).last(), ImageList::Folder);
        const QRect last = window.ListView1->visualItemRect(ListViews::item(*window.ListView1, 61));
        QVERIFY(window.ListView1->viewport()->rect().contains(last));
    }

    // Whatever file is confirmed is added, and the same path may stand twice.
    void addSameFileTwiceThenRemoveOne()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        const QString file = fixture.makeFile("notes.txt");
        fixture.fake.fileDialogs.answers << file << file;
        window.Command1_Click();
        window.Command1_Click();
        QCOMPARE(texts(*window.ListView1), QStringList({file, file}));
        window.Command2_Click();
        QCOMPARE(texts(*window.ListView1), QStringList({file}));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 1);
        QCOMPARE(texts(*window.ListView2), QStringList({"notes.txt"}));
    }

    void addFolder()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        fixture.makeFile("empty/readme.txt");
        fixture.makeFile("full/B.docx");
        fixture.makeFile("full/a.doc");
        addFolders(fixture, {fixture.path("empty")});
        const auto& asked = fixture.fake.fileDialogs.asked.front();
        QCOMPARE(asked.kind, QStringLiteral("folder"));
        QCOMPARE(asked.owner, &window);
        QCOMPARE(asked.request.title, QStringLiteral("Add all word files in folder"));
        QCOMPARE(icons(*window.ListView1), QList<int>({ImageList::Folder}));
        QVERIFY(texts(*window.ListView2).isEmpty());
        QCOMPARE(fixture.fake.pointer.history, WaitThenDefault);

        addFolders(fixture, {fixture.path("full")});
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 2);
        QCOMPARE(texts(*window.ListView2), QStringList({"a.doc", "B.docx"}));
    }

    void cancelOrEmptyChoiceChangesNothing()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        const QStringList folders = threeFolders(fixture);
        addFolders(fixture, {folders[0]});
        ListViews::setChecked(*ListViews::item(*window.ListView2, 1), false);
        fixture.fake.pointer.history.clear();

        window.Command1_Click(); // no answer: cancelled
        window.Command5_Click();
        fixture.fake.fileDialogs.answers << QString();
        window.Command5_Click(); // confirmed, but no path
        window.AddExcel_Click();
        window.AddFolder_Click();

        QCOMPARE(texts(*window.ListView1), QStringList({folders[0]}));
        QCOMPARE(texts(*window.ListView2), QStringList({"one.doc"}));
        QCOMPARE(checks(*window.ListView2), QList<bool>({false}));
        QCOMPARE(fixture.fake.pointer.current(), MousePointer::Default);
        for (int16_t pointer : fixture.fake.pointer.history)
            QCOMPARE(pointer, MousePointer::Default);
    }

    void removeSelectsNeighbour()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        const QStringList folders = threeFolders(fixture);
        addFolders(fixture, folders);

        ListViews::select(*window.ListView1, 1);
        window.Command2_Click();
        QCOMPARE(texts(*window.ListView1), QStringList({folders[1], folders[2]}));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 1);
        QCOMPARE(texts(*window.ListView2), QStringList({"two.doc"}));

        addFolders(fixture, {folders[0]});
        window.RemoveItem_Click(); // the third of three
        QCOMPARE(texts(*window.ListView1), QStringList({folders[1], folders[2]}));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 2);
        QCOMPARE(texts(*window.ListView2), QStringList({"three.doc"}));
        QCOMPARE(fixture.fake.pointer.current(), MousePointer::Default);
    }

    void removeLastAndNothing()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        const QStringList folders = threeFolders(fixture);
        window.Command2_Click(); // empty lists
        addFolders(fixture, {folders[0]});
        window.Command2_Click();
        QCOMPARE(ListViews::count(*window.ListView1), 0);
        QCOMPARE(ListViews::count(*window.ListView2), 0);
        QCOMPARE(fixture.fake.pointer.current(), MousePointer::Default);

        addFolders(fixture, {folders[0], folders[1]});
        window.ListView1->clearSelection();
        window.Command2_Click();
        QCOMPARE(texts(*window.ListView1), QStringList({folders[0], folders[1]}));
        QCOMPARE(texts(*window.ListView2), QStringList({"two.doc"}));
    }

    void moveKeepsIconSelectionAndChecks()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        const QStringList folders = threeFolders(fixture);
        const QString file = fixture.makeFile("single.doc");
        addFolders(fixture, {folders[0], folders[1]});
        fixture.fake.fileDialogs.answers << file;
        window.Command1_Click();
        addFolders(fixture, {folders[2], folders[0]});
        const QStringList before = texts(*window.ListView1);

        ListViews::select(*window.ListView1, 3);
        window.ListView1_ItemClick(ListViews::item(*window.ListView1, 3));
        ListViews::setChecked(*ListViews::item(*window.ListView2, 1), false);

        window.Command3_Click();
        QCOMPARE(texts(*window.ListView1),
                 QStringList({before[0], file, before[1], before[3], before[4]}));
        QCOMPARE(icons(*window.ListView1),
                 QList<int>({ImageList::Folder, ImageList::Document, ImageList::Folder,
                             ImageList::Folder, ImageList::Folder}));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 2);
        QCOMPARE(texts(*window.ListView2), QStringList({"single.doc"}));
        QCOMPARE(checks(*window.ListView2), QList<bool>({false}));

        window.Command4_Click();
        window.Command4_Click();
        QCOMPARE(texts(*window.ListView1),
                 QStringList({before[0], before[1], before[3], file, before[4]}));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 4);
        QCOMPARE(checks(*window.ListView2), QList<bool>({false}));
    }

    void moveAtTheEndsChangesNothing()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        const QStringList folders = threeFolders(fixture);
        window.Command3_Click();
        window.Command4_Click();
        addFolders(fixture, folders);
        ListViews::select(*window.ListView1, 1);
        window.Command3_Click();
        QCOMPARE(texts(*window.ListView1), folders);
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 1);
        ListViews::select(*window.ListView1, 3);
        window.Command4_Click();
        QCOMPARE(texts(*window.ListView1), folders);
        window.ListView1->clearSelection();
        window.Command3_Click();
        window.Command4_Click();
        QCOMPARE(texts(*window.ListView1), folders);
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 0);
    }

    void clickShowsSourceAndChecksAgain()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList folders = threeFolders(fixture);
        fixture.makeFile("two/zwei.doc");
        addFolders(fixture, folders);
        fixture.fake.pointer.history.clear();

        QTest::mouseClick(window.ListView1->viewport(), Qt::LeftButton, {},
                          centreOf(*window.ListView1, 2));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 2);
        QCOMPARE(texts(*window.ListView2), QStringList({"two.doc", "zwei.doc"}));
        // One fill for one click.
        QCOMPARE(fixture.fake.pointer.history, WaitThenDefault);

        ListViews::setChecked(*ListViews::item(*window.ListView2, 2), false);
        fixture.fake.pointer.history.clear();
        QTest::mouseClick(window.ListView1->viewport(), Qt::LeftButton, {},
                          centreOf(*window.ListView1, 2));
        QCOMPARE(checks(*window.ListView2), QList<bool>({true, true}));
        QCOMPARE(fixture.fake.pointer.history, WaitThenDefault);
    }

    // Whichever way the user selects a source, ListView2 shows that source.
    void everyWayOfSelectingShowsSource()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList folders = threeFolders(fixture);
        addFolders(fixture, folders);
        window.ListView1->setFocus();

        QTest::keyClick(window.ListView1, Qt::Key_Up);
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 2);
        QCOMPARE(texts(*window.ListView2), QStringList({"two.doc"}));
        QTest::keyClick(window.ListView1, Qt::Key_Home);
        QCOMPARE(texts(*window.ListView2), QStringList({"one.doc"}));

        QTest::mouseClick(window.ListView1->viewport(), Qt::RightButton, {},
                          centreOf(*window.ListView1, 3));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 3);
        QCOMPARE(texts(*window.ListView2), QStringList({"three.doc"}));

        // Dragging the selection from one entry to another.
        QWidget* viewport = window.ListView1->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, centreOf(*window.ListView1, 3));
        QTest::mouseMove(viewport, centreOf(*window.ListView1, 2));
        QTest::mouseMove(viewport, centreOf(*window.ListView1, 1));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, centreOf(*window.ListView1, 1));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 1);
        QCOMPARE(texts(*window.ListView2), QStringList({"one.doc"}));
        QCOMPARE(fixture.fake.pointer.current(), MousePointer::Default);
    }

    void removeAll()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        window.RemoveAll_Click();
        addFolders(fixture, threeFolders(fixture));
        window.RemoveAll_Click();
        QCOMPARE(ListViews::count(*window.ListView1), 0);
        QCOMPARE(ListViews::count(*window.ListView2), 0);
    }

    void restoredMissingEntryKeepsItsIcon()
    {
        WindowFixture fixture;
        const QString later = fixture.path("later");
        fixture.window.reset();
        StateFile::writeLines(StateFile::path(fixture.programFolder.path(), StateFile::Sources),
                              {later});
        fixture.window = std::make_unique<form1>(fixture.fake.platform());
        form1& window = *fixture.window;
        QCOMPARE(icons(*window.ListView1), QList<int>({ImageList::Missing}));

        fixture.makeFile("later/new.doc");
        ListViews::select(*window.ListView1, 1);
        window.ListView1_ItemClick(ListViews::item(*window.ListView1, 1));
        QCOMPARE(texts(*window.ListView2), QStringList({"new.doc"}));
        QCOMPARE(icons(*window.ListView1), QList<int>({ImageList::Missing}));
    }

    void dropFilesAndFolders()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        const QStringList folders = threeFolders(fixture);
        const QString file = fixture.makeFile("memo.docx");
        fixture.makeFile(".hidden folder/in.doc");
        window.Combo2->addItem(QStringLiteral("/out"));

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(folders[0] + "/"), QUrl("https://example.org/a.doc"),
                      QUrl::fromLocalFile(fixture.path(".hidden folder")),
                      QUrl::fromLocalFile(file)});
        QWidget* target = window.ListView1->viewport();

        QDragEnterEvent moveOnly(QPoint(5, 5), Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &moveOnly);
        QVERIFY(!moveOnly.isAccepted());
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction,
                              &data, Qt::LeftButton, {});
        enter.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);

        QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        drop.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(target, &drop);
        QVERIFY(drop.isAccepted());
        // Never a move: the file manager must not delete what it dragged.
        QCOMPARE(drop.dropAction(), Qt::CopyAction);

        QCOMPARE(texts(*window.ListView1),
                 QStringList({folders[0], fixture.path(".hidden folder"), file}));
        QCOMPARE(icons(*window.ListView1),
                 QList<int>({ImageList::Folder, ImageList::Folder, ImageList::Document}));
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 3);
        QCOMPARE(texts(*window.ListView2), QStringList({"memo.docx"}));
        QCOMPARE(fixture.fake.pointer.history, WaitThenDefault);
        QCOMPARE(window.Combo2->ListCount(), 1);

        QMimeData folderOnly;
        folderOnly.setUrls({QUrl::fromLocalFile(folders[1])});
        QDragEnterEvent secondEnter(QPoint(5, 5), Qt::CopyAction, &folderOnly, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &secondEnter);
        QDropEvent second(QPointF(5, 5), Qt::CopyAction, &folderOnly, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &second);
        QCOMPARE(ListViews::selectedPosition(*window.ListView1), 4);
        QCOMPARE(texts(*window.ListView2), QStringList({"two.doc"}));
    }

    void dropOfNoFilesIsRefused()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        addFolders(fixture, threeFolders(fixture));
        QMimeData data;
        data.setText(QStringLiteral("/etc"));
        data.setUrls({QUrl("https://example.org/")});
        QWidget* target = window.ListView1->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(!enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &drop);
        QCOMPARE(ListViews::count(*window.ListView1), 3);
        QCOMPARE(texts(*window.ListView2), QStringList({"three.doc"}));
    }

    void droppedPathsTrimSlashes()
    {
        QMimeData data;
        data.setUrls({QUrl("file:///"), QUrl("file:///tmp//"), QUrl("file:///a%20b/c.doc"),
                      QUrl("smb://server/share")});
        QCOMPARE(SourceListEvents::droppedPaths(data), QStringList({"/", "/tmp", "/a b/c.doc"}));
    }
};

QTEST_MAIN(DocumentListTest)
#include "tst_DocumentList.moc"
