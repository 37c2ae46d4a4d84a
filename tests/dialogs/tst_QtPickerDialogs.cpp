#include "dialogs/CCommonDialogs.h"
#include "dialogs/NextModalDialog.h"
#include "platform/Platform.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <memory>
#include <optional>

// The common dialog object driving Qt's own colour, font and print dialogs.
class tst_QtPickerDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void colorDialog_data();
    void colorDialog();
    void fontDialog_data();
    void fontDialog();
    void fontDialogStartsOnAnInstalledTypeface_data();
    void fontDialogStartsOnAnInstalledTypeface();
    void printDialogOffersNoSelectionPagesOrFile();
    void printerPropertiesWithoutPrinterShowNothing();
    void screenDensity();

private:
    QTemporaryDir configHome;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePlatform> fake;
    QtPickerDialogs pickers;
    std::unique_ptr<Platform> platform;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<CCommonDialogs> dialogs;
};

// Qt's colour dialog keeps its custom colours in the user's configuration folder;
// the tests keep them out of the real one.
void tst_QtPickerDialogs::initTestCase()
{
    QVERIFY(configHome.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
}

void tst_QtPickerDialogs::init()
{
    dir = std::make_unique<QTemporaryDir>();
    fake = std::make_unique<FakePlatform>(dir->path());
    platform = std::make_unique<Platform>(Platform{fake->messages, fake->shell, fake->help,
                                                   fake->pointer, fake->fileDialogs, pickers,
                                                   *fake->word, dir->path()});
    owner = std::make_unique<QWidget>();
    owner->show();
    dialogs = std::make_unique<CCommonDialogs>(*platform);
    dialogs->Init(owner.get());
}

void tst_QtPickerDialogs::colorDialog_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("color");
    QTest::newRow("accept") << true << int(CCommonDialogs::True) << 0x563412;
    QTest::newRow("cancel") << false << int(CCommonDialogs::False) << 255;
}

void tst_QtPickerDialogs::colorDialog()
{
    QFETCH(bool, accept);
    QFETCH(int, result);
    QFETCH(int, color);
    // A custom colour left over from an earlier dialog.
    QColorDialog::setCustomColor(5, Qt::red);
    dialogs->setColor(255);

    struct Seen {
        QColor start;
        std::array<QColor, 16> custom;
        QWidget* parent = nullptr;
        bool nonNative = false;
    } seen;
    QObject scope;
    answerNextModalDialog<QColorDialog>(scope, [&seen, accept](QColorDialog* dialog) {
        seen.start = dialog->currentColor();
        for (int index = 0; index < 16; ++index)
            seen.custom[index] = QColorDialog::customColor(index);
        seen.parent = dialog->parentWidget();
        seen.nonNative = dialog->testOption(QColorDialog::DontUseNativeDialog);
        dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
        if (accept)
            dialog->accept();
        else
            dialog->reject();
    });

    QCOMPARE(int(dialogs->ShowColor(CCommonDialogs::True)), result);

    QCOMPARE(seen.start, QColor(255, 0, 0));
    for (const QColor& custom : seen.custom)
        QCOMPARE(custom, QColor(Qt::black));
    QCOMPARE(seen.parent, owner.get());
    QVERIFY(seen.nonNative);
    QCOMPARE(dialogs->Color(), color);
}

void tst_QtPickerDialogs::fontDialog_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("bold");
    QTest::addColumn<int>("italic");

    const int T = CCommonDialogs::True;
    QTest::newRow("accept") << true << T << QStringLiteral("Liberation Sans") << 14 << 0 << T;
    QTest::newRow("cancel") << false << 0 << QStringLiteral("Liberation Serif") << 12 << T << 0;
}

