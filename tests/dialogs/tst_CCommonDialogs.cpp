#include "dialogs/CCommonDialogs.h"
#include "fakes/FakePlatform.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
const QChar Nul(0);
}

class TestCCommonDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir programFolder;
    QTemporaryDir files;
    FakePlatform fake{programFolder.path()};
    ScriptedFileDialogs& dialogs = fake.fileDialogs;
    QWidget owner;

    std::unique_ptr<CCommonDialogs> initialised()
    {
        auto dialog = std::make_unique<CCommonDialogs>(fake.platform());
        dialog->Init(&owner);
        return dialog;
    }
    const FileDialogRequest& lastRequest() const { return dialogs.asked.back().request; }

    static QStringList results(const CCommonDialogs& d) { return {d.FileName(), d.FileTitle(), d.Path()}; }

private slots:
    void init() { dialogs.asked.clear(); }

    void properties()
    {
        CCommonDialogs dialog(fake.platform());
        QCOMPARE(results(dialog) + QStringList({dialog.Filter(), dialog.Title(), dialog.DefExt(),
                                                dialog.FontName()}),
                 QStringList(7));
        QCOMPARE(dialog.Color() + dialog.FontSize() + dialog.FontBold() + dialog.FontItalic()
                     + dialog.FontUnderline(), 0);
        // Four getters cut at the first NUL; the others give back what was stored.
        const QString text = QStringLiteral("abc") + Nul + "def";
        dialog.setFileName(text);
        dialog.setFileTitle(text);
        dialog.setPath(text);
        dialog.setTitle(text);
        dialog.setFilter(text);
        dialog.setDefExt(text);
        dialog.setFontName(text);
        QCOMPARE(results(dialog) << dialog.Title(), QStringList(4, QStringLiteral("abc")));
        QCOMPARE(QStringList({dialog.Filter(), dialog.DefExt(), dialog.FontName()}),
                 QStringList(3, text));
    }

    // Without an owner nothing is shown and nothing changes.
    void noOwnerRaises()
    {
        CCommonDialogs dialog(fake.platform());
        dialog.setPath(QStringLiteral("  "));
        QVERIFY_THROWS_EXCEPTION(CommonDialogError, dialog.ShowOpen());
        QVERIFY_THROWS_EXCEPTION(CommonDialogError, dialog.ShowSave());
        auto gone = std::make_unique<QWidget>();
        dialog.Init(gone.get());
        gone.reset();
        QVERIFY_THROWS_EXCEPTION(CommonDialogError, dialog.ShowFolder());
        QVERIFY(dialogs.asked.empty());
        QCOMPARE(dialog.Path(), QStringLiteral("  "));
    }

    void showOpen()
    {
        auto dialog = initialised();
        dialog->setTitle(QStringLiteral("Select Word File"));
        dialog->setFilter(QStringLiteral("Word(*.doc)") + Nul + "*.doc" + Nul + "All" + Nul
                          + "*.*" + Nul + Nul + "After" + Nul + "*.a" + Nul);
        dialog->setFileName(QStringLiteral("/tmp/start.doc"));
        dialog->setDefExt(QStringLiteral("doc"));
        dialogs.answers << QStringLiteral("/home/user/docs/Report.docx") << QStringLiteral("/a.doc")
                        << std::nullopt;
        QCOMPARE(dialog->ShowOpen(), true);
        QCOMPARE(dialogs.asked.back().owner, &owner);
        QCOMPARE(lastRequest().title, QStringLiteral("Select Word File"));
        QCOMPARE(lastRequest().fileTypes, QList<FileType>({{"Word(*.doc)", "*.doc"}, {"All", "*.*"}}));
        QCOMPARE(lastRequest().startFolder, QDir::currentPath());
        QCOMPARE(lastRequest().startName, QStringLiteral("/tmp/start.doc"));
        QCOMPARE(lastRequest().defaultSuffix, QStringLiteral("doc"));
        QCOMPARE(results(*dialog),
                 QStringList({"/home/user/docs/Report.docx", "Report.docx", "/home/user/docs"}));

        QCOMPARE(dialog->ShowOpen(), true);
        QCOMPARE(lastRequest().startName, QStringLiteral("/home/user/docs/Report.docx"));
        QCOMPARE(results(*dialog), QStringList({"/a.doc", "a.doc", ""})); // the root folder
        QCOMPARE(dialog->ShowOpen(), false); // cancelled: nothing changes
        QCOMPARE(results(*dialog), QStringList({"/a.doc", "a.doc", ""}));

        // Room for 260 characters: a longer start name is an error, a longer choice fails.
        const QString fits = "/" + QString(259, QLatin1Char('f'));
        dialog->setFileName(fits + "g");
        QVERIFY_THROWS_EXCEPTION(CommonDialogError, dialog->ShowOpen());
        dialog->setFileName(fits);
        dialogs.answers << fits + "g" << fits;
        QCOMPARE(dialog->ShowOpen(), false);
        QCOMPARE(dialog->FileTitle(), QStringLiteral("a.doc"));
        QCOMPARE(dialog->ShowOpen(), true);
    }

    void showSave()
    {
        auto dialog = initialised();
        const QString program = programFolder.path();
        const QString existing = files.path();
        const QList<QPair<QString, QString>> startFolders = {
            {" \t", program},
            {existing, existing + "/"},
            {existing + Nul + "x", existing + "/"},
            {existing + "/missing", program},
        };
        for (const auto& [start, expected] : startFolders) {
            dialog->setPath(start);
            QCOMPARE(dialog->ShowSave(), false);
            QCOMPARE(dialog->Path(), expected);
            QCOMPARE(lastRequest().startFolder, expected);
        }
        QCOMPARE(lastRequest().title, QStringLiteral("Save"));
        QCOMPARE(lastRequest().fileTypes, QList<FileType>({{"*.*", "*.*"}}));
        dialog->setFilter(QStringLiteral("Web|*.htm;*.html|Text|*.txt"));
        dialog->setDefExt(QStringLiteral("txt"));
        const QString fits = "/" + QString(254, QLatin1Char('s')); // 255 characters
        dialogs.answers << QStringLiteral("/srv/out/page.htm") << fits + "s" << fits;
        QCOMPARE(dialog->ShowSave(), true);
        QCOMPARE(lastRequest().fileTypes, QList<FileType>({{"Web", "*.htm;*.html"}, {"Text", "*.txt"}}));
        QVERIFY(lastRequest().defaultSuffix.isEmpty());
        QCOMPARE(results(*dialog), QStringList({"/srv/out/page.htm", "page.htm", "/srv/out"}));
        QCOMPARE(dialog->ShowSave(), false);
        QCOMPARE(dialog->ShowSave(), true);
        QCOMPARE(dialog->FileName(), fits);
    }

    void showFolder()
    {
        auto dialog = initialised();
        dialog->setTitle(QStringLiteral("Add all word files in folder"));
        dialog->setPath(QStringLiteral("/before"));
        dialogs.answers << std::nullopt << QStringLiteral("/home/a.doc")
                        << QStringLiteral("/home/docs") << QStringLiteral("/");
        QCOMPARE(dialog->ShowFolder(), false);
        QCOMPARE(dialog->Path(), QStringLiteral("/before"));
        QCOMPARE(lastRequest().title, QStringLiteral("Add all word files in folder"));
        dialog->ShowOpen();
        QCOMPARE(dialog->ShowFolder(), true);
        QCOMPARE(results(*dialog), QStringList({"", "", "/home/docs"}));
        dialog->ShowFolder();
        QCOMPARE(dialog->Path(), QStringLiteral("/"));
    }
};

QTEST_MAIN(TestCCommonDialogs)
#include "tst_CCommonDialogs.moc"
