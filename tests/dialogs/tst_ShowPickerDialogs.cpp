#include "dialogs/CCommonDialogs.h"
#include "platform/Platform.h"

#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(FontChoice)

// The colour, font and printer operations of the common dialog object, answered by
// the scripted dialogs.
class tst_ShowPickerDialogs : public QObject {
    Q_OBJECT

private slots:
    void init();

    void colorConvertsBothWays_data();
    void colorConvertsBothWays();
    void colorCancelKeepsColor();
    void colorAsksWithFreshBlackCustomColorsAndFullOpen_data();
    void colorAsksWithFreshBlackCustomColorsAndFullOpen();

    void fontStartValue_data();
    void fontStartValue();
    void fontStartsWithoutHeightWhenThereIsNoScreen();
    void fontReadBack_data();
    void fontReadBack();
    void fontCancelChangesNothing();
    void fontBeforeInitStillShowsTheDialog();

    void printerDialogOptionsAndResult();
    void printerPropertiesWithoutPrinterShowNothing();
    void printerPropertiesOfTheDefaultPrinter();
    void printerPropertiesBeforeInitShowNothing();

    void colorAndPrinterRaiseBeforeInit();

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePlatform> desktop;
    std::unique_ptr<Platform> platform;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<CCommonDialogs> dialogs;

    ScriptedPickerDialogs& pickers() { return desktop->pickerDialogs; }
};

void tst_ShowPickerDialogs::init()
{
    dir = std::make_unique<QTemporaryDir>();
    desktop = std::make_unique<FakePlatform>(dir->path());
    platform = std::make_unique<Platform>(desktop->platform());
    owner = std::make_unique<QWidget>();
    dialogs = std::make_unique<CCommonDialogs>(*platform);
    dialogs->Init(owner.get());
}

void tst_ShowPickerDialogs::colorConvertsBothWays_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QColor>("shown");
    QTest::addColumn<QColor>("chosen");
    QTest::addColumn<int>("stored");

    QTest::newRow("red is the low byte") << 0x0000FF << QColor(255, 0, 0) << QColor(0, 0, 255)
                                         << 0xFF0000;
    QTest::newRow("green is the middle byte") << 0x00FF00 << QColor(0, 255, 0)
                                              << QColor(0x12, 0x34, 0x56) << 0x563412;
    QTest::newRow("blue is the third byte") << 0xFF0000 << QColor(0, 0, 255)
                                            << QColor(255, 255, 255) << 0xFFFFFF;
    QTest::newRow("high byte ignored") << 0x7F102030 << QColor(0x30, 0x20, 0x10)
                                       << QColor(0, 0, 0) << 0;
    QTest::newRow("non-RGB answer converted") << 0 << QColor(0, 0, 0)
                                              << QColor::fromHsv(0, 255, 255) << 0x0000FF;
}

void tst_ShowPickerDialogs::colorConvertsBothWays()
{
    QFETCH(int, start);
    QFETCH(QColor, shown);
    QFETCH(QColor, chosen);
    QFETCH(int, stored);
    dialogs->setColor(start);
    pickers().colorAnswer = chosen;

    QCOMPARE(dialogs->ShowColor(CCommonDialogs::False), CCommonDialogs::True);

    QCOMPARE(pickers().colorAsked.size(), size_t{1});
    QCOMPARE(pickers().colorAsked[0].request.start, shown);
    QCOMPARE(pickers().colorAsked[0].owner, owner.get());
    QCOMPARE(dialogs->Color(), stored);
}

void tst_ShowPickerDialogs::colorCancelKeepsColor()
{
    dialogs->setColor(255);
    pickers().colorAnswer.reset();

    QCOMPARE(dialogs->ShowColor(CCommonDialogs::True), CCommonDialogs::False);
    QCOMPARE(dialogs->Color(), 255);
}

