#include "app/Module1.h"
#include "sources/DocumentNames.h"
#include "sources/WindowFixture.h"

#include <QtTest>
#include <unistd.h>

class FillDocumentListTest : public QObject {
    Q_OBJECT

    static QStringList fill(WindowFixture& fixture, const QString& source)
    {
        Module1::FillDocumentList(*fixture.window, source);
        return texts(*fixture.window->ListView2);
    }

private slots:
    void extensionRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("taken");
        QTest::newRow("doc") << "a.doc" << true;
        QTest::newRow("upper") << "B.DOC" << true;
        QTest::newRow("docx") << "c.docx" << true;
        QTest::newRow("docm") << "d.docm" << true;
        QTest::newRow("mixed case") << "e.DoCx" << true;
        QTest::newRow("dots before") << "report.v2.doc" << true;
        QTest::newRow("rtf") << "e.rtf" << false;
        QTest::newRow("doc then bak") << "f.doc.bak" << false;
        QTest::newRow("doc as name") << "doc.txt" << false;
        QTest::newRow("no dot") << "document" << false;
        QTest::newRow("do") << "g.do" << false;
        QTest::newRow("ends in dot") << "h.doc." << false;
        QTest::newRow("dox") << "i.dox" << false;
        QTest::newRow("non-ASCII") << QString::fromUtf8("über.DOC") << true;
    }
    void extensionRule()
    {
        QFETCH(QString, name);
        QFETCH(bool, taken);
        QCOMPARE(DocumentNames::isWordDocument(name.toStdString()), taken);
    }

    void sortIgnoresCaseAndIsStable()
    {
        QStringList names = {"b.doc", "a.DOC", "C.docx", "A.doc", "_x.doc", "B2.doc"};
        DocumentNames::sortIgnoringCase(names);
        QCOMPARE(names, QStringList({"_x.doc", "A.doc", "a.DOC", "b.doc", "B2.doc", "C.docx"}));
        QStringList reversed(names.rbegin(), names.rend());
        DocumentNames::sortIgnoringCase(reversed);
        QCOMPARE(reversed, names);
    }

    // a.doc, b.DOCX, c.pdf, a hidden lock file and a sub-folder named d.doc.
    void exampleFolder()
    {
        WindowFixture fixture;
        fixture.makeFile("src/b.DOCX");
        fixture.makeFile("src/a.doc");
        fixture.makeFile("src/c.pdf");
        fixture.makeFile("src/.~lock.a.doc#");
        fixture.makeFile("src/.hidden.doc");
        fixture.makeFolder("src/d.doc");
        fixture.makeFile("src/d.doc/inner.doc");
        QCOMPARE(fill(fixture, fixture.path("src")), QStringList({"a.doc", "b.DOCX"}));
        QCOMPARE(checks(*fixture.window->ListView2), QList<bool>({true, true}));
        // A trailing slash names the same folder.
        QCOMPARE(fill(fixture, fixture.path("src") + "/"), QStringList({"a.doc", "b.DOCX"}));
    }

    void folderOrderIgnoresCase()
    {
        WindowFixture fixture;
        for (const char* name : {"zeta.doc", "Alpha.docx", "beta.DOC", "alpha.doc", "Gamma.docm"})
            fixture.makeFile(QStringLiteral("src/") + name);
        QCOMPARE(fill(fixture, fixture.path("src")),
                 QStringList({"alpha.doc", "Alpha.docx", "beta.DOC", "Gamma.docm", "zeta.doc"}));
    }

    void foldersWithoutDocuments()
    {
        WindowFixture fixture;
        fixture.makeFolder("empty");
        fixture.makeFolder("onlyFolders/one.doc");
        fixture.makeFile("onlyFolders/one.doc/deep.doc");
        fixture.makeFile("others/notes.txt");
        QVERIFY(fill(fixture, fixture.path("empty")).isEmpty());
        QVERIFY(fill(fixture, fixture.path("onlyFolders")).isEmpty());
        QVERIFY(fill(fixture, fixture.path("others")).isEmpty());
    }

    void fileSource()
    {
        WindowFixture fixture;
        const QString notes = fixture.makeFile("src/notes.txt");
        QCOMPARE(fill(fixture, notes), QStringList({"notes.txt"}));
        QCOMPARE(checks(*fixture.window->ListView2), QList<bool>({true}));
        const QString report = fixture.makeFile("src/Report.DOCX");
        QCOMPARE(fill(fixture, report), QStringList({"Report.DOCX"}));
    }

    void unusableSourcesListNothing()
    {
        WindowFixture fixture;
        const QString hidden = fixture.makeFile("src/.secret.doc");
        const QString deleted = fixture.makeFile("src/gone.doc");
        QFile::remove(deleted);
        const QString plain = fixture.makeFile("a.doc");
        QVERIFY(fill(fixture, hidden).isEmpty());
        QVERIFY(fill(fixture, deleted).isEmpty());
        QVERIFY(fill(fixture, fixture.path("missing folder")).isEmpty());
        // An empty path names no folder, not the root folder.
        QVERIFY(fill(fixture, QString()).isEmpty());
        QVERIFY(fill(fixture, fixture.path(QString(5000, QLatin1Char('x')))).isEmpty());
        QVERIFY(fill(fixture, fixture.path(QStringLiteral("nul") + QChar(0) + "x")).isEmpty());
        // A file with a slash after it is no folder.
        QVERIFY(fill(fixture, plain + "/").isEmpty());
    }

    void hiddenFolderStillListed()
    {
        WindowFixture fixture;
        fixture.makeFile(".hidden/x.doc");
        QCOMPARE(Module1::GetPathKind(fixture.path(".hidden")), 0);
        QCOMPARE(fill(fixture, fixture.path(".hidden")), QStringList({"x.doc"}));
    }

    void linksFollowWhatTheyPointTo()
    {
        WindowFixture fixture;
        const QString target = fixture.makeFile("elsewhere/real.doc");
        fixture.makeFolder("elsewhere/folder.doc");
        fixture.makeFolder("src");
        QVERIFY(QFile::link(target, fixture.path("src/link.doc")));
        QVERIFY(QFile::link(fixture.path("elsewhere/folder.doc"), fixture.path("src/dir.doc")));
        QVERIFY(QFile::link(fixture.path("elsewhere/none.doc"), fixture.path("src/dangling.doc")));
        QCOMPARE(fill(fixture, fixture.path("src")), QStringList({"link.doc"}));
    }

    void refillReplacesAndChecksAgain()
    {
        WindowFixture fixture;
        fixture.makeFile("src/a.doc");
        fixture.makeFile("src/b.doc");
        fill(fixture, fixture.path("src"));
        QTreeWidget& documents = *fixture.window->ListView2;
        ListViews::setChecked(*ListViews::item(documents, 2), false);
        QCOMPARE(fill(fixture, fixture.path("src")), QStringList({"a.doc", "b.doc"}));
        QCOMPARE(checks(documents), QList<bool>({true, true}));
    }

    void unreadableFolderListsNothing()
    {
        if (geteuid() == 0)
            QSKIP("root reads every folder");
        WindowFixture fixture;
        fixture.makeFile("locked/a.doc");
        QFile::setPermissions(fixture.path("locked"), QFileDevice::WriteOwner);
        QVERIFY(fill(fixture, fixture.path("locked")).isEmpty());
        QFile::setPermissions(fixture.path("locked"), QFileDevice::ReadOwner
                                                          | QFileDevice::WriteOwner
                                                          | QFileDevice::ExeOwner);
    }
};

QTEST_MAIN(FillDocumentListTest)
#include "tst_FillDocumentList.moc"
