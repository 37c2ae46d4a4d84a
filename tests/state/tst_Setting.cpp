#include "app/form1.h"
#include "dialogs/NextModalDialog.h"
#include "state/Setting.h"
#include "fakes/FakePlatform.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QtTest>

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
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(NoFile);
}

} // namespace

class TestSetting : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString setTxt() const { return dir.filePath(QStringLiteral("set.txt")); }

private slots:
    void loadToggleAndClose_data();
    void loadToggleAndClose();
    void failedWriteIsReportedAndKeepsTheWindowOpen();
    void captionsFit();
    void menuOpensAFreshModalWindowOverTheMainWindow();
};

void TestSetting::loadToggleAndClose_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("check1");
    QTest::addColumn<bool>("check2");
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("0 1, toggled, OK") << QByteArray("0\r\n1\r\n") << false << true << true
                                      << "OK" << QByteArray("1\r\n0\r\n");
    QTest::newRow("true yes, unchanged OK") << QByteArray("true\r\nyes\r\n") << false << false
                                            << false << "OK" << QByteArray("0\r\n0\r\n");
    QTest::newRow("1 without line end") << QByteArray("1") << true << false << false << "OK"
                                        << QByteArray("1\r\n0\r\n");
    QTest::newRow("blanks and -1 are not 1") << QByteArray("1 \r\n-1\r\n") << false << false
                                             << true << "OK" << QByteArray("1\r\n1\r\n");
    QTest::newRow("empty line 1, LF, extra lines") << QByteArray("\n1\n1\n") << false << true
                                                   << false << "OK" << QByteArray("0\r\n1\r\n");
    QTest::newRow("missing file, OK creates it") << QByteArray(NoFile) << false << false << false
                                                 << "OK" << QByteArray("0\r\n0\r\n");
    QTest::newRow("Cancel") << QByteArray("1\r\n0\r\n") << true << false << true << "Cancel"
                            << QByteArray("1\r\n0\r\n");
    QTest::newRow("close box") << QByteArray("yes") << false << false << true << "close box"
                               << QByteArray("yes");
    QTest::newRow("Escape, missing file") << QByteArray(NoFile) << false << false << true
                                          << "Escape" << QByteArray(NoFile);
}

// Opens the window on `before`, toggles both boxes or not, closes it one way, and opens it
// again to see what was kept.
void TestSetting::loadToggleAndClose()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, check1);
    QFETCH(bool, check2);
    QFETCH(bool, toggle);
    QFETCH(QString, close);
    QFETCH(QByteArray, after);
    QFile::remove(setTxt());
    if (before != NoFile)
        writeBytes(setTxt(), before);
    FakePlatform desktop(dir.path());

    Setting window(desktop.platform(), nullptr);
    window.show();
    QCOMPARE(window.Check1->isChecked(), check1);
    QCOMPARE(window.Check2->isChecked(), check2);
    if (toggle) {
        QTest::mouseClick(window.Check1, Qt::LeftButton);
        QTest::mouseClick(window.Check2, Qt::LeftButton);
        QCOMPARE(readBytes(setTxt()), before); // toggling stores nothing
    }
    if (close == QLatin1String("OK"))
        QTest::mouseClick(window.OKButton, Qt::LeftButton);
    else if (close == QLatin1String("Cancel"))
        QTest::mouseClick(window.CancelButton, Qt::LeftButton);
    else if (close == QLatin1String("Escape"))
        QTest::keyClick(&window, Qt::Key_Escape);
    else
        window.close();

    QVERIFY(!window.isVisible());
    QCOMPARE(readBytes(setTxt()), after);
    QVERIFY(desktop.messages.shown.empty());
    Setting next(desktop.platform(), nullptr);
    QCOMPARE(next.Check1->isChecked(), after.startsWith("1\r\n"));
    QCOMPARE(next.Check2->isChecked(), after.endsWith("\n1\r\n"));
}

void TestSetting::failedWriteIsReportedAndKeepsTheWindowOpen()
{
    // A regular file where the program folder should be: nothing can be created in it.
    writeBytes(dir.filePath(QStringLiteral("plain-file")), "not a folder");
    FakePlatform broken(dir.filePath(QStringLiteral("plain-file/folder")));

    Setting window(broken.platform(), nullptr);
    window.show();
    QTest::mouseClick(window.Check1, Qt::LeftButton);
    QTest::mouseClick(window.OKButton, Qt::LeftButton);

    QCOMPARE(broken.messages.shown.size(), size_t{1});
    const QString expectedStart = QStringLiteral("The settings could not be saved to \"%1\": ")
                                      .arg(dir.filePath(QStringLiteral("plain-file/folder/set.txt")));
    QVERIFY2(broken.messages.shown[0].text.startsWith(expectedStart)
                 && broken.messages.shown[0].text.size() > expectedStart.size(),
             qPrintable(broken.messages.shown[0].text));
    QCOMPARE(broken.messages.shown[0].icon, MessageIcon::Critical);
    // Not reported as saved: the window and the user's choice are still there.
    QVERIFY(window.isVisible());
    QVERIFY(window.Check1->isChecked());
}

void TestSetting::captionsFit()
{
    FakePlatform desktop(dir.path());
    Setting window(desktop.platform(), nullptr);
    QCOMPARE(window.Check1->text(), QStringLiteral("Automatically save the current file\r\n"));

    for (QCheckBox* box : {window.Check1, window.Check2}) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        QVERIFY2(box->fontMetrics().horizontalAdvance(box->text().trimmed()) <= room.width(),
                 qPrintable(box->objectName() + QStringLiteral(" is cut off")));
    }
}

void TestSetting::menuOpensAFreshModalWindowOverTheMainWindow()
{
    writeBytes(setTxt(), "0\r\n1\r\n");
    FakePlatform desktop(dir.path());
    form1 mainWindow(desktop.platform());
    mainWindow.show();

    QList<QList<bool>> seen; // modal over the main window, Check1, Check2
    QObject scope;
    auto recordToggleCancel = [&seen, &mainWindow](Setting* window) {
        seen << QList<bool>{window->isModal() && window->parentWidget() == &mainWindow,
                            window->Check1->isChecked(), window->Check2->isChecked()};
        window->Check1->click();
        window->Check2->click();
        window->CancelButton->click();
    };
    for (int opening = 0; opening < 2; ++opening) {
        answerNextModalDialog<Setting>(scope, recordToggleCancel);
        mainWindow.Settings->trigger();
        QVERIFY(mainWindow.findChildren<Setting*>().isEmpty()); // gone when closed
    }

    // The second opening shows what is stored, not the cancelled clicks.
    QCOMPARE(seen, (QList<QList<bool>>{{true, false, true}, {true, false, true}}));
}

QTEST_MAIN(TestSetting)
#include "tst_Setting.moc"