void tst_ShowPickerDialogs::colorAsksWithFreshBlackCustomColorsAndFullOpen_data()
{
    QTest::addColumn<int>("fullOpen");
    QTest::addColumn<bool>("expected");
    QTest::newRow("True") << int(CCommonDialogs::True) << true;
    QTest::newRow("False") << int(CCommonDialogs::False) << false;
    QTest::newRow("any nonzero") << 1 << true;
}

void tst_ShowPickerDialogs::colorAsksWithFreshBlackCustomColorsAndFullOpen()
{
    QFETCH(int, fullOpen);
    QFETCH(bool, expected);
    pickers().colorAnswer = QColor(Qt::red);

    for (int call = 0; call < 2; ++call)
        dialogs->ShowColor(static_cast<int16_t>(fullOpen));

    QCOMPARE(pickers().colorAsked.size(), size_t{2});
    for (const auto& asked : pickers().colorAsked) {
        QCOMPARE(asked.request.fullOpen, expected);
        for (const QColor& custom : asked.request.customColors)
            QCOMPARE(custom, QColor(Qt::black));
    }
}

void tst_ShowPickerDialogs::fontStartValue_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("dotsPerInch");
    QTest::addColumn<int>("bold");
    QTest::addColumn<int>("italic");
    QTest::addColumn<int>("underline");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("weight");
    QTest::addColumn<QString>("face");

    const QString arial = QStringLiteral("Arial");
    const int T = CCommonDialogs::True;
    QTest::newRow("12 pt at 96 dpi, not bold") << 12 << 96 << 0 << 0 << 0 << arial << -16 << 0
                                               << arial;
    QTest::newRow("bold is 700") << 12 << 96 << T << 0 << 0 << arial << -16 << 700 << arial;
    QTest::newRow("rounded, not cut: 11 pt") << 11 << 96 << 0 << 0 << 0 << arial << -15 << 0
                                             << arial;
    QTest::newRow("half rounds up: 9 pt at 100 dpi") << 9 << 100 << 0 << 0 << 0 << arial << -13
                                                     << 0 << arial;
    QTest::newRow("9 pt at 120 dpi") << 9 << 120 << 0 << 0 << 0 << arial << -15 << 0 << arial;
    QTest::newRow("size 0 is the default height") << 0 << 96 << 0 << 0 << 0 << arial << 0 << 0
                                                  << arial;
    QTest::newRow("italic and underline") << 10 << 96 << 0 << T << T << arial << -13 << 0
                                          << arial;
    QTest::newRow("empty name") << 12 << 96 << 0 << 0 << 0 << QString() << -16 << 0 << QString();
    QTest::newRow("31 characters at most")
        << 12 << 96 << 0 << 0 << 0 << QStringLiteral("A").repeated(40) << -16 << 0
        << QStringLiteral("A").repeated(31);
    QTest::newRow("NUL ends the name")
        << 12 << 96 << 0 << 0 << 0 << QStringLiteral("Arial") + QChar(0) + QStringLiteral("junk")
        << -16 << 0 << arial;
    QTest::newRow("no half character at the cut")
        << 12 << 96 << 0 << 0 << 0
        << QStringLiteral("A").repeated(30) + QString::fromUtf8("\xF0\x9D\x84\x9E")
        << -16 << 0 << QStringLiteral("A").repeated(30);
}

void tst_ShowPickerDialogs::fontStartValue()
{
    QFETCH(int, size);
    QFETCH(int, dotsPerInch);
    QFETCH(int, bold);
    QFETCH(int, italic);
    QFETCH(int, underline);
    QFETCH(QString, name);
    QFETCH(int, height);
    QFETCH(int, weight);
    QFETCH(QString, face);
    pickers().dotsPerInchY = dotsPerInch;
    dialogs->setFontSize(static_cast<int16_t>(size));
    dialogs->setFontBold(static_cast<int16_t>(bold));
    dialogs->setFontItalic(static_cast<int16_t>(italic));
    dialogs->setFontUnderline(static_cast<int16_t>(underline));
    dialogs->setFontName(name);

    QCOMPARE(dialogs->ShowFont(), CCommonDialogs::False);

    QCOMPARE(pickers().fontAsked.size(), size_t{1});
    const FontDescription& start = pickers().fontAsked[0].start;
    QCOMPARE(start.height, height);
    QCOMPARE(start.weight, weight);
    QCOMPARE(start.italic, italic != 0);
    QCOMPARE(start.underline, underline != 0);
    QCOMPARE(start.faceName, face);
    QCOMPARE(pickers().fontAsked[0].owner, owner.get());
}

