#include "sources/DocumentList.h"
#include "support/ByteNames.h"
#include "support/ConversionFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <sys/stat.h>

namespace {

QStringList savedNames(const QStringList& calls)
{
    QStringList names;
    for (const QString& call : calls) {
        if (call.startsWith(QStringLiteral("SaveAs ")))
            names << call.section(QLatin1Char('/'), -1).section(QLatin1Char(' '), 0, 0);
    }
    return names;
}

void typeOutputFolder(ConversionFixture& f, const QString& text)
{
    f.window.outputFolderChoice->lineEdit()->clear();
    QTest::keyClicks(f.window.outputFolderChoice->lineEdit(), text);
}

} // namespace

class TestConversionRun : public QObject {
    Q_OBJECT

private slots:
    void emptyDocumentListOnlyAsksForDocuments()
    {
        ConversionFixture f;
        f.window.outputFolderChoice->setEditText(QString()); // would be a second message if checked
        f.window.convertCheckedDocuments();
        QCOMPARE(f.fake.messages.texts(), QStringList{"Please select word at fast!"});
        QCOMPARE(f.fake.messages.shown[0].icon, MessageIcon::Information);
        QCOMPARE(f.window.progressBar->value(), 0);
        QCOMPARE(f.fake.pointer.current(), MousePointer::Default);
        QVERIFY(f.fake.shell.openedFolders.isEmpty());
    }

    void outputFolderIsCheckedBeforeAnything_data()
    {
        QTest::addColumn<QString>("typed");   // typed into the edit field, or
        QTest::addColumn<QString>("picked");  // picked from the list
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "" << "" << "Please select output folder";
        QTest::newRow("picked folder gone") << "" << "gone" << "Folder does not exist!";
        QTest::newRow("typed, parent missing") << "no/such" << "" << "Failed to create folder";
        QTest::newRow("typed, a file is there") << "a.doc" << "" << "Failed to create folder";
    }

    void outputFolderIsCheckedBeforeAnything()
    {
        QFETCH(QString, typed);
        QFETCH(QString, picked);
        QFETCH(QString, message);
        ConversionFixture f;
        f.selectSource(f.sources.path());
        f.addDocument(QStringLiteral("a.doc"));
        if (!picked.isEmpty()) {
            f.window.outputFolderChoice->AddItem(f.output(picked), 0);
            f.window.outputFolderChoice->setListIndex(0);
        } else if (!typed.isEmpty()) {
            typeOutputFolder(f, typed == "a.doc" ? f.source(typed) : f.output(typed));
        }
        f.window.convertCheckedDocuments();
        QCOMPARE(f.fake.messages.texts(), QStringList{message});
        QCOMPARE(f.fake.messages.shown[0].icon, message == "Please select output folder"
                                                    ? MessageIcon::Information
                                                    : MessageIcon::Critical);
        QCOMPARE(f.fake.recordingWord.createdObjects, 0);
        QVERIFY(f.fake.shell.openedFolders.isEmpty());
        QVERIFY(!QFile::exists(f.output(QStringLiteral("gone"))));
        QCOMPARE(f.fake.pointer.current(), MousePointer::Default);
    }

    void typedFolderIsCreatedAndTrimmed()
    {
        ConversionFixture f;
        typeOutputFolder(f, f.output(QStringLiteral("new")) + QStringLiteral("///"));
        QCOMPARE(f.window.outputFolderChoice->ListIndex(), -1);
        QCOMPARE(f.window.outputFolderForRun(), f.output(QStringLiteral("new")) + QLatin1Char('/'));
        QVERIFY(QFileInfo(f.output(QStringLiteral("new"))).isDir());
        QCOMPARE(f.window.outputFolderChoice->ListCount(), 0); // a typed folder is not remembered

        QCOMPARE(f.window.outputFolderForRun(), f.output(QStringLiteral("new")) + QLatin1Char('/')); // exists now
        typeOutputFolder(f, QStringLiteral("//"));
        QCOMPARE(f.window.outputFolderForRun(), QStringLiteral("/"));
        QVERIFY(f.fake.messages.shown.empty());
    }

