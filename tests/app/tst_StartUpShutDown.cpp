#include "app/ListViews.h"
#include "app/MainWindow.h"
#include "outputs/OutputFolderCombo.h"
#include "state/StateFile.h"
#include "support/ByteNames.h"
#include "support/ProgramFolder.h"
#include "fakes/FakePlatform.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList sourceTexts(const MainWindow& window)
{
    QStringList texts;
    for (int position = 1; position <= ListViews::count(*window.sourceList); ++position)
        texts << ListViews::item(*window.sourceList, position)->text(0);
    return texts;
}

QByteArray numberedLines(int count, const char* prefix)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += prefix + QByteArray::number(i) + "\r\n";
    return bytes;
}

} // namespace

class TestStartUpShutDown : public QObject {
    Q_OBJECT

private slots:
    void freshInstallStartsEmptyWithDefaults()
    {
        ProgramFolder folder;
        FakePlatform fake(folder.path());
        MainWindow window(fake.platform());

        QCOMPARE(window.helpFile, folder.path() + "/help.html");
        QCOMPARE(window.sourceList->headerItem()->text(0),
                 QStringLiteral("Please Select the Word File or Folder to Convert"));
        QCOMPARE(window.documentList->headerItem()->text(0), QStringLiteral("Word Document"));
        QCOMPARE(window.sourceList->columnCount(), 1);
        QCOMPARE(window.sourceList->columnWidth(0), 320); // 4800 twips at 96 dpi
        QCOMPARE(window.documentList->columnWidth(0), 247); // 3700 twips
        QCOMPARE(window.sourceList->topLevelItemCount(), 0);
        QCOMPARE(window.documentList->topLevelItemCount(), 0);
        QCOMPARE(window.outputFolderChoice->ListCount(), 0);
        QCOMPARE(window.outputFolderChoice->ListIndex(), -1);
        QCOMPARE(window.outputFolderChoice->Text(), QString());

        QCOMPARE(window.formatChoice->count(), 3);
        QCOMPARE(window.formatChoice->itemText(0), QStringLiteral("Web Page (*.htm; *.html)"));
        QCOMPARE(window.formatChoice->itemText(1), QStringLiteral("Web Page, Filtered (*.htm; *.html)"));
        QCOMPARE(window.formatChoice->itemText(2), QStringLiteral("Single File Page (*.mht; *.mhtml)"));
        QCOMPARE(window.formatChoice->currentIndex(), 0);
        QVERIFY(window.shortExtensionOption->isChecked());
        QVERIFY(!window.longExtensionOption->isChecked());
        QCOMPARE(window.shortExtensionOption->text(), QStringLiteral("htm"));
        QCOMPARE(window.longExtensionOption->text(), QStringLiteral("html"));

        // Start-up neither talks to the word processor nor says anything.
        QVERIFY(fake.recordingWord.calls.isEmpty());
        QVERIFY(fake.messages.shown.empty());
    }

    void restoresSourcesWithIconsAndOutputs()
    {
        ProgramFolder folder;
        QDir(folder.path()).mkdir(QStringLiteral("docs"));
        folder.write(QStringLiteral("docs/a.doc"), "x");
        const QString docs = folder.file(QStringLiteral("docs"));
        const QByteArray excel = docs.toUtf8() + "\r\n" + folder.file("gone.doc").toUtf8() + "\r\n\r\n"
                                 + docs.toUtf8() + "/a.doc\r\n" + docs.toUtf8(); // no final ending
        folder.write(QStringLiteral("EXCEL.txt"), excel);
        folder.write(QStringLiteral("output.txt"), "/out/one\r\n\r\n/missing/two\n");

        FakePlatform fake(folder.path());
        MainWindow window(fake.platform());

        QCOMPARE(sourceTexts(window),
                 (QStringList{docs, folder.file("gone.doc"), "", docs + "/a.doc", docs}));
        const QList<int> expectedIcons{2, 3, 3, 1, 2};
        for (int position = 1; position <= 5; ++position)
            QCOMPARE(ListViews::smallIcon(*ListViews::item(*window.sourceList, position)),
                     expectedIcons[position - 1]);
        QCOMPARE(ListViews::selectedPosition(*window.sourceList), 0);
        QCOMPARE(window.documentList->topLevelItemCount(), 0);

        QCOMPARE(window.outputFolderChoice->ListCount(), 3);
        QCOMPARE(window.outputFolderChoice->itemText(1), QString());
        QCOMPARE(window.outputFolderChoice->ListIndex(), 0);
        QCOMPARE(window.outputFolderChoice->Text(), QStringLiteral("/out/one"));
    }

