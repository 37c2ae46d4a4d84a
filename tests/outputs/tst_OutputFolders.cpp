#include "outputs/OutputFolderCombo.h"
#include "sources/WindowFixture.h"

#include <QLineEdit>
#include <QtTest>

class TestOutputFolders : public QObject {
    Q_OBJECT

    static QStringList entries(const OutputFolderCombo& combo)
    {
        QStringList result;
        for (int index = 0; index < combo.ListCount(); ++index)
            result << combo.itemText(index);
        return result;
    }

    static void type(OutputFolderCombo& combo, const QString& text)
    {
        combo.lineEdit()->clear();
        QTest::keyClicks(combo.lineEdit(), text);
    }

private slots:
    // Newest first, duplicates kept, the new one picked; no choice changes nothing.
    void browse()
    {
        WindowFixture fixture;
        OutputFolderCombo& combo = *fixture.window->outputFolderChoice;
        type(combo, QStringLiteral("/typed"));
        fixture.fake.fileDialogs.answers << "/srv/a" << "/srv/b" << "/srv/a";
        for (int i = 0; i < 3; ++i)
            fixture.window->browseOutputFolder();
        QCOMPARE(fixture.fake.fileDialogs.asked.back().request.title,
                 QStringLiteral("Add all word files in folder"));
        QCOMPARE(entries(combo), QStringList({"/srv/a", "/srv/b", "/srv/a"}));
        QCOMPARE(combo.ListIndex(), 0);
        QCOMPARE(combo.Text(), QStringLiteral("/srv/a"));

        combo.setListIndex(1);
        fixture.fake.fileDialogs.answers << std::nullopt << QString();
        fixture.window->browseOutputFolder();
        fixture.window->browseOutputFolder();
        QCOMPARE(combo.ListCount(), 3);
        QCOMPARE(combo.ListIndex(), 1);
        QCOMPARE(combo.Text(), QStringLiteral("/srv/b"));
    }

    void removeCurrentAndAll()
    {
        WindowFixture fixture;
        MainWindow& window = *fixture.window;
        OutputFolderCombo& combo = *window.outputFolderChoice;
        combo.addItems({"/A", "/B", "/C", "/D"});
        combo.setListIndex(1);
        window.removeOutputFolder(); // the next one moves up and is picked
        QCOMPARE(entries(combo), QStringList({"/A", "/C", "/D"}));
        QCOMPARE(combo.ListIndex(), 1);
        combo.setListIndex(2);
        window.removeOutputFolder(); // the new last one is picked
        QCOMPARE(entries(combo), QStringList({"/A", "/C"}));
        QCOMPARE(combo.ListIndex(), 1);

        type(combo, QStringLiteral("/typed")); // nothing is picked
        QCOMPARE(combo.ListIndex(), -1);
        window.removeOutputFolder();
        QCOMPARE(combo.ListCount(), 2);
        combo.AddItem(QStringLiteral("/E"), 0);
        QCOMPARE(combo.ListIndex(), -1);
        window.removeAllOutputFolders();
        QCOMPARE(combo.ListCount(), 0);
        QCOMPARE(combo.Text(), QStringLiteral("/typed"));
        window.removeAllOutputFolders();

        combo.addItem(QStringLiteral("/only"));
        combo.setListIndex(0);
        window.removeOutputFolder();
        QCOMPARE(combo.ListCount(), 0);
        QCOMPARE(combo.ListIndex(), -1);
        window.removeOutputFolder();
    }

    void viewOpensOnlyAnExistingFolder()
    {
        WindowFixture fixture;
        MainWindow& window = *fixture.window;
        OutputFolderCombo& combo = *window.outputFolderChoice;
        const QString folder = fixture.makeFolder("out");
        for (const QString& nothing : {QString(), fixture.makeFile("out/page.htm"),
                                       fixture.path("missing"), fixture.makeFolder(".hidden")}) {
            type(combo, nothing);
            window.viewOutputFolder();
        }
        QVERIFY(fixture.fake.shell.openedFolders.isEmpty());
        type(combo, folder);
        window.viewOutputFolder();
        combo.addItem(fixture.path(""));
        combo.setListIndex(0);
        window.viewOutputFolder();
        QDir::setCurrent(fixture.files.path());
        type(combo, QStringLiteral("out")); // under the working directory
        window.viewOutputFolder();
        QCOMPARE(fixture.fake.shell.openedFolders, QStringList({folder, fixture.path(""), folder}));
    }
};

QTEST_MAIN(TestOutputFolders)
#include "tst_OutputFolders.moc"
