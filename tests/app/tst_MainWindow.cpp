#include "app/Addresses.h"
#include "app/AboutWindow.h"
#include "app/LinkLabel.h"
#include "app/MainWindow.h"
#include "outputs/OutputFolderCombo.h"
#include "support/ProgramFolder.h"
#include "fakes/FakePlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

QString captionOf(QWidget* control)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    return {};
}

// What a command did that a user could see: messages, shell, help, dialogs asked.
QStringList effects(FakePlatform& fake)
{
    QStringList seen;
    for (const auto& message : fake.messages.shown)
        seen << "message " + message.text;
    for (const auto& folder : fake.shell.openedFolders)
        seen << "folder " + folder;
    for (const auto& address : fake.shell.openedAddresses)
        seen << "address " + address;
    for (const auto& file : fake.help.shownFiles)
        seen << "help " + file;
    for (const auto& asked : fake.fileDialogs.asked)
        seen << "dialog " + asked.kind + " " + asked.request.title;
    return seen;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    // Every control shows its caption whole, inside the window, over no other control,
    // in the window's font.
    void controlsAreCaptionedAndLaidOutWithoutOverlap()
    {
        ProgramFolder folder;
        FakePlatform fake(folder.path());
        MainWindow window(fake.platform());
        window.show();
        const QList<std::pair<QWidget*, QString>> captioned{
            {window.addFolderButton, "Add Folder"}, {window.addWordButton, "Add Word"},
            {window.removeFileButton, "Remove File"}, {window.convertButton, "Convert"},
            {window.helpButton, "Help"}, {window.homePageButton, "HomePage"}, {window.exitButton, "Exit"},
            {window.formatLabel, "File Format:"}, {window.extensionLabel, "File Extension Name:"},
            {window.shortExtensionOption, "htm"}, {window.longExtensionOption, "html"},
            {window.outputFolderLabel, "Select  output directory:"}, {window.browseButton, "Browse"},
            {window.viewButton, "View"}};
        for (const auto& [control, caption] : captioned) {
            QCOMPARE(captionOf(control), caption);
            if (auto* label = qobject_cast<QLabel*>(control))
                QVERIFY2(label->fontMetrics().horizontalAdvance(caption) <= label->width(), qPrintable(caption));
        }
        const QRect client = window.centralWidget()->rect();
        const QList<QWidget*> controls = window.centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(controls.size(), 21);
        for (QWidget* control : controls) {
            QVERIFY2(client.contains(control->geometry()), qPrintable(control->objectName()));
            QVERIFY(control->isEnabled());
            QCOMPARE(control->font().family(), QStringLiteral("Arial"));
            // Twips round to whole pixels: a pixel's overlap is the rounding, not the layout.
            for (QWidget* other : controls)
                QVERIFY2(other == control || !other->geometry().adjusted(1, 0, -1, 0).intersects(control->geometry()),
                         qPrintable(control->objectName() + " overlaps " + other->objectName()));
        }
    }

    void windowIsFixedAndTitled()
    {
        ProgramFolder folder;
        FakePlatform fake(folder.path());
        MainWindow window(fake.platform());
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Varnello"));
        QCOMPARE(window.centralWidget()->size(), QSize(678, 436));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        for (auto* button : {window.addFolderButton, window.addWordButton, window.convertButton, window.exitButton}) {
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
            QVERIFY(!button->icon().isNull());
        }
        QVERIFY(!window.moveUpButton->icon().isNull());
        QVERIFY(window.outputFolderChoice->isEditable());
        QVERIFY(!window.formatChoice->isEditable());
        for (int icon = 1; icon <= 3; ++icon)
            QVERIFY(!window.icons.ListImages(icon).isNull());
    }

    void menusHoldTheirItemsWithoutShortcuts()
    {
        ProgramFolder folder;
        FakePlatform fake(folder.path());
        MainWindow window(fake.platform());
        QStringList tree;
        for (QAction* top : window.menuBar()->actions()) {
            tree << top->objectName() + "=" + top->text();
            QVERIFY(top->shortcut().isEmpty());
            QVERIFY(!top->text().contains('&'));
            if (!top->menu())
                continue;
            for (QAction* item : top->menu()->actions()) {
                QVERIFY(!item->isSeparator());
                QVERIFY(item->shortcut().isEmpty());
                QVERIFY(!item->text().contains('&'));
                tree << "  " + item->objectName() + "=" + item->text();
            }
        }
        QCOMPARE(tree, (QStringList{"EE=File", "  AddFolder=Add Folder", "  AddExcel=Add Word",
                                    "FF=Edit", "  RemoveItem=Remove Item",
                                    "  RemoveAll=Remove All Items",
                                    "  Removeoutput=Remove Current Output Directory",
                                    "  RemoveAllOutput=Remove All Output Directory",
                                    "Actions=Actions", "  Separate=Convert", "Settings=Settings",
                                    "Help=Help", "  Help1=Help", "  HomePage=HomePage",
                                    "  About=About"}));
    }

    void tabOrderFollowsTheLayout()
    {
        ProgramFolder folder;
        FakePlatform fake(folder.path());
        MainWindow window(fake.platform());
        window.show();
        const QList<QWidget*> expected{static_cast<QWidget*>(window.addFolderButton), window.addWordButton,  window.removeFileButton,
                                       window.convertButton, window.helpButton,  window.homePageButton,
                                       window.exitButton, window.sourceList, window.documentList,
                                       window.moveUpButton, window.moveDownButton,  window.formatChoice,
                                       window.shortExtensionOption,  window.longExtensionOption,   window.viewButton,
                                       window.browseButton, window.outputFolderChoice};
        for (qsizetype i = 1; i < expected.size(); ++i) {
            QWidget* next = expected[i - 1]->nextInFocusChain();
            while (next->focusPolicy() == Qt::NoFocus || !expected.contains(next))
                next = next->nextInFocusChain();
            QCOMPARE(next->objectName(), expected[i]->objectName());
        }
    }

    // A menu item that stands for a button does exactly what the button does.
    void menuItemsDoWhatTheirButtonsDo_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("menuItem");
        QTest::newRow("Add Folder") << "Command5" << "AddFolder";
        QTest::newRow("Add Word") << "Command1" << "AddExcel";
        QTest::newRow("Remove") << "Command2" << "RemoveItem";
        QTest::newRow("Convert") << "Command6" << "Separate";
        QTest::newRow("Help") << "Command8" << "Help1";
        QTest::newRow("Home page") << "Command7" << "HomePage";
    }

    void menuItemsDoWhatTheirButtonsDo()
    {
        QFETCH(QString, button);
        QFETCH(QString, menuItem);
        ProgramFolder folder;
        auto run = [&](auto trigger) {
            FakePlatform fake(folder.path());
            MainWindow window(fake.platform());
            trigger(window);
            QCoreApplication::sendPostedEvents();
            return effects(fake);
        };
        const QStringList byButton = run([&](MainWindow& window) {
            QTest::mouseClick(window.findChild<QAbstractButton*>(button), Qt::LeftButton);
        });
        const QStringList byMenu = run([&](MainWindow& window) {
            window.findChild<QAction*>(menuItem)->trigger();
        });
        QCOMPARE(byMenu, byButton);
    }

    void helpAndHomePageReachTheDesktop()
    {
        ProgramFolder folder;
        FakePlatform fake(folder.path());
        MainWindow window(fake.platform());
        window.show();
        QTest::keyClick(&window, Qt::Key_F1);
        window.showHelp(); // the simulated F1 is posted, not sent
        QCOMPARE(fake.help.shownFiles.size(), 1);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(fake.help.shownFiles, QStringList(2, folder.path() + "/help.html"));
        window.openHomePage();
        QCOMPARE(fake.shell.openedAddresses, QStringList{Addresses::HomePage});
    }

    void aboutWindowIsModalAndItsLinksWork()
    {
        ProgramFolder folder;
        FakePlatform fake(folder.path());
        MainWindow window(fake.platform());
        window.show();
        QStringList seen;
        bool mainWindowBlocked = false;
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<AboutWindow*>(QApplication::activeModalWidget());
            QVERIFY(about);
            mainWindowBlocked = about->isModal() && QApplication::activeModalWidget() != &window;
            seen << about->windowTitle() << about->productName->text() << about->versionLabel->text()
                 << about->supportCaption->text() << about->supportAddress->text() << about->websiteCaption->text()
                 << about->websiteAddress->text();
            QVERIFY(!about->copyrightLabel->text().isEmpty());
            QVERIFY(!about->warningLabel->text().isEmpty());
            QCOMPARE(about->supportAddress->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(about->websiteAddress->palette().color(QPalette::WindowText),
                     about->palette().color(QPalette::Highlight));
            QTest::mouseClick(about->supportAddress, Qt::LeftButton);
            QTest::mouseClick(about->websiteAddress, Qt::LeftButton);
            QTest::mouseClick(about->OKButton, Qt::LeftButton);
        });
        window.showAbout();
        QVERIFY(mainWindowBlocked);
        QCOMPARE(seen, (QStringList{"About us", "Varnello", "Version:2009.9.9", "Technical Support:",
                                    Addresses::SupportMail, " Website:", Addresses::HomePage}));
        QCOMPARE(fake.shell.openedAddresses,
                 (QStringList{"mailto:" + Addresses::SupportMail, Addresses::HomePage}));
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(window.findChildren<AboutWindow*>().isEmpty()); // gone once closed
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
