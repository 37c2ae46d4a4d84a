#include "dialogs/CCommonDialogs.h"
#include "fakes/FakePlatform.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(std::optional<QColor>)
Q_DECLARE_METATYPE(std::optional<FontChoice>)
Q_DECLARE_METATYPE(FontDescription)

// The colour, font and printer operations of the common dialog object, answered by
// the scripted dialogs.
class TestShowPickerDialogs : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    FakePlatform desktop{dir.path()};
    Platform platform = desktop.platform();
    ScriptedPickerDialogs& pickers = desktop.pickerDialogs;
    QWidget owner;
    std::unique_ptr<CCommonDialogs> dialogs;

private slots:
    void init()
    {
        pickers = ScriptedPickerDialogs();
        dialogs = std::make_unique<CCommonDialogs>(platform);
        dialogs->Init(&owner);
    }

    void colorBothWays_data();
    void colorBothWays();
    void fontStartValue_data();
    void fontStartValue();
    void fontReadBack_data();
    void fontReadBack();
    void printers();
    void beforeInit();
};

void TestShowPickerDialogs::colorBothWays_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QColor>("shown");
    QTest::addColumn<std::optional<QColor>>("answer");
    QTest::addColumn<int>("stored");

    QTest::newRow("red is the low byte") << 0x0000FF << QColor(255, 0, 0)
                                         << std::optional(QColor(0x12, 0x34, 0x56)) << 0x563412;
    QTest::newRow("blue is the third byte, high byte unused")
        << 0x7FFF2010 << QColor(0x10, 0x20, 0xFF) << std::optional(QColor::fromHsv(0, 255, 255))
        << 0x0000FF;
    QTest::newRow("cancel keeps Color") << 255 << QColor(255, 0, 0) << std::optional<QColor>()
                                        << 255;
}

void TestShowPickerDialogs::colorBothWays()
{
    QFETCH(int, start);
    QFETCH(QColor, shown);
    QFETCH(std::optional<QColor>, answer);
    QFETCH(int, stored);
    dialogs->setColor(start);
    pickers.colorAnswer = answer;

    const int result = answer ? true : false;
    QCOMPARE(int(dialogs->ShowColor(true)), result);
    QCOMPARE(int(dialogs->ShowColor(false)), result);

    QCOMPARE(dialogs->Color(), stored);
    QCOMPARE(pickers.colorAsked.size(), size_t{2});
    QCOMPARE(pickers.colorAsked[0].request.start, shown);
    QCOMPARE(pickers.colorAsked[0].owner, &owner);
    QVERIFY(pickers.colorAsked[0].request.fullOpen);
    QVERIFY(!pickers.colorAsked[1].request.fullOpen);
    for (const auto& asked : pickers.colorAsked) {
        for (const QColor& custom : asked.request.customColors)
            QCOMPARE(custom, QColor(Qt::black));
    }
}

void TestShowPickerDialogs::fontStartValue_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("dotsPerInch"); // 0: no screen
    QTest::addColumn<int>("bold");
    QTest::addColumn<QString>("name");
    QTest::addColumn<FontDescription>("start"); // italic always on, underline off

    const QString arial = QStringLiteral("Arial");
    const QString a30 = QStringLiteral("A").repeated(30);
    QTest::newRow("12 pt at 96 dpi, not bold") << 12 << 96 << 0 << arial
                                               << FontDescription{-16, 0, true, false, arial};
    QTest::newRow("bold") << 12 << 96 << -1 << arial << FontDescription{-16, 700, true, false, arial};
    QTest::newRow("11 pt rounds up") << 11 << 96 << 0 << arial
                                     << FontDescription{-15, 0, true, false, arial};
    QTest::newRow("half rounds up: 9 pt at 100 dpi") << 9 << 100 << 0 << arial
                                                     << FontDescription{-13, 0, true, false, arial};
    QTest::newRow("no screen: no height") << 12 << 0 << -1 << arial
                                          << FontDescription{0, 700, true, false, arial};
    QTest::newRow("no name") << 12 << 96 << 0 << QString() << FontDescription{-16, 0, true};
    QTest::newRow("31 characters at most") << 12 << 96 << 0 << a30 + QStringLiteral("BC")
                                           << FontDescription{-16, 0, true, false, a30 + 'B'};
    QTest::newRow("NUL ends the name") << 12 << 96 << 0 << arial + QChar(0) + QStringLiteral("x")
                                       << FontDescription{-16, 0, true, false, arial};
}

