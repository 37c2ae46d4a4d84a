// Drives Qt's own file and folder dialogs through the dialog object and the window.
#include "app/ListViews.h"
#include "app/form1.h"
#include "dialogs/CCommonDialogs.h"
#include "dialogs/NextModalDialog.h"
#include "outputs/OutputFolderCombo.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Answers the next file dialog; a dialog the answer left open is cancelled, so that a
// wrong answer fails the test instead of hanging it.
template <typename Answer>
void whenDialogShows(const QObject& scope, Answer answer)
{
    answerNextModalDialog<QFileDialog>(scope, [answer = std::move(answer)](QFileDialog* dialog) {
        answer(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

// As the user would: type the name into the dialog's name field.
void typeName(QFileDialog& dialog, const QString& name)
{
    dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
}

void accept(QFileDialog& dialog)
{
    static_cast<QDialog&>(dialog).accept(); // Qt's own checks of the choice run too
}

} // namespace

class QtFileDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir programFolder;
    QTemporaryDir files;
    FakePlatform fake{programFolder.path()};
    QtFileDialogs qtDialogs;

    Platform platform()
    {
        return {fake.messages, fake.shell,       fake.help, fake.pointer,
                qtDialogs,     fake.pickerDialogs, *fake.word, programFolder.path()};
    }

    QString makeFile(const QString& name)
    {
        QFile file(files.filePath(name));
        file.open(QIODevice::WriteOnly);
        return file.fileName();
    }

private slots:
    void openAcceptAndCancel()
    {
        const QString document = makeFile("Report.docx");
        QDir::setCurrent(files.path());
        QWidget owner;
        CCommonDialogs dialog(platform());
        dialog.Init(&owner);
        dialog.setTitle(QStringLiteral("Select Word File"));
        dialog.setFilter(QStringLiteral("Word File(*.doc;*.docx)") + QChar(0) + "*.doc;*.docx"
                         + QChar(0));

        QString title;
        QStringList filters;
        QString shownFilter;
        QString folder;
        QWidget* parent = nullptr;
        whenDialogShows(*this, [&](QFileDialog& shown) {
            title = shown.windowTitle();
            filters = shown.nameFilters();
            shownFilter = shown.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText();
            folder = shown.directory().absolutePath();
            parent = shown.parentWidget();
            typeName(shown, document);
            accept(shown);
        });
        QCOMPARE(dialog.ShowOpen(), CCommonDialogs::True);
        QCOMPARE(title, QStringLiteral("Select Word File"));
        QCOMPARE(filters, QStringList({"Word File(*.doc;*.docx) (*.doc *.docx)"}));
        QCOMPARE(shownFilter, QStringLiteral("Word File(*.doc;*.docx)"));
        QCOMPARE(folder, QDir(files.path()).absolutePath());
        QCOMPARE(parent, &owner);
        QCOMPARE(dialog.FileName(), document);
        QCOMPARE(dialog.FileTitle(), QStringLiteral("Report.docx"));
        QCOMPARE(dialog.Path(), files.path());

        whenDialogShows(*this, [](QFileDialog& shown) { shown.reject(); });
        QCOMPARE(dialog.ShowOpen(), CCommonDialogs::False);
        QCOMPARE(dialog.FileName(), document);
    }

    void saveOffersEveryFile()
    {
        QWidget owner;
        CCommonDialogs dialog(platform());
        dialog.Init(&owner);
        dialog.setPath(files.path());
        QString title;
        QStringList filters;
        QString folder;
        const QString target = files.filePath("page.htm");
        whenDialogShows(*this, [&](QFileDialog& shown) {
            title = shown.windowTitle();
            filters = shown.nameFilters();
            folder = shown.directory().absolutePath();
            typeName(shown, QStringLiteral("page.htm"));
            accept(shown);
        });
        QCOMPARE(dialog.ShowSave(), CCommonDialogs::True);
        QCOMPARE(title, QStringLiteral("Save"));
        QCOMPARE(filters, QStringList({"*.* (*)"}));
        QCOMPARE(folder, QDir(files.path()).absolutePath());
        QCOMPARE(dialog.FileName(), target);
        QCOMPARE(dialog.FileTitle(), QStringLiteral("page.htm"));
    }

    // Add Folder and Browse in the window, through the real folder dialog.
    void folderAcceptAndCancel()
    {
        QDir(files.path()).mkdir(QStringLiteral("chosen"));
        const QString chosen = files.filePath("chosen");
        QFile document(files.filePath("chosen/inside.doc"));
        QVERIFY(document.open(QIODevice::WriteOnly));
        form1 window(platform());

        QString title;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        whenDialogShows(*this, [&](QFileDialog& shown) {
            title = shown.windowTitle();
            mode = shown.fileMode();
            typeName(shown, chosen);
            accept(shown);
        });
        window.Command5_Click();
        QCOMPARE(title, QStringLiteral("Add all word files in folder"));
        QCOMPARE(mode, QFileDialog::Directory);
        QCOMPARE(ListViews::count(*window.ListView1), 1);
        QCOMPARE(ListViews::item(*window.ListView1, 1)->text(0), chosen);
        QCOMPARE(ListViews::item(*window.ListView2, 1)->text(0), QStringLiteral("inside.doc"));

        whenDialogShows(*this, [](QFileDialog& shown) { shown.reject(); });
        window.Command5_Click();
        QCOMPARE(ListViews::count(*window.ListView1), 1);

        whenDialogShows(*this, [&](QFileDialog& shown) {
            typeName(shown, chosen);
            accept(shown);
        });
        window.Command10_Click();
        QCOMPARE(window.Combo2->Text(), chosen);
    }
};

QTEST_MAIN(QtFileDialogsTest)
#include "tst_QtFileDialogs.moc"
