#include "sources/DocumentList.h"
#include "support/ConversionFixture.h"

#include <QComboBox>
#include <QRadioButton>
#include <QTest>


namespace {

// The calls a run made for its documents, the announcements aside.
QStringList documentCalls(ConversionFixture& f)
{
    f.window.convertCheckedDocuments();
    return f.fake.recordingWord.calls;
}

} // namespace

class TestConvertDocument : public QObject {
    Q_OBJECT

private slots:
    void fileSourceIsTheDocumentAtEveryPosition()
    {
        ConversionFixture f;
        f.addDocument(QStringLiteral("Only.docx"));
        f.window.documentList->clear();
        f.selectSource(f.source(QStringLiteral("Only.docx")));
        ListViews::setChecked(*ListViews::append(*f.window.documentList, QStringLiteral("Only.docx")), true);
        QCOMPARE(documentPathAt(f.window, 1), f.source("Only.docx"));
        QCOMPARE(documentPathAt(f.window, 7), f.source("Only.docx"));

        f.window.outputFolderChoice->AddItem(f.output(), 0);
        f.window.outputFolderChoice->setListIndex(0);
        QCOMPARE(documentCalls(f),
                 (QStringList{"CreateObject", "Open " + f.source("Only.docx"),
                              "SaveAs " + f.output("Only.htm") + " 8", "Close", "Quit"}));
        QVERIFY(f.fake.messages.shown.empty());
    }

    // A document that cannot be found fails with one message, without starting the word
    // processor for it.
    void missingDocumentFailsWithoutStartingWord()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc"), QStringLiteral("b.doc")});
        QCOMPARE(documentPathAt(f.window, 2), f.source("b.doc"));
        QCOMPARE(documentPathAt(f.window, 9), QString()); // no such item
        QFile::remove(f.source(QStringLiteral("b.doc")));
        QCOMPARE(documentCalls(f).count(QStringLiteral("CreateObject")), 1); // b.doc deleted after listing
        QCOMPARE(f.fake.messages.texts(), QStringList{"Convert b file failed!"});
        f.fake.recordingWord.calls.clear();
        f.fake.messages.shown.clear();
        f.window.sourceList->clear();
        f.selectSource(f.source(QStringLiteral("gone-folder")));
        QCOMPARE(documentCalls(f), QStringList()); // source folder deleted
        QCOMPARE(f.fake.messages.texts(), (QStringList{"Convert a file failed!", "Convert b file failed!"}));
    }

    void formatAndExtensionComeFromTheChoice_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("longExtension");
        QTest::addColumn<QString>("saveAs");
        QTest::newRow("web page, htm") << 0 << false << "a.htm 8";
        QTest::newRow("web page, html") << 0 << true << "a.html 8";
        QTest::newRow("filtered, htm") << 1 << false << "a.htm 10";
        QTest::newRow("filtered, html") << 1 << true << "a.html 10";
        QTest::newRow("archive, mht") << 2 << false << "a.mht 9";
        QTest::newRow("archive, mhtml") << 2 << true << "a.mhtml 9";
    }

    void formatAndExtensionComeFromTheChoice()
    {
        QFETCH(int, format);
        QFETCH(bool, longExtension);
        QFETCH(QString, saveAs);
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc")});
        f.window.formatChoice->setCurrentIndex(format);
        (longExtension ? f.window.longExtensionOption : f.window.shortExtensionOption)->setChecked(true);
        QCOMPARE(documentCalls(f).at(2), "SaveAs " + f.output() + "/" + saveAs);
        QCOMPARE(f.fake.recordingWord.announcements.at(0).format, saveAs.section(' ', 1).toInt());
    }

    void failuresFollowTheErrorPath_data()
    {
        QTest::addColumn<QString>("failingCall");
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("messageShown");
        const QString open = QStringLiteral("Open DOC");
        QTest::newRow("cannot create")
            << "CreateObject" << 429 << QStringList{"CreateObject !429"} << true;
        QTest::newRow("cannot open")
            << "Open" << 5001 << QStringList{"CreateObject", open + " !5001", "Quit"} << true;
        QTest::newRow("cannot save")
            << "SaveAs" << 5002
            << QStringList{"CreateObject", open, "SaveAs OUT.htm 8 !5002", "Quit"} << true;
        QTest::newRow("cannot close")
            << "Close" << 7 << QStringList{"CreateObject", open, "SaveAs OUT.htm 8", "Close !7", "Quit"}
            << true;
        QTest::newRow("engine died while opening")
            << "Open" << -2147023170 << QStringList{"CreateObject", open + " !-2147023170"} << false;
        QTest::newRow("error number zero")
            << "SaveAs" << 0 << QStringList{"CreateObject", open, "SaveAs OUT.htm 8 !0"} << false;
    }

    void failuresFollowTheErrorPath()
    {
        QFETCH(QString, failingCall);
        QFETCH(int, number);
        QFETCH(QStringList, calls);
        QFETCH(bool, messageShown);
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc")});
        f.fake.recordingWord.fault = [&](const QString& call) -> std::optional<AutomationError> {
            if (call.startsWith(failingCall))
                return AutomationError(number, QStringLiteral("What went wrong, in a sentence."));
            return std::nullopt;
        };
        QStringList expected = calls;
        expected.replaceInStrings(QStringLiteral("DOC"), f.source(QStringLiteral("a.doc")));
        expected.replaceInStrings(QStringLiteral("OUT"), f.output(QStringLiteral("a")));
        QCOMPARE(documentCalls(f), expected);
        // The engine's own description first, when it gave one; then which document failed.
        QCOMPARE(f.fake.messages.shown.size(), size_t(messageShown ? 2 : 1));
        QCOMPARE(f.fake.messages.shown.back().text, QStringLiteral("Convert a file failed!"));
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
        documentCalls(f);
        QCOMPARE(f.fake.messages.texts(), (QStringList{"Cannot.", "Convert a file failed!"}));
    }
};

QTEST_MAIN(TestConvertDocument)
#include "tst_ConvertDocument.moc"
