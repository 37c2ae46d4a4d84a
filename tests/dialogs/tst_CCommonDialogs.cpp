#include "dialogs/CCommonDialogs.h"
#include "dialogs/FilterList.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QChar Nul(0);

QString withNul(const char* before, const char* after)
{
    return QString::fromUtf8(before) + Nul + QString::fromUtf8(after);
}

} // namespace

class CCommonDialogsTest : public QObject {
    Q_OBJECT

    struct Fixture {
        QTemporaryDir programFolder;
        QTemporaryDir files;
        FakePlatform fake{programFolder.path()};
        QWidget owner;
        CCommonDialogs dialog{fake.platform()};

        Fixture() { dialog.Init(&owner); }
        ScriptedFileDialogs& dialogs() { return fake.fileDialogs; }
        const FileDialogRequest& lastRequest() { return dialogs().asked.back().request; }
    };

    static void expectResults(const CCommonDialogs& dialog, const QString& fileName,
                              const QString& fileTitle, const QString& path)
    {
        QCOMPARE(dialog.FileName(), fileName);
        QCOMPARE(dialog.FileTitle(), fileTitle);
        QCOMPARE(dialog.Path(), path);
    }

private slots:
    void startValues()
    {
        FakePlatform fake(QDir::tempPath());
        const CCommonDialogs dialog(fake.platform());
        for (const QString& text : {dialog.FileTitle(), dialog.Path(), dialog.Filter(),
                                    dialog.FileName(), dialog.Title(), dialog.DefExt(),
                                    dialog.FontName()})
            QVERIFY(text.isEmpty());
        QCOMPARE(dialog.Color(), 0);
        QCOMPARE(dialog.FontSize(), int16_t(0));
        QCOMPARE(dialog.FontBold(), CCommonDialogs::False);
        QCOMPARE(dialog.FontItalic(), CCommonDialogs::False);
        QCOMPARE(dialog.FontUnderline(), CCommonDialogs::False);
    }

    void gettersCutAtFirstNul()
    {
        FakePlatform fake(QDir::tempPath());
        CCommonDialogs dialog(fake.platform());
        const QString text = withNul("abc", "def") + Nul + "ghi";
        dialog.setFileName(text);
        dialog.setFileTitle(text);
        dialog.setPath(text);
        dialog.setTitle(text);
        dialog.setFilter(text);
        dialog.setDefExt(text);
        dialog.setFontName(text);
        for (const QString& cut : {dialog.FileName(), dialog.FileTitle(), dialog.Path(),
                                   dialog.Title()})
            QCOMPARE(cut, QStringLiteral("abc"));
        for (const QString& whole : {dialog.Filter(), dialog.DefExt(), dialog.FontName()})
            QCOMPARE(whole, text);
        dialog.setFileName(withNul("", "x"));
        QCOMPARE(dialog.FileName(), QString());

        dialog.setColor(0x00C0FFEE);
        dialog.setFontSize(-7);
        dialog.setFontBold(CCommonDialogs::True);
        dialog.setFontItalic(CCommonDialogs::True);
        dialog.setFontUnderline(CCommonDialogs::True);
        QCOMPARE(dialog.Color(), 0x00C0FFEE);
        QCOMPARE(dialog.FontSize(), int16_t(-7));
        QCOMPARE(dialog.FontBold(), CCommonDialogs::True);
        QCOMPARE(dialog.FontItalic(), CCommonDialogs::True);
        QCOMPARE(dialog.FontUnderline(), CCommonDialogs::True);
    }

    // No owner: an error before any dialog, and nothing changes.
    void showWithoutOwnerRaises()
    {
        FakePlatform fake(QDir::tempPath());
        fake.fileDialogs.answers << QStringLiteral("/tmp/a.doc") << QStringLiteral("/tmp");
        CCommonDialogs dialog(fake.platform());
        dialog.setPath(QStringLiteral("   "));
        dialog.setFileName(QStringLiteral("start.doc"));
        QVERIFY_THROWS_EXCEPTION(CommonDialogError, dialog.ShowOpen());
        QVERIFY_THROWS_EXCEPTION(CommonDialogError, dialog.ShowSave());
        QVERIFY_THROWS_EXCEPTION(CommonDialogError, dialog.ShowFolder());
        QVERIFY(fake.fileDialogs.asked.empty());
        expectResults(dialog, "start.doc", "", "   ");

        auto owner = std::make_unique<QWidget>();
        dialog.Init(owner.get());
        owner.reset();
        QVERIFY_THROWS_EXCEPTION(CommonDialogError, dialog.ShowOpen());
        dialog.Init(nullptr);
        QVERIFY_THROWS_EXCEPTION(CommonDialogError, dialog.ShowFolder());
        QVERIFY(fake.fileDialogs.asked.empty());
    }

