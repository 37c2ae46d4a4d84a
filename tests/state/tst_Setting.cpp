#include "app/form1.h"
#include "dialogs/NextModalDialog.h"
#include "platform/Platform.h"
#include "state/Setting.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

namespace {

constexpr char NoFile[] = "<no file>";

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return NoFile;
    return file.readAll();
}

} // namespace

class tst_Setting : public QObject {
    Q_OBJECT

private slots:
    void init();

    void loadsFlagsFromSetTxt_data();
    void loadsFlagsFromSetTxt();
    void okWritesExactlyTwoLines_data();
    void okWritesExactlyTwoLines();
    void cancelAndCloseBoxWriteNothing_data();
    void cancelAndCloseBoxWriteNothing();
    void failedWriteIsReportedAndKeepsTheWindowOpen_data();
    void failedWriteIsReportedAndKeepsTheWindowOpen();

    void windowLayout();
    void menuOpensAFreshModalWindowOverTheMainWindow();

private:
    QString setTxt() const { return dir->filePath(QStringLiteral("set.txt")); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePlatform> desktop;
};

void tst_Setting::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    desktop = std::make_unique<FakePlatform>(dir->path());
}

void tst_Setting::loadsFlagsFromSetTxt_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("check1");
    QTest::addColumn<bool>("check2");

    QTest::newRow("0 and 1") << QByteArray("0\r\n1\r\n") << false << true;
    QTest::newRow("1 and 0") << QByteArray("1\r\n0\r\n") << true << false;
    QTest::newRow("one line 1 without line end") << QByteArray("1") << true << false;
    QTest::newRow("true and yes") << QByteArray("true\r\nyes\r\n") << false << false;
    QTest::newRow("1 followed by a blank") << QByteArray("1 \r\n 1\r\n") << false << false;
    QTest::newRow("-1 is not 1") << QByteArray("-1\r\n-1\r\n") << false << false;
    QTest::newRow("empty first line") << QByteArray("\r\n1\r\n") << false << true;
    QTest::newRow("lone LF endings") << QByteArray("1\n1\n") << true << true;
    QTest::newRow("lines after the second ignored") << QByteArray("1\r\n1\r\n0\r\n0\r\n")
                                                    << true << true;
    QTest::newRow("empty file") << QByteArray("") << false << false;
    QTest::newRow("missing file") << QByteArray(NoFile) << false << false;
}

void tst_Setting::loadsFlagsFromSetTxt()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, check1);
    QFETCH(bool, check2);
    if (content != NoFile)
        writeBytes(setTxt(), content);

    Setting window(desktop->platform(), nullptr);

    QCOMPARE(window.Check1->isChecked(), check1);
    QCOMPARE(window.Check2->isChecked(), check2);
    QVERIFY(desktop->messages.shown.empty());
}

void tst_Setting::okWritesExactlyTwoLines_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("toggle1");
    QTest::addColumn<bool>("toggle2");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("unchanged still rewritten") << QByteArray("1\r\n0\r\n") << false << false
                                               << QByteArray("1\r\n0\r\n");
    QTest::newRow("odd words become 0 and 0") << QByteArray("true\r\nyes\r\n") << false << false
                                              << QByteArray("0\r\n0\r\n");
    QTest::newRow("one line without end") << QByteArray("1") << false << false
                                          << QByteArray("1\r\n0\r\n");
    QTest::newRow("extra lines dropped") << QByteArray("1\r\n1\r\nx\r\n") << false << false
                                         << QByteArray("1\r\n1\r\n");
    QTest::newRow("both toggled") << QByteArray("0\r\n1\r\n") << true << true
                                  << QByteArray("1\r\n0\r\n");
    QTest::newRow("missing file created") << QByteArray(NoFile) << false << true
                                          << QByteArray("0\r\n1\r\n");
}