void TestShowPickerDialogs::fontStartValue()
{
    QFETCH(int, size);
    QFETCH(int, dotsPerInch);
    QFETCH(int, bold);
    QFETCH(QString, name);
    QFETCH(FontDescription, start);
    pickers.dotsPerInchY = dotsPerInch ? std::optional(dotsPerInch) : std::nullopt;
    dialogs->setFontSize(static_cast<int16_t>(size));
    dialogs->setFontBold(bold != 0);
    dialogs->setFontItalic(true);
    dialogs->setFontName(name);

    QCOMPARE(dialogs->ShowFont(), false);

    QCOMPARE(pickers.fontAsked.size(), size_t{1});
    const FontDescription& asked = pickers.fontAsked[0].start;
    QVERIFY2(asked == start, qPrintable(QStringLiteral("height %1, weight %2, face \"%3\"")
                                            .arg(asked.height).arg(asked.weight)
                                            .arg(asked.faceName)));
    QCOMPARE(pickers.fontAsked[0].owner, &owner);
}

void TestShowPickerDialogs::fontReadBack_data()
{
    QTest::addColumn<std::optional<FontChoice>>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("bold");
    QTest::addColumn<int>("italic");

    QTest::newRow("half point dropped")
        << std::optional(FontChoice{QStringLiteral("Liberation Serif"), 125, false, true})
        << QStringLiteral("Liberation Serif") << 12 << 0 << -1;
    QTest::newRow("remainder dropped, not rounded")
        << std::optional(FontChoice{QStringLiteral("Mono"), 119, true, false})
        << QStringLiteral("Mono") << 11 << -1 << 0;
    QTest::newRow("cancel changes nothing") << std::optional<FontChoice>()
                                            << QStringLiteral("Arial") << 30 << -1 << 0;
}

void TestShowPickerDialogs::fontReadBack()
{
    QFETCH(std::optional<FontChoice>, answer);
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(int, bold);
    QFETCH(int, italic);
    dialogs->setFontName(QStringLiteral("Arial"));
    dialogs->setFontSize(30);
    dialogs->setFontBold(true);
    dialogs->setFontUnderline(true);
    dialogs->setColor(0x123456);
    pickers.fontAnswer = answer;

    QCOMPARE(dialogs->ShowFont(), answer.has_value());

    QCOMPARE(dialogs->FontName(), name);
    QCOMPARE(int(dialogs->FontSize()), size);
    QCOMPARE(dialogs->FontBold(), bold != 0);
    QCOMPARE(dialogs->FontItalic(), italic != 0);
    QCOMPARE(dialogs->FontUnderline(), true);
    QCOMPARE(dialogs->Color(), 0x123456);
}

void TestShowPickerDialogs::printers()
{
    pickers.printerAnswer = true;
    QCOMPARE(dialogs->ShowPrinter(), true);

    pickers.propertiesAnswer = true;
    QCOMPARE(dialogs->ShowPrinterProperties(), false); // no default printer
    QVERIFY(pickers.propertiesAsked.empty());

    pickers.printerName = QStringLiteral("Office");
    QCOMPARE(dialogs->ShowPrinterProperties(), true);
    pickers.propertiesAnswer = false;
    QCOMPARE(dialogs->ShowPrinterProperties(), false);
    QCOMPARE(pickers.propertiesAsked.size(), size_t{2});
    QVERIFY(pickers.propertiesAsked[0].printerName == QStringLiteral("Office")
            && pickers.propertiesAsked[0].owner == &owner);
}

// Colour and print dialogs raise before showing anything; the font dialog shows
// without an owner; printer properties cannot be shown and report False.
void TestShowPickerDialogs::beforeInit()
{
    pickers.colorAnswer = QColor(Qt::red);
    pickers.printerAnswer = pickers.propertiesAnswer = true;
    pickers.printerName = QStringLiteral("Office");
    pickers.fontAnswer = FontChoice{QStringLiteral("Serif"), 140, false, false};
    CCommonDialogs fresh(platform);
    fresh.setFontSize(12);

    QVERIFY_THROWS_EXCEPTION(CommonDialogError, fresh.ShowColor(true));
    QVERIFY_THROWS_EXCEPTION(CommonDialogError, fresh.ShowPrinter());
    QCOMPARE(fresh.ShowPrinterProperties(), false);
    QCOMPARE(fresh.ShowFont(), true);

    QVERIFY(pickers.colorAsked.empty() && pickers.printerAsked.empty());
    QVERIFY(pickers.propertiesAsked.empty());
    QCOMPARE(pickers.fontAsked.size(), size_t{1});
    QCOMPARE(pickers.fontAsked[0].owner, nullptr);
    QCOMPARE(pickers.fontAsked[0].start.height, -16);
    QCOMPARE(fresh.FontSize(), int16_t{14});
}

QTEST_MAIN(TestShowPickerDialogs)
#include "tst_ShowPickerDialogs.moc"