    void showOpenAsksWithTheProperties()
    {
        Fixture fixture;
        CCommonDialogs& dialog = fixture.dialog;
        dialog.setTitle(withNul("Select Word File", "junk"));
        dialog.setFilter(QStringLiteral("Word File(*.doc;*.docx)") + Nul + "*.doc;*.docx" + Nul
                         + "All(*.*)" + Nul + "*.*" + Nul);
        dialog.setFileName(QStringLiteral("/tmp/start.doc"));
        dialog.setDefExt(QStringLiteral("doc"));
        dialog.setPath(QStringLiteral("/not/the/start"));
        QCOMPARE(dialog.ShowOpen(), CCommonDialogs::False);

        const auto& asked = fixture.dialogs().asked.back();
        QCOMPARE(asked.kind, QStringLiteral("open"));
        QCOMPARE(asked.owner, &fixture.owner);
        QCOMPARE(asked.request.title, QStringLiteral("Select Word File"));
        QCOMPARE(asked.request.fileTypes,
                 QList<FileType>({{"Word File(*.doc;*.docx)", "*.doc;*.docx"}, {"All(*.*)", "*.*"}}));
        QCOMPARE(asked.request.startFolder, QDir::currentPath());
        QCOMPARE(asked.request.startName, QStringLiteral("/tmp/start.doc"));
        QCOMPARE(asked.request.defaultSuffix, QStringLiteral("doc"));

        dialog.setFilter(QString());
        dialog.ShowOpen();
        QVERIFY(fixture.lastRequest().fileTypes.isEmpty());
    }

    void showOpenResults()
    {
        Fixture fixture;
        CCommonDialogs& dialog = fixture.dialog;
        fixture.dialogs().answers << QStringLiteral("/home/user/docs/Report.docx");
        QCOMPARE(dialog.ShowOpen(), CCommonDialogs::True);
        expectResults(dialog, "/home/user/docs/Report.docx", "Report.docx", "/home/user/docs");

        // The previous name is the next start name.
        fixture.dialogs().answers << QStringLiteral("/a.doc");
        QCOMPARE(dialog.ShowOpen(), CCommonDialogs::True);
        QCOMPARE(fixture.lastRequest().startName, QStringLiteral("/home/user/docs/Report.docx"));
        expectResults(dialog, "/a.doc", "a.doc", "");

        dialog.ShowOpen(); // cancelled
        expectResults(dialog, "/a.doc", "a.doc", "");
    }

    void showOpenNameRoom()
    {
        Fixture fixture;
        CCommonDialogs& dialog = fixture.dialog;
        const QString fits = "/" + QString(259, QLatin1Char('f'));
        const QString tooLong = fits + "g";

        dialog.setFileName(tooLong);
        QVERIFY_THROWS_EXCEPTION(CommonDialogError, dialog.ShowOpen());
        QVERIFY(fixture.dialogs().asked.empty());

        dialog.setFileName(fits);
        fixture.dialogs().answers << tooLong << fits;
        QCOMPARE(dialog.ShowOpen(), CCommonDialogs::False);
        QCOMPARE(dialog.FileName(), fits);
        QCOMPARE(dialog.FileTitle(), QString());
        QCOMPARE(dialog.ShowOpen(), CCommonDialogs::True);
        QCOMPARE(dialog.FileTitle(), fits.mid(1));
    }

