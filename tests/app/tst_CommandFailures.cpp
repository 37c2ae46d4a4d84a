#include "app/ListViews.h"
#include "sources/DocumentList.h"
#include "app/MainWindow.h"
#include "dialogs/CCommonDialogs.h"
#include "fakes/FakePlatform.h"
#include "outputs/OutputFolderCombo.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <unistd.h>

namespace {

// File dialogs that cannot be shown, as when a command forgot to give them an owner.
class FailingFileDialogs final : public FileDialogs {
public:
    std::optional<QString> openFile(QWidget*, const FileDialogRequest&) override { fail(); }
    std::optional<QString> saveFile(QWidget*, const FileDialogRequest&) override { fail(); }
    std::optional<QString> chooseFolder(QWidget*, const QString&) override { fail(); }

private:
    [[noreturn]] static void fail()
    {
        throw CommonDialogError("The dialog has no owner window: Init was not called.");
    }
};

} // namespace

class TestCommandFailures : public QObject {
    Q_OBJECT

private slots:
    void aCommandThatFailsSaysSo()
    {
        ProgramFolder folder;
        FakePlatform fake(folder.path());
        FailingFileDialogs failing;
        const Platform recorded = fake.platform();
        MainWindow window(Platform{recorded.messages, recorded.shell, recorded.help, recorded.pointer,
                              failing, recorded.pickerDialogs, recorded.word,
                              recorded.programFolder});
        window.addWordDocuments();
        window.addFolder();
        window.browseOutputFolder();
        const QString reason = QStringLiteral(" stopped: The dialog has no owner window: Init was not called.");
        QCOMPARE(fake.messages.texts(),
                 (QStringList{"Add Word" + reason, "Add Folder" + reason, "Browse" + reason}));
        QCOMPARE(fake.messages.shown[0].icon, MessageIcon::Critical);
        // Nothing was half done, and the pointer is back.
        QCOMPARE(window.sourceList->topLevelItemCount(), 0);
        QCOMPARE(window.outputFolderChoice->ListCount(), 0);
        QCOMPARE(fake.pointer.current(), MousePointer::Default);
    }

    void aFolderThatCannotBeListedIsReported()
    {
        ProgramFolder folder;
        FakePlatform fake(folder.path());
        MainWindow window(fake.platform());
        QTemporaryDir files;
        // A source that has gone is no error: it simply has no documents.
        fillDocumentList(window, files.filePath(QStringLiteral("gone")));
        QVERIFY(fake.messages.shown.empty());

        if (geteuid() == 0)
            QSKIP("permissions do not bind root");
        QDir(files.path()).mkdir(QStringLiteral("locked"));
        QFile::setPermissions(files.filePath(QStringLiteral("locked")), QFileDevice::Permissions());
        fillDocumentList(window, files.filePath(QStringLiteral("locked")));
        QFile::setPermissions(files.filePath(QStringLiteral("locked")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(fake.messages.texts().size(), 1);
        QVERIFY(fake.messages.texts()[0].contains(files.filePath(QStringLiteral("locked"))));
        QCOMPARE(window.documentList->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(TestCommandFailures)
#include "tst_CommandFailures.moc"