    void shutDownFollowsTheFlags_data()
    {
        QTest::addColumn<QByteArray>("flags");
        QTest::addColumn<bool>("sourcesSaved");
        QTest::addColumn<bool>("outputsSaved");
        QTest::newRow("both on") << QByteArray("1\r\n1\r\n") << true << true;
        QTest::newRow("first only, no line end") << QByteArray("1") << true << false;
        QTest::newRow("one then zero") << QByteArray("1\r\n0\r\n") << true << false;
        QTest::newRow("zero then one, LF") << QByteArray("0\n1\n") << false << true;
        QTest::newRow("empty") << QByteArray() << false << false;
        QTest::newRow("one and blank, true") << QByteArray("1 \r\ntrue\r\n") << false << false;
        QTest::newRow("empty first line") << QByteArray("\r\n1\r\n") << false << true;
        QTest::newRow("third line ignored") << QByteArray("0\r\n0\r\n1\r\n") << false << false;
    }

    void shutDownFollowsTheFlags()
    {
        QFETCH(QByteArray, flags);
        QFETCH(bool, sourcesSaved);
        QFETCH(bool, outputsSaved);
        ProgramFolder folder;
        folder.write(QStringLiteral("set.txt"), flags);
        folder.write(QStringLiteral("EXCEL.txt"), "/old/source");
        folder.write(QStringLiteral("output.txt"), "/old/output\n");
        {
            FakePlatform fake(folder.path());
            MainWindow window(fake.platform());
            ListViews::append(*window.sourceList, QStringLiteral("/new/source"));
            window.outputFolderChoice->AddItem(QStringLiteral("/new/output"), 0);
            window.close();
            QVERIFY(fake.messages.shown.empty());
        }
        QCOMPARE(folder.read(QStringLiteral("EXCEL.txt")),
                 sourcesSaved ? QByteArray("/old/source\r\n/new/source\r\n") : QByteArray("/old/source"));
        QCOMPARE(folder.read(QStringLiteral("output.txt")),
                 outputsSaved ? QByteArray("/new/output\r\n/old/output\r\n") : QByteArray("/old/output\n"));
        QCOMPARE(folder.read(QStringLiteral("set.txt")), flags); // only read at exit
    }

    void listsSurviveARestartWithDuplicatesAndEmptyLines()
    {
        ProgramFolder folder;
        folder.write(QStringLiteral("set.txt"), "1\r\n1\r\n");
        const QByteArray sources = "/a\r\n/a\r\n\r\n/b c/#d%.doc\r\n";
        folder.write(QStringLiteral("EXCEL.txt"), sources);
        folder.write(QStringLiteral("output.txt"), numberedLines(250, "/out/"));
        for (int run = 0; run < 2; ++run) {
            FakePlatform fake(folder.path());
            MainWindow window(fake.platform());
            QCOMPARE(window.outputFolderChoice->ListCount(), run == 0 ? 250 : 201);
            window.outputFolderChoice->setListIndex(7); // which entry was picked is not kept
            window.exitProgram();
        }
        QCOMPARE(folder.read(QStringLiteral("EXCEL.txt")), sources);
        QCOMPARE(folder.read(QStringLiteral("output.txt")), numberedLines(201, "/out/"));
    }

