#include "outputs/OutputFolderCombo.h"
#include "sources/WindowFixture.h"

#include <QLineEdit>
#include <QtTest>

namespace {

QStringList entries(const OutputFolderCombo& combo)
{
    QStringList result;
    for (int index = 0; index < combo.ListCount(); ++index)
        result << combo.itemText(index);
    return result;
}

void type(OutputFolderCombo& combo, const QString& text)
{
    combo.lineEdit()->clear();
    QTest::keyClicks(combo.lineEdit(), text);
}

} // namespace

class OutputFoldersTest : public QObject {
    Q_OBJECT

    static void browse(WindowFixture& fixture, const std::optional<QString>& answer)
    {
        fixture.fake.fileDialogs.answers << answer;
        fixture.window->Command10_Click();
    }

private slots:
    void browseAddsNewestFirstAndPicksIt()
    {
        WindowFixture fixture;
        OutputFolderCombo& combo = *fixture.window->Combo2;
        browse(fixture, QStringLiteral("/srv/a"));
        const auto& asked = fixture.fake.fileDialogs.asked.back();
        QCOMPARE(asked.kind, QStringLiteral("folder"));
        QCOMPARE(asked.owner, fixture.window.get());
        QCOMPARE(asked.request.title, QStringLiteral("Add all word files in folder"));
        QCOMPARE(combo.ListIndex(), 0);
        QCOMPARE(combo.Text(), QStringLiteral("/srv/a"));

        browse(fixture, QStringLiteral("/srv/b"));
        browse(fixture, QStringLiteral("/srv/a"));
        QCOMPARE(entries(combo), QStringList({"/srv/a", "/srv/b", "/srv/a"}));
        QCOMPARE(combo.ListIndex(), 0);
        QCOMPARE(combo.Text(), QStringLiteral("/srv/a"));

        type(combo, QStringLiteral("/typed"));
        browse(fixture, QStringLiteral("/"));
        QCOMPARE(combo.ListIndex(), 0);
        QCOMPARE(combo.Text(), QStringLiteral("/"));
    }

    void browseWithoutChoiceChangesNothing()
    {
        WindowFixture fixture;
        OutputFolderCombo& combo = *fixture.window->Combo2;
        combo.addItems({"/A", "/B", "/C"});
        combo.setListIndex(1);
        browse(fixture, std::nullopt);
        browse(fixture, QString());
        QCOMPARE(entries(combo), QStringList({"/A", "/B", "/C"}));
        QCOMPARE(combo.ListIndex(), 1);
        QCOMPARE(combo.Text(), QStringLiteral("/B"));

        type(combo, QStringLiteral("/mine"));
        browse(fixture, std::nullopt);
        QCOMPARE(combo.ListIndex(), -1);
        QCOMPARE(combo.Text(), QStringLiteral("/mine"));
    }

    void removeCurrentSelectsNext()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        OutputFolderCombo& combo = *window.Combo2;
        combo.addItems({"/A", "/B", "/C"});
        combo.setListIndex(1);
        window.Removeoutput_Click();
        QCOMPARE(entries(combo), QStringList({"/A", "/C"}));
        QCOMPARE(combo.ListIndex(), 1);
        QCOMPARE(combo.Text(), QStringLiteral("/C"));

        combo.insertItem(1, QStringLiteral("/B"));
        combo.setListIndex(2);
        window.Removeoutput_Click();
        QCOMPARE(entries(combo), QStringList({"/A", "/B"}));
        QCOMPARE(combo.ListIndex(), 1);