void tst_Setting::okWritesExactlyTwoLines()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, toggle1);
    QFETCH(bool, toggle2);
    QFETCH(QByteArray, after);
    if (before != NoFile)
        writeBytes(setTxt(), before);

    Setting window(desktop->platform(), nullptr);
    window.show();
    if (toggle1)
        QTest::mouseClick(window.Check1, Qt::LeftButton);
    if (toggle2)
        QTest::mouseClick(window.Check2, Qt::LeftButton);
    QCOMPARE(readBytes(setTxt()), before); // toggling stores nothing
    QTest::mouseClick(window.OKButton, Qt::LeftButton);

    QCOMPARE(readBytes(setTxt()), after);
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(!window.isVisible());
    QVERIFY(desktop->messages.shown.empty());

    // The next opening shows what was stored.
    Setting next(desktop->platform(), nullptr);
    QCOMPARE(next.Check1->isChecked(), after.startsWith("1\r\n"));
    QCOMPARE(next.Check2->isChecked(), after.endsWith("\n1\r\n"));
}

void tst_Setting::cancelAndCloseBoxWriteNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QByteArray>("before");

    for (const char* how : {"Cancel", "close box", "Escape"}) {
        QTest::addRow("%s, 0 and 1", how) << QString::fromLatin1(how) << QByteArray("0\r\n1\r\n");
        QTest::addRow("%s, odd content", how) << QString::fromLatin1(how) << QByteArray("yes");
        QTest::addRow("%s, missing file", how) << QString::fromLatin1(how) << QByteArray(NoFile);
    }
}

void tst_Setting::cancelAndCloseBoxWriteNothing()
{
    QFETCH(QString, how);
    QFETCH(QByteArray, before);
    if (before != NoFile)
        writeBytes(setTxt(), before);

    {
        Setting window(desktop->platform(), nullptr);
        window.show();
        QTest::mouseClick(window.Check1, Qt::LeftButton);
        QTest::mouseClick(window.Check2, Qt::LeftButton);
        if (how == QLatin1String("Cancel"))
            QTest::mouseClick(window.CancelButton, Qt::LeftButton);
        else if (how == QLatin1String("close box"))
            window.close();
        else
            QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }

    QCOMPARE(readBytes(setTxt()), before);
    Setting next(desktop->platform(), nullptr);
    QCOMPARE(next.Check1->isChecked(), before.startsWith("1\r\n"));
    QCOMPARE(next.Check2->isChecked(), before.endsWith("\n1\r\n"));
}

void tst_Setting::failedWriteIsReportedAndKeepsTheWindowOpen_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("settingsFile");

    // A regular file where the program folder should be: nothing can be created in it.
    QTest::newRow("folder is a file") << QStringLiteral("plain-file/folder")
                                      << QStringLiteral("plain-file/folder/set.txt");
    // set.txt itself is a folder: it cannot be replaced by a file.
    QTest::newRow("set.txt is a folder") << QStringLiteral("program")
                                         << QStringLiteral("program/set.txt");
}

void tst_Setting::failedWriteIsReportedAndKeepsTheWindowOpen()
{
    QFETCH(QString, programFolder);
    QFETCH(QString, settingsFile);
    writeBytes(dir->filePath(QStringLiteral("plain-file")), "not a folder");
    QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("program/set.txt")));
    FakePlatform broken(dir->filePath(programFolder));

    Setting window(broken.platform(), nullptr);
    window.show();
    QVERIFY(!window.Check1->isChecked());
    QTest::mouseClick(window.Check1, Qt::LeftButton);
    QTest::mouseClick(window.OKButton, Qt::LeftButton);

    QCOMPARE(broken.messages.shown.size(), size_t{1});
    const auto& message = broken.messages.shown.front();
    QCOMPARE(message.icon, MessageIcon::Critical);
    QVERIFY2(message.text.contains(dir->filePath(settingsFile)), qPrintable(message.text));
    QVERIFY2(!message.text.trimmed().endsWith(QLatin1Char(':')), qPrintable(message.text));
    // Not reported as saved: the window and the user's choice are still there.
    QVERIFY(window.isVisible());
    QVERIFY(window.Check1->isChecked());
    QVERIFY(QFileInfo(dir->filePath(QStringLiteral("plain-file"))).isFile());

    QTest::mouseClick(window.CancelButton, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(broken.messages.shown.size(), size_t{1});
}