    void emptyListsAreWrittenAsEmptyFiles()
    {
        ProgramFolder folder;
        folder.write(QStringLiteral("set.txt"), "1\r\n1\r\n");
        folder.write(QStringLiteral("EXCEL.txt"), "/gone\r\n");
        folder.write(QStringLiteral("output.txt"), "/gone\r\n");
        FakePlatform fake(folder.path());
        auto window = std::make_unique<MainWindow>(fake.platform());
        window->sourceList->clear();
        window->outputFolderChoice->clear();
        window->close();
        QCOMPARE(folder.read(QStringLiteral("EXCEL.txt")), QByteArray());
        QCOMPARE(folder.read(QStringLiteral("output.txt")), QByteArray());
    }

    void missingStateFilesReadAsEmptyAndAreCreatedOnSave()
    {
        QTemporaryDir empty;
        {
            FakePlatform fake(empty.path());
            MainWindow window(fake.platform());
            QCOMPARE(window.sourceList->topLevelItemCount(), 0);
            window.close();
        }
        QVERIFY(!QFile::exists(empty.filePath(QStringLiteral("EXCEL.txt")))); // flags off
    }

    void failedSaveIsReportedAndTheWindowStillCloses()
    {
        ProgramFolder folder;
        folder.write(QStringLiteral("set.txt"), "1\r\n1\r\n");
        QFile::remove(folder.file(QStringLiteral("EXCEL.txt")));
        QFile::remove(folder.file(QStringLiteral("output.txt")));
        // Links into a folder that does not exist cannot be written, not even by root.
        QFile::link(folder.file(QStringLiteral("nowhere/EXCEL.txt")), folder.file(QStringLiteral("EXCEL.txt")));
        QFile::link(folder.file(QStringLiteral("nowhere/output.txt")), folder.file(QStringLiteral("output.txt")));
        FakePlatform fake(folder.path());
        MainWindow window(fake.platform());
        window.show();
        QVERIFY(window.close());
        QVERIFY(!window.isVisible());
        QCOMPARE(fake.messages.shown.size(), size_t(2));
        QVERIFY(fake.messages.shown[0].text.contains(folder.file(QStringLiteral("EXCEL.txt"))));
        QVERIFY(fake.messages.shown[1].text.contains(folder.file(QStringLiteral("output.txt"))));
        QCOMPARE(fake.messages.shown[0].icon, MessageIcon::Critical);
    }

