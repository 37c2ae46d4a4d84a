#include "app/MainWindow.h"
#include "dialogs/NextModalDialog.h"
#include "state/SettingsWindow.h"
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

class TestSettingsWindow : public QObject {
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

void TestSettingsWindow::loadToggleAndClose_data()
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
void TestSettingsWindow::loadToggleAndClose()
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

    SettingsWindow window(desktop.platform(), nullptr);
    window.show();
    QCOMPARE(window.saveSourcesBox->isChecked(), check1);
    QCOMPARE(window.saveOutputFoldersBox->isChecked(), check2);
    if (toggle) {
        QTest::mouseClick(window.saveSourcesBox, Qt::LeftButton);
        QTest::mouseClick(window.saveOutputFoldersBox, Qt::LeftButton);
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
    SettingsWindow next(desktop.platform(), nullptr);
    QCOMPARE(next.saveSourcesBox->isChecked(), after.startsWith("1\r\n"));
    QCOMPARE(next.saveOutputFoldersBox->isChecked(), after.endsWith("\n1\r\n"));
}

void TestSettingsWindow::failedWriteIsReportedAndKeepsTheWindowOpen()
{
    // A regular file where the program folder should be: nothing can be created in it.
    writeBytes(dir.filePath(QStringLiteral("plain-file")), "not a folder");
    FakePlatform broken(dir.filePath(QStringLiteral("plain-file/folder")));

    SettingsWindow window(broken.platform(), nullptr);
    window.show();
    QTest::mouseClick(window.saveSourcesBox, Qt::LeftButton);
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
    QVERIFY(window.saveSourcesBox->isChecked());
}

void TestSettingsWindow::captionsFit()
{
    FakePlatform desktop(dir.path());
    SettingsWindow window(desktop.platform(), nullptr);
    QCOMPARE(window.saveSourcesBox->text(), QStringLiteral("Automatically save the current file\r\n"));

    for (QCheckBox* box : {window.saveSourcesBox, window.saveOutputFoldersBox}) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        QVERIFY2(box->fontMetrics().horizontalAdvance(box->text().trimmed()) <= room.width(),
                 qPrintable(box->objectName() + QStringLiteral(" is cut off")));
    }
}

void TestSettingsWindow::menuOpensAFreshModalWindowOverTheMainWindow()
{
    writeBytes(setTxt(), "0\r\n1\r\n");
    FakePlatform desktop(dir.path());
    MainWindow mainWindow(desktop.platform());
    mainWindow.show();

    QList<QList<bool>> seen; // modal over the main window, saveSourcesBox, saveOutputFoldersBox
    QObject scope;
    auto recordToggleCancel = [&seen, &mainWindow](SettingsWindow* window) {
        seen << QList<bool>{window->isModal() && window->parentWidget() == &mainWindow,
                            window->saveSourcesBox->isChecked(), window->saveOutputFoldersBox->isChecked()};
        window->saveSourcesBox->click();
        window->saveOutputFoldersBox->click();
        window->CancelButton->click();
    };
    for (int opening = 0; opening < 2; ++opening) {
        answerNextModalDialog<SettingsWindow>(scope, recordToggleCancel);
        mainWindow.settingsItem->trigger();
        QVERIFY(mainWindow.findChildren<SettingsWindow*>().isEmpty()); // gone when closed
    }

    // The second opening shows what is stored, not the cancelled clicks.
    QCOMPARE(seen, (QList<QList<bool>>{{true, false, true}, {true, false, true}}));
}

QTEST_MAIN(TestSettingsWindow)
#include "tst_SettingsWindow.moc"