void tst_ShowPickerDialogs::fontStartsWithoutHeightWhenThereIsNoScreen()
{
    pickers().dotsPerInchY.reset();
    dialogs->setFontSize(12);
    dialogs->setFontBold(CCommonDialogs::True);
    pickers().fontAnswer = FontChoice{QStringLiteral("Serif"), 100, false, false};

    QCOMPARE(dialogs->ShowFont(), CCommonDialogs::True);
    QCOMPARE(pickers().fontAsked.size(), size_t{1});
    QCOMPARE(pickers().fontAsked[0].start.height, 0);
    QCOMPARE(pickers().fontAsked[0].start.weight, 700);
}

void tst_ShowPickerDialogs::fontReadBack_data()
{
    QTest::addColumn<FontChoice>("choice");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("bold");
    QTest::addColumn<int>("italic");

    const int T = CCommonDialogs::True;
    QTest::newRow("half point dropped") << FontChoice{QStringLiteral("Liberation Serif"), 125,
                                                      true, false}
                                        << 12 << T << 0;
    QTest::newRow("remainder dropped, not rounded")
        << FontChoice{QStringLiteral("DejaVu Sans"), 119, false, true} << 11 << 0 << T;
    QTest::newRow("whole points") << FontChoice{QStringLiteral("Mono"), 80, true, true} << 8 << T
                                  << T;
    QTest::newRow("huge size kept in range")
        << FontChoice{QStringLiteral("Big"), 10'000'000, false, false} << 32767 << 0 << 0;
}

void tst_ShowPickerDialogs::fontReadBack()
{
    QFETCH(FontChoice, choice);
    QFETCH(int, size);
    QFETCH(int, bold);
    QFETCH(int, italic);
    dialogs->setFontName(QStringLiteral("Arial"));
    dialogs->setFontSize(30);
    dialogs->setFontBold(CCommonDialogs::True);
    dialogs->setFontItalic(CCommonDialogs::True);
    dialogs->setFontUnderline(CCommonDialogs::True);
    dialogs->setColor(0x123456);
    pickers().fontAnswer = choice;

    QCOMPARE(dialogs->ShowFont(), CCommonDialogs::True);

    QCOMPARE(dialogs->FontName(), choice.faceName);
    QCOMPARE(int(dialogs->FontSize()), size);
    QCOMPARE(int(dialogs->FontBold()), bold);
    QCOMPARE(int(dialogs->FontItalic()), italic);
    QCOMPARE(dialogs->FontUnderline(), CCommonDialogs::True);
    QCOMPARE(dialogs->Color(), 0x123456);
}

void tst_ShowPickerDialogs::fontCancelChangesNothing()
{
    dialogs->setFontName(QStringLiteral("Arial"));
    dialogs->setFontSize(12);
    dialogs->setFontBold(CCommonDialogs::True);
    pickers().fontAnswer.reset();

    QCOMPARE(dialogs->ShowFont(), CCommonDialogs::False);
    QCOMPARE(dialogs->FontName(), QStringLiteral("Arial"));
    QCOMPARE(dialogs->FontSize(), int16_t{12});
    QCOMPARE(dialogs->FontBold(), CCommonDialogs::True);
    QCOMPARE(dialogs->FontItalic(), CCommonDialogs::False);
}

