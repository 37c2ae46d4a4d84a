#include "dialogs/CCommonDialogs.h"
#include "dialogs/NextModalDialog.h"
#include "fakes/FakePlatform.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

// The common dialog object driving Qt's own colour, font and print dialogs.
class TestQtPickerDialogs : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    FakePlatform fake{dir.path()};
    QtPickerDialogs pickers;
    Platform platform{fake.messages, fake.shell,  fake.help, fake.pointer, fake.fileDialogs,
                      pickers,       *fake.word, dir.path()};
    QWidget owner;
    std::unique_ptr<CCommonDialogs> dialogs;

private slots:
    void initTestCase()
    {
        // Qt's colour dialog keeps its custom colours in the user's configuration
        // folder; the tests keep them out of the real one.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        owner.show();
    }
    void init()
    {
        dialogs = std::make_unique<CCommonDialogs>(platform);
        dialogs->Init(&owner);
    }

    void colorDialog_data();
    void colorDialog();
    void fontDialog_data();
    void fontDialog();
    void printDialogs();
};

void TestQtPickerDialogs::colorDialog_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<int>("color");
    QTest::newRow("accept") << true << 0x563412;
    QTest::newRow("cancel") << false << 255;
}

void TestQtPickerDialogs::colorDialog()
{
    QFETCH(bool, accept);
    QFETCH(int, color);
    QColorDialog::setCustomColor(5, Qt::red); // left over from an earlier dialog
    dialogs->setColor(255);

    QColor start;
    QList<QColor> custom;
    QObject scope;
    answerNextModalDialog<QColorDialog>(scope, [&, accept](QColorDialog* dialog) {
        start = dialog->currentColor();
        for (int index = 0; index < 16; ++index)
            custom << QColorDialog::customColor(index);
        dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
        QColorDialog::setCustomColor(0, Qt::green); // as "Add to Custom Colors" does
        accept ? dialog->accept() : dialog->reject();
    });

    QCOMPARE(dialogs->ShowColor(true), accept);

    QCOMPARE(dialogs->Color(), color);
    QCOMPARE(start, QColor(255, 0, 0));
    QCOMPARE(custom, QList<QColor>(16, QColor(Qt::black)));
    QCOMPARE(QColorDialog::customColor(0), QColor(Qt::black)); // the user's colour is not kept
}

void TestQtPickerDialogs::fontDialog_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("startName");
    QTest::addColumn<QString>("startFamily");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("bold");
    QTest::addColumn<int>("italic");

    const QString serif = QStringLiteral("Liberation Serif");
    const QString sans = QStringLiteral("Liberation Sans");
    QTest::newRow("accept") << true << serif << serif << sans << 14 << 0 << -1;
    QTest::newRow("cancel") << false << serif << serif << serif << 12 << -1 << 0;
    // Arial is not in Qt's font list; the dialog starts on the face that stands in for it.
    QTest::newRow("substituted name") << false << QStringLiteral("Arial")
                                      << QFontInfo(QFont(QStringLiteral("Arial"))).family()
                                      << QStringLiteral("Arial") << 12 << -1 << 0;
}

void TestQtPickerDialogs::fontDialog()
{
    QFETCH(bool, accept);
    QFETCH(QString, startName);
    QFETCH(QString, startFamily);
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(int, bold);
    QFETCH(int, italic);
    dialogs->setFontName(startName);
    dialogs->setFontSize(12);
    dialogs->setFontBold(true);
    dialogs->setFontUnderline(true);
    dialogs->setColor(0x123456);

    QFont start;
    bool effectsShown = false;
    QObject scope;
    answerNextModalDialog<QFontDialog>(scope, [&, accept](QFontDialog* dialog) {
        start = dialog->currentFont();
        for (const QCheckBox* box : dialog->findChildren<QCheckBox*>())
            effectsShown = effectsShown || box->isVisible();
        QFont other(QStringLiteral("Liberation Sans"), 14);
        other.setItalic(true);
        dialog->setCurrentFont(other);
        accept ? dialog->accept() : dialog->reject();
    });

    QCOMPARE(dialogs->ShowFont(), accept);

    QCOMPARE(start.family(), startFamily);
    QCOMPARE(start.pointSize(), 12);
    QVERIFY(start.bold() && !start.italic());
    QVERIFY(!effectsShown);
    QCOMPARE(dialogs->FontName(), name);
    QCOMPARE(int(dialogs->FontSize()), size);
    QCOMPARE(dialogs->FontBold(), bold != 0);
    QCOMPARE(dialogs->FontItalic(), italic != 0);
    QCOMPARE(dialogs->FontUnderline(), true);
    QCOMPARE(dialogs->Color(), 0x123456);
}

void TestQtPickerDialogs::printDialogs()
{
    QList<bool> offered; // selection, page range, current page, print to file
    QObject scope;
    answerNextModalDialog<QPrintDialog>(scope, [&](QPrintDialog* dialog) {
        for (auto option : {QAbstractPrintDialog::PrintSelection,
                            QAbstractPrintDialog::PrintPageRange,
                            QAbstractPrintDialog::PrintCurrentPage,
                            QAbstractPrintDialog::PrintToFile})
            offered << dialog->testOption(option);
        dialog->reject();
    });
    QCOMPARE(dialogs->ShowPrinter(), false);
    QCOMPARE(offered, QList<bool>(4, false));

    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("This machine has a default printer.");
    bool shown = false;
    answerNextModalDialog<QDialog>(scope, [&shown](QDialog* dialog) {
        shown = true;
        dialog->reject();
    });
    QCOMPARE(dialogs->ShowPrinterProperties(), false);
    QTest::qWait(100);
    QVERIFY(!shown);
}

QTEST_MAIN(TestQtPickerDialogs)
#include "tst_QtPickerDialogs.moc"
