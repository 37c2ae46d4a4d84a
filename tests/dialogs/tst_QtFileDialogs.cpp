// Qt's own file and folder dialogs, driven through the dialog object and the window.
#include "app/ListViews.h"
#include "app/MainWindow.h"
#include "dialogs/CCommonDialogs.h"
#include "dialogs/NextModalDialog.h"
#include "outputs/OutputFolderCombo.h"
#include "fakes/FakePlatform.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

class TestQtFileDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir programFolder;
    QTemporaryDir files;
    FakePlatform fake{programFolder.path()};
    QtFileDialogs qtDialogs;
    Platform platform{fake.messages, fake.shell,        fake.help, fake.pointer,
                      qtDialogs,     fake.pickerDialogs, *fake.word, programFolder.path()};

    // Answers the next file dialog; one the answer left open is cancelled, so that a
    // wrong answer fails the test instead of hanging it.
    template <typename Answer>
    void answer(Answer respond)
    {
        answerNextModalDialog<QFileDialog>(*this, [respond](QFileDialog* dialog) {
            respond(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
    }

    // As the user would: type the name and confirm.
    static void choose(QFileDialog& dialog, const QString& name)
    {
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
        static_cast<QDialog&>(dialog).accept();
    }

    QString makeFile(const QString& name) const
    {
        QDir(files.path()).mkpath(QFileInfo(name).path());
        QFile(files.filePath(name)).open(QIODevice::WriteOnly);
        return files.filePath(name);
    }

private slots:
    void openAndSave()
    {
        const QString document = makeFile("Report.docx");
        QDir::setCurrent(files.path());
        QWidget owner;
        CCommonDialogs dialog(platform);
        dialog.Init(&owner);
        dialog.setTitle(QStringLiteral("Select Word File"));
        dialog.setFilter(QStringLiteral("Word File(*.doc;*.docx)") + QChar(0) + "*.doc;*.docx"
                         + QChar(0));
        QStringList seen;
        answer([&](QFileDialog& shown) {
            seen << shown.windowTitle() << shown.nameFilters()
                 << shown.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText()
                 << shown.directory().absolutePath();
            QVERIFY(shown.parentWidget() == &owner);
            choose(shown, document);
        });
        QCOMPARE(dialog.ShowOpen(), true);
        QCOMPARE(seen, QStringList({"Select Word File", "Word File(*.doc;*.docx) (*.doc *.docx)",
                                    "Word File(*.doc;*.docx)", QDir(files.path()).absolutePath()}));
        QCOMPARE(dialog.FileName(), document);
        answer([](QFileDialog& shown) { shown.reject(); });
        QCOMPARE(dialog.ShowOpen(), false);
        QCOMPARE(dialog.FileName(), document);

        // "*.*" offers every file, also names without a dot.
        dialog.setFilter(QString());
        seen.clear();
        answer([&](QFileDialog& shown) {
            seen << shown.windowTitle() << shown.nameFilters();
            choose(shown, QStringLiteral("page"));
        });
        QCOMPARE(dialog.ShowSave(), true);
        QCOMPARE(seen, QStringList({"Save", "*.* (*)"}));
        QCOMPARE(dialog.FileName(), files.filePath("page"));
    }

    void folderThroughTheWindow()
    {
        const QString chosen = QFileInfo(makeFile("chosen/inside.doc")).path();
        MainWindow window(platform);
        QString title;
        answer([&](QFileDialog& shown) {
            title = shown.windowTitle();
            QCOMPARE(shown.fileMode(), QFileDialog::Directory);
            choose(shown, chosen);
        });
        window.addFolder();
        QCOMPARE(title, QStringLiteral("Add all word files in folder"));
        QCOMPARE(ListViews::item(*window.sourceList, 1)->text(0), chosen);
        QCOMPARE(ListViews::item(*window.documentList, 1)->text(0), QStringLiteral("inside.doc"));

        answer([](QFileDialog& shown) { shown.reject(); });
        window.addFolder();
        QCOMPARE(ListViews::count(*window.sourceList), 1);
        answer([&](QFileDialog& shown) { choose(shown, chosen); });
        window.browseOutputFolder();
        QCOMPARE(window.outputFolderChoice->Text(), chosen);
    }
};

QTEST_MAIN(TestQtFileDialogs)
#include "tst_QtFileDialogs.moc"