    void outputNamesAreDerivedFromTheDocumentNames()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("My Report 1.2.doc"), QStringLiteral("Notes"),
                   QStringLiteral("Report.doc"), QStringLiteral("Plan.docx"),
                   QStringLiteral("Tab\tName.doc")});
        QDir(f.output()).mkdir(QStringLiteral("Report"));
        QDir(f.output()).mkdir(QStringLiteral("Plan"));
        QDir(f.output()).mkdir(QStringLiteral("Plan1"));
        QFile(f.output(QStringLiteral("Notes.htm"))).open(QIODevice::WriteOnly); // files don't count
        f.window.convertCheckedDocuments();
        QCOMPARE(savedNames(f.fake.recordingWord.calls),
                 (QStringList{"MyReport12.htm", "Notes.htm", "Report1.htm", "Plan12.htm",
                              "Tab\tName.htm"}));
        QVERIFY(f.fake.messages.shown.empty());
        QCOMPARE(f.fake.shell.openedFolders, QStringList{f.output() + QLatin1Char('/')});
    }

    void documentsOfOneRunNeverShareAnOutputName()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("a b.doc"), QStringLiteral("a.b.docx"), QStringLiteral("ab.doc"),
                   QStringLiteral("cd.doc")});
        // A page of an earlier run is replaced; a folder still pushes the name on.
        QFile(f.output(QStringLiteral("ab.htm"))).open(QIODevice::WriteOnly);
        QDir(f.output()).mkdir(QStringLiteral("cd"));
        f.window.convertCheckedDocuments();
        QCOMPARE(savedNames(f.fake.recordingWord.calls),
                 (QStringList{"ab.htm", "ab1.htm", "ab12.htm", "cd1.htm"}));
        QVERIFY(f.fake.messages.shown.empty());

        // The next run starts afresh and refreshes the same pages.
        f.fake.recordingWord.calls.clear();
        f.window.convertCheckedDocuments();
        QCOMPARE(savedNames(f.fake.recordingWord.calls),
                 (QStringList{"ab.htm", "ab1.htm", "ab12.htm", "cd1.htm"}));
    }

    void aNameTakenByAFolderAndByThisRunKeepsAccumulatingDigits()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("x.doc"), QStringLiteral("x.docx"), QStringLiteral("x.docm")});
        QDir(f.output()).mkdir(QStringLiteral("x1"));
        // A failed document still holds its name: a failed save may have left output.
        f.fake.recordingWord.fault = [](const QString& call) -> std::optional<AutomationError> {
            if (call.startsWith(QStringLiteral("Open")) && call.endsWith(QStringLiteral("x.doc")))
                return AutomationError(5001, QStringLiteral("damaged"));
            return std::nullopt;
        };
        f.window.convertCheckedDocuments();
        QCOMPARE(savedNames(f.fake.recordingWord.calls), (QStringList{"x12.htm", "x123.htm"}));
        QCOMPARE(f.fake.messages.texts(), (QStringList{"damaged", "Convert x file failed!"}));
    }

    // Names with '*', '?' and bytes that are not UTF-8 are plain Linux names: they
    // list, and the engine is handed paths that encode back to the very bytes.
    void awkwardNamesListAndConvert()
    {
        ConversionFixture f;
        const QByteArray source = LocalFileName::encode(f.sources.path()) + "/" + ByteNames::Latin1Cafe;
        QVERIFY(ByteNames::makeFolder(source));
        const ByteNames::RemovedAtEnd removeSource(source);
        for (const QByteArray& name : {QByteArray("a?b*.doc"), QByteArray("\xE9t\xE9.doc"),
                                       QByteArray("*.doc")})
            QVERIFY(ByteNames::writeFile(source + "/" + name));
        f.selectSource(ByteNames::path(source));
        fillDocumentList(f.window, ByteNames::path(source));
        QCOMPARE(ListViews::count(*f.window.documentList), 3);
        const QByteArray output = LocalFileName::encode(f.output()) + "/out\xFF";
        const ByteNames::RemovedAtEnd removeOutput(output);
        f.window.outputFolderChoice->setEditText(ByteNames::path(output)); // typed: made by the run

        f.window.convertCheckedDocuments();
        QVERIFY(f.fake.messages.shown.empty());
        QByteArrayList opened;
        QByteArrayList saved;
        for (const QString& call : f.fake.recordingWord.calls) {
            if (call.startsWith(QStringLiteral("Open ")))
                opened << LocalFileName::encode(call.mid(5));
            if (call.startsWith(QStringLiteral("SaveAs ")))
                saved << LocalFileName::encode(call.mid(7).section(QLatin1Char(' '), 0, 0));
        }
        QCOMPARE(opened, (QByteArrayList{source + "/*.doc", source + "/a?b*.doc",
                                         source + "/\xE9t\xE9.doc"}));
        QCOMPARE(saved, (QByteArrayList{output + "/*.htm", output + "/a?b*.htm",
                                        output + "/\xE9t\xE9.htm"}));
        struct stat status {};
        QVERIFY(::stat(output.constData(), &status) == 0 && S_ISDIR(status.st_mode));
    }

    void hiddenDocumentsFail()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral(".doc")});
        f.window.convertCheckedDocuments();
        // The document is dot-named, hence hidden, and is not converted.
        QCOMPARE(f.fake.messages.texts(), QStringList{"Convert  file failed!"});
        QCOMPARE(f.fake.recordingWord.createdObjects, 0);
    }

    void onlyCheckedDocumentsAreConvertedAndProgressStepsThroughAll()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc"), QStringLiteral("b.doc"), QStringLiteral("c.doc")});
        ListViews::setChecked(*ListViews::item(*f.window.documentList, 2), false);
        QList<int> progress;
        connect(f.window.progressBar, &QProgressBar::valueChanged, [&](int v) { progress << v; });
        f.window.convertCheckedDocuments();
        QCOMPARE(savedNames(f.fake.recordingWord.calls), (QStringList{"a.htm", "c.htm"}));
        QCOMPARE(f.window.progressBar->maximum(), 3);
        QCOMPARE(progress, (QList<int>{1, 2, 3, 0}));
        QCOMPARE(f.fake.pointer.history, (std::vector<int16_t>{11, 0}));
        // The run leaves both lists as they were.
        QCOMPARE(ListViews::count(*f.window.documentList), 3);
        QVERIFY(!ListViews::checked(*ListViews::item(*f.window.documentList, 2)));
    }

    void nothingCheckedStillOpensTheOutputFolder()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc")});
        ListViews::setChecked(*ListViews::item(*f.window.documentList, 1), false);
        f.window.convertCheckedDocuments();
        QCOMPARE(f.fake.recordingWord.createdObjects, 0);
        QCOMPARE(f.fake.shell.openedFolders.size(), 1);
        QVERIFY(f.fake.messages.shown.empty());
    }

    void aFailedDocumentIsReportedAndTheRunGoesOn()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("bad file.doc"), QStringLiteral("good.doc"),
                   QStringLiteral("crash.doc"), QStringLiteral("last.doc")});
        QFile::remove(f.source(QStringLiteral("last.doc"))); // gone since it was listed
        f.fake.recordingWord.fault = [](const QString& call) -> std::optional<AutomationError> {
            if (call.startsWith(QStringLiteral("Open")) && call.contains(QStringLiteral("bad file")))
                return AutomationError(5001, QStringLiteral("The document cannot be opened."));
            if (call.startsWith(QStringLiteral("SaveAs")) && call.contains(QStringLiteral("crash")))
                return AutomationError(WordErrors::RemoteCallFailed, QStringLiteral("gone"));
            return std::nullopt;
        };
        QList<int> progress;
        connect(f.window.progressBar, &QProgressBar::valueChanged, [&](int v) { progress << v; });
        f.window.convertCheckedDocuments();
        QCOMPARE(f.fake.messages.texts(),
                 (QStringList{"The document cannot be opened.", "Convert badfile file failed!",
                              "Convert crash file failed!", "Convert last file failed!"}));
        QCOMPARE(f.fake.messages.shown[1].icon, MessageIcon::Critical);
        QCOMPARE(savedNames(f.fake.recordingWord.calls), (QStringList{"good.htm", "crash.htm"}));
        QCOMPARE(progress, (QList<int>{1, 2, 3, 4, 0}));
        QCOMPARE(f.fake.shell.openedFolders.size(), 1);
        QCOMPARE(f.fake.pointer.current(), MousePointer::Default);
    }

    // A folder removed mid-run stops the run with one message instead of two for every
    // document left; a single document's failure before that is told as usual.
    void outputFolderRemovedStopsTheRunOnce()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc"), QStringLiteral("b.doc"), QStringLiteral("c.doc"), QStringLiteral("d.doc")});
        f.fake.recordingWord.fault = [&](const QString& call) -> std::optional<AutomationError> {
            if (call.startsWith(QStringLiteral("Open")) && call.contains(QStringLiteral("a.doc")))
                return AutomationError(5001, QStringLiteral("Damaged."));
            if (call.startsWith(QStringLiteral("SaveAs")) && call.contains(QStringLiteral("b.htm"))) {
                QDir(f.output()).removeRecursively();
                return AutomationError(5002, QStringLiteral("Cannot write."));
            }
            return std::nullopt;
        };
        f.window.convertCheckedDocuments();
        QCOMPARE(f.fake.messages.texts(),
                 (QStringList{"Damaged.", "Convert a file failed!",
                              "The output folder " + f.output() + " can no longer be used: it has been removed or "
                              "moved. Converting stopped; 3 documents were not converted."}));
        QCOMPARE(f.fake.recordingWord.calls.count(QStringLiteral("CreateObject")), 2); // c and d not tried
        QVERIFY(f.fake.shell.openedFolders.isEmpty());
        QCOMPARE(f.fake.pointer.current(), MousePointer::Default);
    }

    // A run is planned once: its pages link to each other under the names it announced.
    void formatHoldsForTheWholeRun()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc"), QStringLiteral("b.doc")});
        f.fake.recordingWord.onSaveAs = [&](const QString&, int32_t) {
            f.window.formatChoice->setCurrentIndex(2);
            f.window.longExtensionOption->setChecked(true);
        };
        f.window.convertCheckedDocuments();
        QCOMPARE(savedNames(f.fake.recordingWord.calls), (QStringList{"a.htm", "b.htm"}));
    }

    void windowStaysOpenWhileARunIsUnderWay()
    {
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc"), QStringLiteral("b.doc")});
        f.window.show();
        bool closedDuringRun = true;
        f.fake.recordingWord.onSaveAs = [&](const QString&, int32_t) {
            closedDuringRun = f.window.close();
        };
        f.window.convertCheckedDocuments();
        QVERIFY(!closedDuringRun); // the user answered No
        QCOMPARE(f.fake.messages.asked, (QStringList{"Stop converting after this document?",
                                                     "Stop converting after this document?"}));
        QCOMPARE(savedNames(f.fake.recordingWord.calls).size(), 2);
        QVERIFY(f.window.close());
    }

    // Escape or closing during a run asks; Yes stops after the document under way, and
    // closing then closes the window as a normal exit does. Clicks during the run do nothing.
    void aRunStopsWhenAsked_data()
    {
        QTest::addColumn<bool>("byClosing");
        QTest::newRow("Escape") << false;
        QTest::newRow("close") << true;
    }

    void aRunStopsWhenAsked()
    {
        QFETCH(bool, byClosing);
        ConversionFixture f;
        f.prepare({QStringLiteral("a.doc"), QStringLiteral("b.doc"), QStringLiteral("c.doc")});
        f.window.show();
        f.fake.messages.answer = true;
        f.fake.recordingWord.onSaveAs = [&](const QString&, int32_t) {
            QTest::mouseClick(f.window.removeFileButton, Qt::LeftButton); // would remove the source
            if (byClosing)
                f.window.close();
            else
                QTest::keyClick(f.window.documentList, Qt::Key_Escape);
        };
        f.window.convertCheckedDocuments();
        QCOMPARE(f.fake.messages.asked, QStringList{"Stop converting after this document?"});
        QCOMPARE(savedNames(f.fake.recordingWord.calls), QStringList{"a.htm"}); // a.doc was finished
        QCOMPARE(f.fake.recordingWord.announcements.back().documentPaths, QStringList()); // work ahead ended
        QCOMPARE(ListViews::count(*f.window.sourceList), 1);
        QCOMPARE(f.window.isVisible(), !byClosing);
        QCOMPARE(f.fake.shell.openedFolders.size(), byClosing ? 0 : 1);
        QVERIFY(f.fake.messages.shown.empty());
    }
};

QTEST_MAIN(TestConversionRun)
#include "tst_ConversionRun.moc"