void tst_ShowPickerDialogs::fontBeforeInitStillShowsTheDialog()
{
    CCommonDialogs fresh(*platform);
    fresh.setFontSize(12);
    pickers().fontAnswer = FontChoice{QStringLiteral("Serif"), 140, false, false};

    int16_t result = 0;
    try {
        result = fresh.ShowFont();
    } catch (...) {
        QFAIL("ShowFont raised an error");
    }
    QCOMPARE(result, CCommonDialogs::True);
    QCOMPARE(pickers().fontAsked.size(), size_t{1});
    QCOMPARE(pickers().fontAsked[0].owner, nullptr);
    QCOMPARE(pickers().fontAsked[0].start.height, -16);
    QCOMPARE(fresh.FontSize(), int16_t{14});
}

void tst_ShowPickerDialogs::printerDialogOptionsAndResult()
{
    pickers().printerAnswer = true;
    QCOMPARE(dialogs->ShowPrinter(), CCommonDialogs::True);
    pickers().printerAnswer = false;
    QCOMPARE(dialogs->ShowPrinter(), CCommonDialogs::False);

    QCOMPARE(pickers().printerAsked.size(), size_t{2});
    for (const auto& asked : pickers().printerAsked) {
        QCOMPARE(asked.owner, owner.get());
        QVERIFY(!asked.options.selection);
        QVERIFY(!asked.options.pageNumbers);
        QVERIFY(!asked.options.printToFile);
    }
}

void tst_ShowPickerDialogs::printerPropertiesWithoutPrinterShowNothing()
{
    pickers().printerName.reset();
    pickers().propertiesAnswer = true;

    QCOMPARE(dialogs->ShowPrinterProperties(), CCommonDialogs::False);
    QVERIFY(pickers().propertiesAsked.empty());
}

void tst_ShowPickerDialogs::printerPropertiesOfTheDefaultPrinter()
{
    pickers().printerName = QStringLiteral("Office");
    pickers().propertiesAnswer = true;
    QCOMPARE(dialogs->ShowPrinterProperties(), CCommonDialogs::True);
    pickers().propertiesAnswer = false;
    QCOMPARE(dialogs->ShowPrinterProperties(), CCommonDialogs::False);

    QCOMPARE(pickers().propertiesAsked.size(), size_t{2});
    QCOMPARE(pickers().propertiesAsked[0].printerName, QStringLiteral("Office"));
    QCOMPARE(pickers().propertiesAsked[0].owner, owner.get());
}

void tst_ShowPickerDialogs::printerPropertiesBeforeInitShowNothing()
{
    CCommonDialogs fresh(*platform);
    pickers().printerName = QStringLiteral("Office");
    pickers().propertiesAnswer = true;

    int16_t result = -1;
    try {
        result = fresh.ShowPrinterProperties();
    } catch (...) {
        QFAIL("ShowPrinterProperties raised an error");
    }
    QCOMPARE(result, CCommonDialogs::False);
    QVERIFY(pickers().propertiesAsked.empty());
}

void tst_ShowPickerDialogs::colorAndPrinterRaiseBeforeInit()
{
    pickers().colorAnswer = QColor(Qt::red);
    pickers().printerAnswer = true;
    CCommonDialogs fresh(*platform);
    fresh.setColor(255);
    QVERIFY_THROWS_EXCEPTION(CommonDialogError, fresh.ShowColor(CCommonDialogs::True));
    QVERIFY_THROWS_EXCEPTION(CommonDialogError, fresh.ShowPrinter());
    QVERIFY(pickers().colorAsked.empty());
    QVERIFY(pickers().printerAsked.empty());
    QCOMPARE(fresh.Color(), 255);

    // An owner window that has gone away counts as none.
    auto gone = std::make_unique<QWidget>();
    fresh.Init(gone.get());
    gone.reset();
    QVERIFY_THROWS_EXCEPTION(CommonDialogError, fresh.ShowColor(CCommonDialogs::False));
    QVERIFY(pickers().colorAsked.empty());
}

QTEST_MAIN(tst_ShowPickerDialogs)
#include "tst_ShowPickerDialogs.moc"