void tst_Setting::windowLayout()
{
    Setting window(desktop->platform(), nullptr);

    QCOMPARE(window.windowTitle(), QStringLiteral("Setting"));
    QCOMPARE(window.Check1->text(), QStringLiteral("Automatically save the current file\r\n"));
    QCOMPARE(window.Check2->text(), QStringLiteral("Automatically save the output directory"));
    QCOMPARE(window.OKButton->text(), QStringLiteral("OK"));
    QCOMPARE(window.CancelButton->text(), QStringLiteral("Cancel"));

    // At 96 dpi a pixel is 15 twips.
    QCOMPARE(window.logicalDpiX(), 96);
    QCOMPARE(window.size(), QSize(249, 104));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.Check1->geometry(), QRect(24, 16, 193, 25));
    QCOMPARE(window.Check2->geometry(), QRect(24, 40, 209, 17));
    QCOMPARE(window.OKButton->geometry(), QRect(24, 72, 81, 25));
    QCOMPARE(window.CancelButton->geometry(), QRect(136, 72, 81, 25));

    // The captions are not cut off at the boxes' right edges.
    for (QCheckBox* box : {window.Check1, window.Check2}) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        const int textWidth = box->fontMetrics().horizontalAdvance(box->text().trimmed());
        QVERIFY2(textWidth <= room.width(), qPrintable(box->objectName()));
    }

    // Tab goes round OK, Cancel, Check1, Check2.
    QList<QWidget*> tabOrder{window.OKButton};
    for (QWidget* next = window.OKButton->nextInFocusChain(); next != window.OKButton;
         next = next->nextInFocusChain()) {
        if (next->focusPolicy() & Qt::TabFocus)
            tabOrder << next;
    }
    QCOMPARE(tabOrder, (QList<QWidget*>{window.OKButton, window.CancelButton, window.Check1,
                                        window.Check2}));
}

void tst_Setting::menuOpensAFreshModalWindowOverTheMainWindow()
{
    writeBytes(setTxt(), "0\r\n1\r\n");
    form1 mainWindow(desktop->platform());
    mainWindow.show();

    struct Seen {
        bool modal = false;
        QWidget* parent = nullptr;
        std::optional<bool> check1;
        std::optional<bool> check2;
    };
    QObject scope;
    auto toggleBothThenCancel = [](Seen& seen) {
        return [&seen](Setting* window) {
            seen = {window->isModal() && window->windowModality() != Qt::NonModal,
                    window->parentWidget(), window->Check1->isChecked(),
                    window->Check2->isChecked()};
            window->Check1->click();
            window->Check2->click();
            window->CancelButton->click();
        };
    };

    Seen first;
    answerNextModalDialog<Setting>(scope, toggleBothThenCancel(first));
    mainWindow.Settings->trigger();
    QVERIFY(first.modal);
    QCOMPARE(first.parent, &mainWindow);
    QCOMPARE(first.check1, std::optional<bool>(false));
    QCOMPARE(first.check2, std::optional<bool>(true));
    QVERIFY(mainWindow.findChildren<Setting*>().isEmpty()); // destroyed when closed

    // Cancelled clicks are forgotten; a change on disk is picked up.
    Seen second;
    answerNextModalDialog<Setting>(scope, toggleBothThenCancel(second));
    mainWindow.Settings->trigger();
    QCOMPARE(second.check1, std::optional<bool>(false));
    QCOMPARE(second.check2, std::optional<bool>(true));

    writeBytes(setTxt(), "1\r\n1\r\n");
    Seen third;
    answerNextModalDialog<Setting>(scope, [&third](Setting* window) {
        third.check1 = window->Check1->isChecked();
        third.check2 = window->Check2->isChecked();
        window->Check2->click();
        window->OKButton->click();
    });
    mainWindow.Settings_Click();
    QCOMPARE(third.check1, std::optional<bool>(true));
    QCOMPARE(third.check2, std::optional<bool>(true));
    QCOMPARE(readBytes(setTxt()), QByteArray("1\r\n0\r\n"));
    QVERIFY(mainWindow.findChildren<Setting*>().isEmpty());
}

QTEST_MAIN(tst_Setting)
#include "tst_Setting.moc"
