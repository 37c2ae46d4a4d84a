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
        OutputFolderCombo& combo = *fixture.window->Combo2;
        type(combo, QStringLiteral("/typed"));
        fixture.fake.fileDialogs.answers << "/srv/a" << "/srv/b" << "/srv/a";
        for (int i = 0; i < 3; ++i)
            fixture.window->Command10_Click();
        QCOMPARE(fixture.fake.fileDialogs.asked.back().request.title,
                 QStringLiteral("Add all word files in folder"));
        QCOMPARE(entries(combo), QStringList({"/srv/a", "/srv/b", "/srv/a"}));
        QCOMPARE(combo.ListIndex(), 0);
        QCOMPARE(combo.Text(), QStringLiteral("/srv/a"));

        combo.setListIndex(1);
        fixture.fake.fileDialogs.answers << std::nullopt << QString();
        fixture.window->Command10_Click();
        fixture.window->Command10_Click();
        QCOMPARE(combo.ListCount(), 3);
        QCOMPARE(combo.ListIndex(), 1);
        QCOMPARE(combo.Text(), QStringLiteral("/srv/b"));
    }

    void removeCurrentAndAll()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        OutputFolderCombo& combo = *window.Combo2;
        combo.addItems({"/A", "/B", "/C", "/D"});
        combo.setListIndex(1);
        window.Removeoutput_Click(); // the next one moves up and is picked
        QCOMPARE(entries(combo), QStringList({"/A", "/C", "/D"}));
        QCOMPARE(combo.ListIndex(), 1);
        combo.setListIndex(2);
        window.Removeoutput_Click(); // the new last one is picked
        QCOMPARE(entries(combo), QStringList({"/A", "/C"}));
        QCOMPARE(combo.ListIndex(), 1);

        type(combo, QStringLiteral("/typed")); // nothing is picked
        QCOMPARE(combo.ListIndex(), -1);
        window.Removeoutput_Click();
        QCOMPARE(combo.ListCount(), 2);
        combo.AddItem(QStringLiteral("/E"), 0);
        QCOMPARE(combo.ListIndex(), -1);
        window.RemoveAllOutput_Click();
        QCOMPARE(combo.ListCount(), 0);
        QCOMPARE(combo.Text(), QStringLiteral("/typed"));
        window.RemoveAllOutput_Click();

        combo.addItem(QStringLiteral("/only"));
        combo.setListIndex(0);
        window.Removeoutput_Click();
        QCOMPARE(combo.ListCount(), 0);
        QCOMPARE(combo.ListIndex(), -1);
        window.Removeoutput_Click();
    }

    void viewOpensOnlyAnExistingFolder()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        OutputFolderCombo& combo = *window.Combo2;
        const QString folder = fixture.makeFolder("out");
        for (const QString& nothing : {QString(), fixture.makeFile("out/page.htm"),
                                       fixture.path("missing"), fixture.makeFolder(".hidden")}) {
            type(combo, nothing);
            window.Command11_Click();
        }
        QVERIFY(fixture.fake.shell.openedFolders.isEmpty());
        type(combo, folder);
        window.Command11_Click();
        combo.addItem(fixture.path(""));
        combo.setListIndex(0);
        window.Command11_Click();
        QDir::setCurrent(fixture.files.path());
        type(combo, QStringLiteral("out")); // under the working directory
        window.Command11_Click();
        QCOMPARE(fixture.fake.shell.openedFolders, QStringList({folder, fixture.path(""), folder}));
    }
};

QTEST_MAIN(TestOutputFolders)
#include "tst_OutputFolders.moc"
