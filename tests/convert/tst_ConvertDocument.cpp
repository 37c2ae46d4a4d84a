#include "app/Module1.h"
#include "support/ConversionFixture.h"

#include <QComboBox>
#include <QRadioButton>
#include <QTest>

using Module1::ConvertDocument;
using Module1::GetDocumentPath;

class TestConvertDocument : public QObject {
    Q_OBJECT

private slots:
    void fileSourceIsTheDocumentAtEveryPosition()
    {
        ConversionFixture f;
        f.addDocument(QStringLiteral("Only.docx"));
        f.window.ListView2->clear();
        f.selectSource(f.source(QStringLiteral("Only.docx")));
        ListViews::append(*f.window.ListView2, QStringLiteral("Only.docx"));
        QCOMPARE(GetDocumentPath(f.window, 1), f.source("Only.docx"));
        QCOMPARE(GetDocumentPath(f.window, 7), f.source("Only.docx"));

        Module1::TargetPath = f.output(QStringLiteral("Only"));
        QCOMPARE(ConvertDocument(f.window, 1), 1);
        QCOMPARE(f.fake.recordingWord.calls,
                 (QStringList{"CreateObject", "Open " + f.source("Only.docx"),
                              "SaveAs " + f.output("Only.htm") + " 8", "Close", "Quit"}));
        QVERIFY(f.fake.messages.shown.empty());
    }

    void missingDocumentIsResultThreeWithoutStartingWord()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc"), QStringLiteral("b.doc")});
        QCOMPARE(GetDocumentPath(f.window, 2), f.source("b.doc"));
        QFile::remove(f.source(QStringLiteral("b.doc")));
        QCOMPARE(ConvertDocument(f.window, 2), 3); // deleted after listing
        QCOMPARE(ConvertDocument(f.window, 9), 3); // no such item
        f.window.ListView1->clearSelection();
        QCOMPARE(ConvertDocument(f.window, 1), 3); // no source selected
        f.window.ListView1->clear();
        f.selectSource(f.source(QStringLiteral("gone-folder")));
        QCOMPARE(ConvertDocument(f.window, 1), 3); // source folder deleted
        QCOMPARE(f.fake.recordingWord.createdObjects, 0);
        QVERIFY(f.fake.messages.shown.empty());
    }

    void formatAndExtensionComeFromTheChoice_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("longExtension");
        QTest::addColumn<QString>("saveAs");
        QTest::newRow("web page, htm") << 0 << false << "T.htm 8";
        QTest::newRow("web page, html") << 0 << true << "T.html 8";
        QTest::newRow("filtered, htm") << 1 << false << "T.htm 10";
        QTest::newRow("filtered, html") << 1 << true << "T.html 10";
        QTest::newRow("archive, mht") << 2 << false << "T.mht 9";
        QTest::newRow("archive, mhtml") << 2 << true << "T.mhtml 9";
    }

    void formatAndExtensionComeFromTheChoice()
    {
        QFETCH(int, format);
        QFETCH(bool, longExtension);
        QFETCH(QString, saveAs);
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc")});
        f.window.Combo1->setCurrentIndex(format);
        (longExtension ? f.window.Option2 : f.window.Option1)->setChecked(true);
        Module1::TargetPath = QStringLiteral("T");
        QCOMPARE(ConvertDocument(f.window, 1), 1);
        QCOMPARE(f.fake.recordingWord.calls.at(2), "SaveAs " + saveAs);
    }

    void failuresFollowTheErrorPath_data()
    {
        QTest::addColumn<QString>("failingCall");
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("messageShown");
        QTest::addColumn<int>("result");
        const QString open = QStringLiteral("Open DOC");
        QTest::newRow("cannot create")
            << "CreateObject" << 429 << QStringList{"CreateObject !429"} << true << 2;
        QTest::newRow("cannot open")
            << "Open" << 5001 << QStringList{"CreateObject", open + " !5001", "Quit"} << true << 2;
        QTest::newRow("cannot save")
            << "SaveAs" << 5002
            << QStringList{"CreateObject", open, "SaveAs OUT.htm 8 !5002", "Quit"} << true << 2;
        QTest::newRow("cannot close")
            << "Close" << 7 << QStringList{"CreateObject", open, "SaveAs OUT.htm 8", "Close !7", "Quit"}
            << true << 2;
        QTest::newRow("engine died while opening")
            << "Open" << -2147023170 << QStringList{"CreateObject", open + " !-2147023170"} << false
            << 0;
        QTest::newRow("error number zero")
            << "SaveAs" << 0 << QStringList{"CreateObject", open, "SaveAs OUT.htm 8 !0"} << false << 0;
    }

    void failuresFollowTheErrorPath()
    {
        QFETCH(QString, failingCall);
        QFETCH(int, number);
        QFETCH(QStringList, calls);
        QFETCH(bool, messageShown);
        QFETCH(int, result);
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc")});
        f.fake.recordingWord.fault = [&](const QString& call) -> std::optional<AutomationError> {
            if (call.startsWith(failingCall))
                return AutomationError(number, QStringLiteral("What went wrong, in a sentence."));
            return std::nullopt;
        };
        Module1::TargetPath = f.output(QStringLiteral("OUT"));
        QCOMPARE(ConvertDocument(f.window, 1), result);

        QStringList expected = calls;
        expected.replaceInStrings(QStringLiteral("DOC"), f.source(QStringLiteral("a.doc")));
        expected.replaceInStrings(QStringLiteral("OUT"), f.output(QStringLiteral("OUT")));
        QCOMPARE(f.fake.recordingWord.calls, expected);
        QCOMPARE(f.fake.messages.shown.size(), size_t(messageShown ? 1 : 0));
        if (messageShown) {
            QCOMPARE(f.fake.messages.shown[0].text, QStringLiteral("What went wrong, in a sentence."));
            QCOMPARE(f.fake.messages.shown[0].icon, MessageIcon::None);
        }
    }

    void quitFailingAfterAnErrorIsNotFatal()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc")});
        f.fake.recordingWord.fault = [](const QString& call) -> std::optional<AutomationError> {
            if (call.startsWith(QStringLiteral("Open")) || call == QStringLiteral("Quit"))
                return AutomationError(5001, QStringLiteral("Cannot."));
            return std::nullopt;
        };
        Module1::TargetPath = f.output(QStringLiteral("a"));
        QCOMPARE(ConvertDocument(f.window, 1), 2);
        QCOMPARE(f.fake.messages.shown.size(), size_t(1));
    }
};

QTEST_MAIN(TestConvertDocument)
#include "tst_ConvertDocument.moc"