void tst_QtPickerDialogs::fontDialog()
{
    QFETCH(bool, accept);
    QFETCH(int, result);
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(int, bold);
    QFETCH(int, italic);
    dialogs->setFontName(QStringLiteral("Liberation Serif"));
    dialogs->setFontSize(12);
    dialogs->setFontBold(CCommonDialogs::True);
    dialogs->setFontUnderline(CCommonDialogs::True);
    dialogs->setColor(0x123456);

    struct Seen {
        QFont start;
        QWidget* parent = nullptr;
        bool effectsShown = true;
    } seen;
    QObject scope;
    answerNextModalDialog<QFontDialog>(scope, [&seen, accept](QFontDialog* dialog) {
        seen.start = dialog->currentFont();
        seen.parent = dialog->parentWidget();
        seen.effectsShown = false;
        for (const QCheckBox* box : dialog->findChildren<QCheckBox*>())
            seen.effectsShown = seen.effectsShown || box->isVisible();
        QFont other(QStringLiteral("Liberation Sans"), 14);
        other.setItalic(true);
        dialog->setCurrentFont(other);
        if (accept)
            dialog->accept();
        else
            dialog->reject();
    });

    QCOMPARE(int(dialogs->ShowFont()), result);

    QCOMPARE(seen.start.family(), QStringLiteral("Liberation Serif"));
    QCOMPARE(seen.start.pointSize(), 12);
    QVERIFY(seen.start.bold());
    QVERIFY(!seen.start.italic());
    QCOMPARE(seen.parent, owner.get());
    QVERIFY(!seen.effectsShown);

    QCOMPARE(dialogs->FontName(), name);
    QCOMPARE(int(dialogs->FontSize()), size);
    QCOMPARE(int(dialogs->FontBold()), bold);
    QCOMPARE(int(dialogs->FontItalic()), italic);
    QCOMPARE(dialogs->FontUnderline(), CCommonDialogs::True);
    QCOMPARE(dialogs->Color(), 0x123456);
}

void tst_QtPickerDialogs::fontDialogStartsOnAnInstalledTypeface_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("family");
    QTest::newRow("substituted name") << QStringLiteral("Arial")
                                      << QFontInfo(QFont(QStringLiteral("Arial"))).family();
    QTest::newRow("no name") << QString() << QFontInfo(QFont()).family();
    QTest::newRow("installed name") << QStringLiteral("DejaVu Serif")
                                    << QStringLiteral("DejaVu Serif");
}

void tst_QtPickerDialogs::fontDialogStartsOnAnInstalledTypeface()
{
    QFETCH(QString, name);
    QFETCH(QString, family);
    QVERIFY(QFontDatabase::families().contains(family));
    dialogs->setFontName(name);
    dialogs->setFontSize(10);

    QString listed;
    QObject scope;
    answerNextModalDialog<QFontDialog>(scope, [&listed](QFontDialog* dialog) {
        listed = dialog->currentFont().family();
        dialog->accept();
    });

    QCOMPARE(dialogs->ShowFont(), CCommonDialogs::True);
    QCOMPARE(listed, family);
    QCOMPARE(dialogs->FontName(), family);
    QCOMPARE(dialogs->FontSize(), int16_t{10});
}

void tst_QtPickerDialogs::printDialogOffersNoSelectionPagesOrFile()
{
    struct Seen {
        bool shown = false;
        bool selection = true;
        bool pages = true;
        bool currentPage = true;
        bool toFile = true;
    } seen;
    QObject scope;
    answerNextModalDialog<QPrintDialog>(scope, [&seen](QPrintDialog* dialog) {
        seen = {true, dialog->testOption(QAbstractPrintDialog::PrintSelection),
                dialog->testOption(QAbstractPrintDialog::PrintPageRange),
                dialog->testOption(QAbstractPrintDialog::PrintCurrentPage),
                dialog->testOption(QAbstractPrintDialog::PrintToFile)};
        dialog->reject();
    });

    QCOMPARE(dialogs->ShowPrinter(), CCommonDialogs::False);

    QVERIFY(seen.shown);
    QVERIFY(!seen.selection);
    QVERIFY(!seen.pages);
    QVERIFY(!seen.currentPage);
    QVERIFY(!seen.toFile);
}

void tst_QtPickerDialogs::printerPropertiesWithoutPrinterShowNothing()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("This machine has a default printer.");
    QVERIFY(!pickers.defaultPrinter());

    bool shown = false;
    QObject scope;
    answerNextModalDialog<QDialog>(scope, [&shown](QDialog* dialog) {
        shown = true;
        dialog->reject();
    });

    QCOMPARE(dialogs->ShowPrinterProperties(), CCommonDialogs::False);
    QTest::qWait(100);
    QVERIFY(!shown);
}

void tst_QtPickerDialogs::screenDensity()
{
    // The tests run at 96 dots per inch.
    QCOMPARE(pickers.screenDotsPerInchY(), std::optional<int>(96));
}

QTEST_MAIN(tst_QtPickerDialogs)
#include "tst_QtPickerDialogs.moc"
