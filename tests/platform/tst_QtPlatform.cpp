#include "platform/HelpViewer.h"
#include "platform/MessageBox.h"
#include "platform/MousePointer.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {

QTextBrowser* helpWindow()
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* browser = qobject_cast<QTextBrowser*>(top); browser && browser->isVisible())
            return browser;
    }
    return nullptr;
}

} // namespace

class TestQtPlatform : public QObject {
    Q_OBJECT

private slots:
    void messageBoxIsTitledWithOneOkButton_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("qtIcon");
        QTest::newRow("information") << int(MessageIcon::Information) << int(QMessageBox::Information);
        QTest::newRow("critical") << int(MessageIcon::Critical) << int(QMessageBox::Critical);
        QTest::newRow("none") << int(MessageIcon::None) << int(QMessageBox::NoIcon);
    }

    void messageBoxIsTitledWithOneOkButton()
    {
        QFETCH(int, icon);
        QFETCH(int, qtIcon);
        QString title, text;
        int shownIcon = -1;
        qsizetype buttons = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            shownIcon = box->icon();
            buttons = box->buttons().size();
            box->button(QMessageBox::Ok)->click();
        });
        QtMessageBox messages;
        messages.show(QStringLiteral("Convert a file failed!"), static_cast<MessageIcon>(icon));
        QCOMPARE(title, QStringLiteral("Varnello"));
        QCOMPARE(text, QStringLiteral("Convert a file failed!"));
        QCOMPARE(shownIcon, qtIcon);
        QCOMPARE(buttons, 1);
    }

    void helpWindowShowsTheGuideOrSaysItIsMissing()
    {
        QTemporaryDir folder;
        const QString guide = folder.filePath(QStringLiteral("help.html"));
        QFile file(guide);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><body><h1>Varnello Help</h1><p>Add a folder.</p></body></html>");
        file.close();

        QtHelpViewer help;
        help.showHelp(guide);
        QVERIFY(helpWindow());
        QVERIFY(helpWindow()->toPlainText().contains(QStringLiteral("Add a folder.")));

        help.showHelp(folder.filePath(QStringLiteral("gone.html")));
        QVERIFY(helpWindow()->toPlainText().contains(QStringLiteral("could not be found")));
    }

    void waitPointerIsSetOnceAndAlwaysRestored()
    {
        {
            QtMousePointer pointer;
            pointer.set(MousePointer::Wait);
            pointer.set(MousePointer::Wait);
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            pointer.set(MousePointer::Default);
            QVERIFY(!QApplication::overrideCursor());
            pointer.set(MousePointer::Default);
            pointer.set(MousePointer::Wait);
        }
        QVERIFY(!QApplication::overrideCursor()); // ended with the object
    }
};

QTEST_MAIN(TestQtPlatform)
#include "tst_QtPlatform.moc"