    void readOnlyProgramFolderKeepsTheOldLists()
    {
        if (geteuid() == 0)
            QSKIP("permissions do not bind root");
        ProgramFolder folder;
        folder.write(QStringLiteral("set.txt"), "1\r\n1\r\n");
        folder.write(QStringLiteral("EXCEL.txt"), "/kept\r\n");
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        {
            FakePlatform fake(folder.path());
            MainWindow window(fake.platform());
            ListViews::append(*window.sourceList, QStringLiteral("/new"));
            window.close();
            QCOMPARE(fake.messages.shown.size(), size_t(2));
        }
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                 | QFileDevice::ExeOwner);
        QCOMPARE(folder.read(QStringLiteral("EXCEL.txt")), QByteArray("/kept\r\n"));
    }

    void unreadableStateFilesAreLeftAsTheyAre()
    {
        ProgramFolder folder;
        folder.write(QStringLiteral("set.txt"), "1\r\n1\r\n");
        QFile::remove(folder.file(QStringLiteral("EXCEL.txt")));
        const QByteArray excel = LocalFileName::encode(folder.file(QStringLiteral("EXCEL.txt")));
        QCOMPARE(mkfifo(excel.constData(), 0600), 0); // reading it whole would wait for ever
        QFile output(folder.file(QStringLiteral("output.txt")));
        QVERIFY(output.resize(StateFile::MaxBytes + 1));
        {
            FakePlatform fake(folder.path());
            MainWindow window(fake.platform());
            QCOMPARE(window.sourceList->topLevelItemCount(), 0);
            QCOMPARE(window.outputFolderChoice->ListCount(), 0);
            // What the user added cannot be saved without destroying the old list: say so.
            ListViews::append(*window.sourceList, QStringLiteral("/new"));
            window.close();
            QCOMPARE(fake.messages.texts().size(), 1);
            QVERIFY(fake.messages.texts()[0].contains(folder.file(QStringLiteral("EXCEL.txt"))));
            QVERIFY(fake.messages.texts()[0].contains(QStringLiteral("not a regular file")));
        }
        QVERIFY(ByteNames::isFifo(excel));
        QCOMPARE(QFileInfo(output.fileName()).size(), StateFile::MaxBytes + 1);

        // Nor does a pipe in place of the settings hold up the exit.
        QFile::remove(folder.file(QStringLiteral("set.txt")));
        const QByteArray settings = LocalFileName::encode(folder.file(QStringLiteral("set.txt")));
        QCOMPARE(mkfifo(settings.constData(), 0600), 0);
        {
            FakePlatform fake(folder.path());
            MainWindow window(fake.platform());
            window.close();
            QVERIFY(fake.messages.shown.empty());
        }
        QVERIFY(ByteNames::isFifo(settings));
    }

    void pathsThatAreNotUtf8KeepEveryByte()
    {
        ProgramFolder folder;
        folder.write(QStringLiteral("set.txt"), "1\r\n1\r\n");
        const QByteArray root = LocalFileName::encode(folder.path());
        const QByteArray docs = root + "/" + ByteNames::Latin1Cafe;
        QVERIFY(ByteNames::makeFolder(docs));
        const ByteNames::RemovedAtEnd removeDocs(docs);
        QVERIFY(ByteNames::writeFile(docs + "/r\xE9sum\xE9 *?.doc"));
        const QByteArray excel = docs + "\r\n" + docs + "/r\xE9sum\xE9 *?.doc\r\n" + docs + "/gone\xFF\r\n";
        const QByteArray outputs = docs + "\r\n/out/\xC0\xAF\r\n";
        folder.write(QStringLiteral("EXCEL.txt"), excel);
        folder.write(QStringLiteral("output.txt"), outputs);
        {
            FakePlatform fake(folder.path());
            MainWindow window(fake.platform());
            QCOMPARE(ListViews::count(*window.sourceList), 3);
            QCOMPARE(ListViews::smallIcon(*ListViews::item(*window.sourceList, 1)), int(ImageList::Folder));
            QCOMPARE(ListViews::smallIcon(*ListViews::item(*window.sourceList, 2)), int(ImageList::Document));
            QCOMPARE(ListViews::smallIcon(*ListViews::item(*window.sourceList, 3)), int(ImageList::Missing));
            QCOMPARE(LocalFileName::encode(window.outputFolderChoice->Text()), docs);
            window.close();
            QVERIFY(fake.messages.shown.empty());
        }
        QCOMPARE(folder.read(QStringLiteral("EXCEL.txt")), excel);
        QCOMPARE(folder.read(QStringLiteral("output.txt")), outputs);
    }

    void closeBoxAndExitSaveOnce()
    {
        ProgramFolder folder;
        folder.write(QStringLiteral("set.txt"), "1\r\n");
        FakePlatform fake(folder.path());
        MainWindow window(fake.platform());
        window.show();
        ListViews::append(*window.sourceList, QStringLiteral("/x"));
        window.close();
        folder.write(QStringLiteral("EXCEL.txt"), "changed by another copy");
        window.close(); // closing again does not write again
        QCOMPARE(folder.read(QStringLiteral("EXCEL.txt")), QByteArray("changed by another copy"));
    }
};

QTEST_MAIN(TestStartUpShutDown)
#include "tst_StartUpShutDown.moc"