    void showSaveStartFolder()
    {
        Fixture fixture;
        CCommonDialogs& dialog = fixture.dialog;
        const QString program = fixture.programFolder.path();
        const QString existing = fixture.files.path();
        QFile file(fixture.files.filePath("plain.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));

        const QList<QPair<QString, QString>> cases = {
            {"", program},
            {"  \t ", program},
            {existing, existing + "/"},
            {existing + "/", existing + "/"},
            {withNul(existing.toUtf8().constData(), "tail"), existing + "/"},
            {existing + "/missing", program},
            {file.fileName(), program},
            {" " + existing, program},
        };
        for (const auto& [start, expected] : cases) {
            dialog.setPath(start);
            QCOMPARE(dialog.ShowSave(), CCommonDialogs::False);
            QCOMPARE(dialog.Path(), expected);
            QCOMPARE(fixture.lastRequest().startFolder, expected);
        }
        const auto& asked = fixture.dialogs().asked.back();
        QCOMPARE(asked.kind, QStringLiteral("save"));
        QCOMPARE(asked.owner, &fixture.owner);
        dialog.setTitle(QStringLiteral("ignored"));
        dialog.setDefExt(QStringLiteral("txt"));
        dialog.ShowSave();
        QCOMPARE(fixture.lastRequest().title, QStringLiteral("Save"));
        QVERIFY(fixture.lastRequest().startName.isEmpty());
        QVERIFY(fixture.lastRequest().defaultSuffix.isEmpty());
    }

    void showSaveFilterAndResults()
    {
        Fixture fixture;
        CCommonDialogs& dialog = fixture.dialog;
        dialog.ShowSave();
        QCOMPARE(fixture.lastRequest().fileTypes, QList<FileType>({{"*.*", "*.*"}}));
        dialog.setFilter(QStringLiteral("   "));
        dialog.ShowSave();
        QCOMPARE(fixture.lastRequest().fileTypes, QList<FileType>({{"*.*", "*.*"}}));
        dialog.setFilter(QStringLiteral("Web Page(*.htm)|*.htm"));
        dialog.ShowSave();
        QCOMPARE(fixture.lastRequest().fileTypes, QList<FileType>({{"Web Page(*.htm)", "*.htm"}}));
        dialog.setFilter(QStringLiteral("Web|*.htm;*.html|Text|*.txt"));
        dialog.ShowSave();
        QCOMPARE(fixture.lastRequest().fileTypes,
                 QList<FileType>({{"Web", "*.htm;*.html"}, {"Text", "*.txt"}}));

        fixture.dialogs().answers << QStringLiteral("/srv/out/page.htm");
        QCOMPARE(dialog.ShowSave(), CCommonDialogs::True);
        expectResults(dialog, "/srv/out/page.htm", "page.htm", "/srv/out");

        // 255 characters with the terminator: 254 fit.
        const QString fits = "/" + QString(253, QLatin1Char('s'));
        fixture.dialogs().answers << fits + "s" << fits;
        QCOMPARE(dialog.ShowSave(), CCommonDialogs::False);
        QCOMPARE(dialog.FileName(), QStringLiteral("/srv/out/page.htm"));
        QCOMPARE(dialog.ShowSave(), CCommonDialogs::True);
        QCOMPARE(dialog.FileName(), fits);
    }

    void showFolder()
    {
        Fixture fixture;
        CCommonDialogs& dialog = fixture.dialog;
        dialog.setTitle(QStringLiteral("Add all word files in folder"));
        dialog.setPath(QStringLiteral("/before"));
        QCOMPARE(dialog.ShowFolder(), CCommonDialogs::False);
        QCOMPARE(dialog.Path(), QStringLiteral("/before"));
        const auto& asked = fixture.dialogs().asked.back();
        QCOMPARE(asked.kind, QStringLiteral("folder"));
        QCOMPARE(asked.owner, &fixture.owner);
        QCOMPARE(asked.request.title, QStringLiteral("Add all word files in folder"));

        fixture.dialogs().answers << QStringLiteral("/home/user/a.doc")
                                  << QStringLiteral("/home/user/docs") << QStringLiteral("/");
        QCOMPARE(dialog.ShowOpen(), CCommonDialogs::True);
        QCOMPARE(dialog.ShowFolder(), CCommonDialogs::True);
        expectResults(dialog, "", "", "/home/user/docs");
        QCOMPARE(dialog.ShowFolder(), CCommonDialogs::True);
        QCOMPARE(dialog.Path(), QStringLiteral("/"));
    }

    void filterLists()
    {
        using FilterList::fromNulSeparated;
        QVERIFY(fromNulSeparated(QString()).isEmpty());
        QCOMPARE(fromNulSeparated(QStringLiteral("A") + Nul + "*.a"), QList<FileType>({{"A", "*.a"}}));
        // An empty piece ends the list, as does a description without a pattern.
        QCOMPARE(fromNulSeparated(QStringLiteral("A") + Nul + "*.a" + Nul + Nul + "B" + Nul + "*.b"),
                 QList<FileType>({{"A", "*.a"}}));
        QCOMPARE(fromNulSeparated(QStringLiteral("A") + Nul + "*.a" + Nul + "B" + Nul),
                 QList<FileType>({{"A", "*.a"}}));
        QCOMPARE(FilterList::fromBarSeparated(QString()),
                 QStringLiteral("*.*") + Nul + "*.*" + Nul);
        QCOMPARE(FilterList::fromBarSeparated(QStringLiteral("a||b")),
                 QStringLiteral("a") + Nul + Nul + "b" + Nul);
    }
};

QTEST_MAIN(CCommonDialogsTest)
#include "tst_CCommonDialogs.moc"
