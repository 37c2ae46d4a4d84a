#include "sources/DocumentList.h"
#include "sources/WindowFixture.h"

#include <QtTest>

class TestFillDocumentList : public QObject {
    Q_OBJECT

    static QStringList fill(WindowFixture& fixture, const QString& source)
    {
        fillDocumentList(*fixture.window, source);
        return texts(*fixture.window->documentList);
    }

private slots:
    // Plain files directly in the folder whose extension begins with "doc", sorted by
    // name regardless of case; hidden files, folders and dangling links left out.
    void folderSource()
    {
        WindowFixture fixture;
        for (const char* name : {"b.DOCX", "a.doc", "C.docm", "A.doc", "a.DOC", "c.pdf", "e.rtf",
                                 "f.doc.bak", "doc.txt", "docfile", "g.doc.", ".~lock.a.doc#",
                                 ".hidden.doc"})
            fixture.makeFile(QStringLiteral("src/") + name);
        fixture.makeFile("src/d.doc/inner.doc");
        QFile::link(fixture.makeFile("elsewhere/real.doc"), fixture.path("src/link.doc"));
        QFile::link(fixture.path("elsewhere/none.doc"), fixture.path("src/dangling.doc"));
        QFile::link(fixture.path("src/d.doc"), fixture.path("src/folderlink.doc"));

        const QStringList expected = {"A.doc", "a.DOC", "a.doc", "b.DOCX", "C.docm", "link.doc"};
        QCOMPARE(fill(fixture, fixture.path("src")), expected);
        QCOMPARE(checks(*fixture.window->documentList), QList<bool>(expected.size(), true));

        // Filling again replaces the items and checks them afresh.
        ListViews::setChecked(*ListViews::item(*fixture.window->documentList, 2), false);
        QCOMPARE(fill(fixture, fixture.path("src") + "/"), expected);
        QCOMPARE(checks(*fixture.window->documentList), QList<bool>(expected.size(), true));
    }

    void fileAndUnusableSources()
    {
        WindowFixture fixture;
        const QString notes = fixture.makeFile("notes.txt");
        QCOMPARE(fill(fixture, notes), QStringList({"notes.txt"}));
        QCOMPARE(checks(*fixture.window->documentList), QList<bool>({true}));
        // A hidden folder is listed; a hidden file is not.
        fixture.makeFile(".hidden/x.doc");
        QCOMPARE(fill(fixture, fixture.path(".hidden")), QStringList({"x.doc"}));

        const QString hiddenFile = fixture.makeFile(".hidden/.y.doc");
        const QString deleted = fixture.makeFile("gone.doc");
        QFile::remove(deleted);
        fixture.makeFile("only/sub.doc/z.doc");
        for (const QString& nothing :
             {hiddenFile, deleted, fixture.path("missing"), notes + "/", fixture.path("only"),
              QString(), fixture.path(QString(5000, QLatin1Char('x'))),
              fixture.path(QStringLiteral("nul") + QChar(0))})
            QVERIFY2(fill(fixture, nothing).isEmpty(), qPrintable(nothing.left(80)));
    }
};

QTEST_MAIN(TestFillDocumentList)
#include "tst_FillDocumentList.moc"