        combo.setListIndex(0);
        window.Removeoutput_Click();
        QCOMPARE(entries(combo), QStringList({"/B"}));
        QCOMPARE(combo.ListIndex(), 0);
        window.Removeoutput_Click();
        QCOMPARE(combo.ListCount(), 0);
        QCOMPARE(combo.ListIndex(), -1);
        window.Removeoutput_Click(); // empty list
        QCOMPARE(combo.ListCount(), 0);
    }

    void removeCurrentAfterTypingDoesNothing()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        OutputFolderCombo& combo = *window.Combo2;
        combo.addItems({"/A", "/B", "/C"});
        combo.setListIndex(0);
        type(combo, QStringLiteral("/typed"));
        QCOMPARE(combo.ListIndex(), -1);
        window.Removeoutput_Click();
        QCOMPARE(entries(combo), QStringList({"/A", "/B", "/C"}));
        QCOMPARE(combo.Text(), QStringLiteral("/typed"));
        QCOMPARE(combo.ListIndex(), -1);
    }

    void removeAll()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        OutputFolderCombo& combo = *window.Combo2;
        window.RemoveAllOutput_Click();
        QCOMPARE(combo.ListCount(), 0);
        combo.addItems({"/1", "/2", "/3", "/4", "/5"});
        combo.setListIndex(2);
        window.RemoveAllOutput_Click();
        QCOMPARE(combo.ListCount(), 0);
        QCOMPARE(combo.ListIndex(), -1);

        // A typed folder stays typed.
        combo.addItems({"/1", "/2"});
        type(combo, QStringLiteral("/typed"));
        window.RemoveAllOutput_Click();
        QCOMPARE(combo.ListCount(), 0);
        QCOMPARE(combo.Text(), QStringLiteral("/typed"));
        QCOMPARE(combo.ListIndex(), -1);
    }

    void viewOpensOnlyAnExistingFolder()
    {
        WindowFixture fixture;
        form1& window = *fixture.window;
        OutputFolderCombo& combo = *window.Combo2;
        const QString folder = fixture.makeFolder("out");
        const QString file = fixture.makeFile("out/page.htm");
        const QStringList& opened = fixture.fake.shell.openedFolders;

        for (const QString& nothing : {QString(), file, fixture.path("missing"),
                                       fixture.path(".hidden")}) {
            fixture.makeFolder(".hidden");
            type(combo, nothing);
            window.Command11_Click();
        }
        QVERIFY(opened.isEmpty());

        type(combo, folder);
        window.Command11_Click();
        QCOMPARE(opened, QStringList({folder}));

        combo.addItem(fixture.path(""));
        combo.setListIndex(0);
        window.Command11_Click();
        QCOMPARE(opened.last(), fixture.path(""));

        // A relative folder is the one under the working directory.
        QDir::setCurrent(fixture.files.path());
        type(combo, QStringLiteral("out"));
        window.Command11_Click();
        QCOMPARE(opened.last(), folder);
    }

    // ListIndex tells a picked folder from a typed one.
    void typedOrPicked()
    {
        WindowFixture fixture;
        OutputFolderCombo& combo = *fixture.window->Combo2;
        QCOMPARE(combo.ListIndex(), -1);
        type(combo, QStringLiteral("/first"));
        QCOMPARE(combo.ListIndex(), -1);
        combo.AddItem(QStringLiteral("/A"), 0);
        QCOMPARE(combo.Text(), QStringLiteral("/first"));
        QCOMPARE(combo.ListIndex(), -1);
        combo.AddItem(QStringLiteral("/B"), 1);
        QCOMPARE(combo.ListIndex(), -1);

        combo.setFocus();
        QTest::keyClick(&combo, Qt::Key_Down); // the user picks with the keyboard
        QVERIFY(combo.ListIndex() >= 0);
        QCOMPARE(combo.Text(), combo.itemText(combo.ListIndex()));

        combo.setListIndex(0);
        type(combo, QStringLiteral("/A")); // typed, even if it reads like an entry
        QCOMPARE(combo.ListIndex(), -1);
        combo.RemoveItem(1);
        QCOMPARE(combo.Text(), QStringLiteral("/A"));
        QCOMPARE(combo.ListIndex(), -1);
    }
};

QTEST_MAIN(OutputFoldersTest)
#include "tst_OutputFolders.moc"
