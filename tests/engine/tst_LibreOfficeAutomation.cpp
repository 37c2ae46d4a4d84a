// Real LibreOffice behind the Word-like interface: every format, awkward names, every
// kind of document Word opens, documents that cannot be opened, and saves that cannot be written.

#include "engine/AutomationFixture.h"

class TestLibreOfficeAutomation : public QObject, protected AutomationFixture {
    Q_OBJECT

private slots:
    void initTestCase() { setUpFixture(); }
    void cleanupTestCase() { verifyDocumentsUntouched(); }

    void convertsEachFormat_data()
    {
        QTest::addColumn<QString>("documentName");
        QTest::addColumn<int>("format");
        for (const char* name : {"sample.docx", "sample.doc", "sample.docm"})
            for (int format : {8, 10, 9})
                QTest::addRow("%s, format %d", name, format) << QString::fromLatin1(name) << format;
    }

    void convertsEachFormat()
    {
        QFETCH(QString, documentName);
        QFETCH(int, format);
        const QString target = output + QStringLiteral("/%1-%2.%3").arg(QFileInfo(documentName).suffix()).arg(format)
                                   .arg(format == 9 ? QStringLiteral("mht") : QStringLiteral("htm"));
        convert(document(documentName), target, format);
        if (format == 8)
            checks::verifyWebPage(target, SampleTexts, 1);
        else if (format == 10)
            checks::verifyFilteredPage(target, SampleTexts, 1);
        else
            checks::verifyArchive(target, SampleTexts, 1);
    }

    void handlesAwkwardNames_data()
    {
        QTest::addColumn<QString>("documentName");
        QTest::addColumn<QString>("outputName");
        QTest::addColumn<int>("format");
        const QString awkward = awkwardName();
        QTest::newRow("blanks, #, %, quotes, non-ASCII, web page") << awkward + ".docx" << awkward + ".htm" << 8;
        QTest::newRow("blanks, #, %, quotes, non-ASCII, filtered") << awkward + ".docx" << awkward + ".html" << 10;
        QTest::newRow("blanks, #, %, quotes, non-ASCII, archive") << awkward + ".docx" << awkward + ".mhtml" << 9;
        const QString longName(200, QLatin1Char('L'));
        QTest::newRow("very long name, web page") << longName + ".docx" << longName + ".htm" << 8;
        QTest::newRow("very long name, archive") << longName + ".docx" << longName + ".mht" << 9;
    }

    void handlesAwkwardNames()
    {
        QFETCH(QString, documentName);
        QFETCH(QString, outputName);
        QFETCH(int, format);
        const QString folder = output + QStringLiteral("/out #%'\" \u00E9 %1").arg(format);
        QVERIFY(QDir().mkpath(folder));
        convert(document(documentName), folder + '/' + outputName, format);
        if (format == 8)
            checks::verifyWebPage(folder + '/' + outputName, SampleTexts, 1);
        else if (format == 10)
            checks::verifyFilteredPage(folder + '/' + outputName, SampleTexts, 1);
        else
            checks::verifyArchive(folder + '/' + outputName, SampleTexts, 1);
    }

    void convertsEveryKindWordOpens_data()
    {
        QTest::addColumn<QString>("documentName");
        for (const auto& [name, content] : otherKindsWordOpens())
            QTest::newRow(qPrintable(name)) << name;
    }

    void convertsEveryKindWordOpens()
    {
        QFETCH(QString, documentName);
        const QString target = output + QStringLiteral("/kind %1.htm").arg(documentName);
        convert(document(documentName), target, 10);
        checks::verifyFilteredPage(target, {QStringLiteral("Hello Varnello text")}, 0);
    }

    // Names Linux allows but URLs and UTF-8 text do not carry as they stand.
    void reachesDocumentsByAnyName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("question mark and star") << QByteArray("What? *Really*.docx");
        QTest::newRow("line break and tab") << QByteArray("two\nlines\there.docx");
        QTest::newRow("Latin-1 bytes, not UTF-8") << QByteArray("R\xE9sum\xE9 1.docx");
        QTest::newRow("lone byte and a suffix that is not UTF-8") << QByteArray("x\xFF.d\xF6" "c");
    }

    void reachesDocumentsByAnyName()
    {
        QFETCH(QByteArray, name);
        const QByteArray path = LocalFileName::encode(documents) + "/../" + name;
        const QByteArray docx = checks::readAll(document(QStringLiteral("sample.docx")));
        const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        QVERIFY(descriptor >= 0);
        QCOMPARE(::write(descriptor, docx.constData(), size_t(docx.size())), ssize_t(docx.size()));
        ::close(descriptor);
        const QString target = output + QStringLiteral("/any name %1.htm").arg(QString::fromLatin1(QTest::currentDataTag()));
        convert(LocalFileName::decode(path), target, 10);
        ::unlink(path.constData());
        checks::verifyFilteredPage(target, SampleTexts, 1);
        // The same names, missing, fail with a reason that names them.
        auto application = word->CreateObject();
        try {
            application->DocumentsOpen(LocalFileName::decode(path));
            QFAIL("a missing document opened");
        } catch (const AutomationError& error) {
            QVERIFY2(error.Description().contains(QLatin1String("does not exist")), qPrintable(error.Description()));
        }
    }

    void unwritableProfileFolderFallsBackToATemporaryOne()
    {
        // Below a file, no folder can be made: as in a read-only home, even for root.
        const QString file = work.filePath(QStringLiteral("a file"));
        QVERIFY(writeFile(file, "x"));
        LibreOfficeSettings unwritable = settings();
        unwritable.profileRoot = file + QStringLiteral("/varnello");
        LibreOfficeWordAutomation fallback(unwritable);
        auto application = fallback.CreateObject();
        const QString target = output + QStringLiteral("/temporary profile.htm");
        application->DocumentsOpen(document(QStringLiteral("sample.docx")));
        application->ActiveDocumentSaveAs(target, 10);
        application->Quit();
        checks::verifyFilteredPage(target, SampleTexts, 1);
    }

    void replacesAnExistingOutput()
    {
        const QString target = output + QStringLiteral("/existing.mht");
        QVERIFY(writeFile(target, "an older file"));
        convert(document(QStringLiteral("sample.docx")), target, 9);
        checks::verifyArchive(target, SampleTexts, 1);
    }

    void unreadableDocumentsFailToOpen_data()
    {
        QTest::addColumn<QString>("documentName");
        QTest::addColumn<QString>("reason");
        QTest::newRow("corrupt") << "corrupt.docx" << "damaged";
        QTest::newRow("empty") << "empty.doc" << "empty";
        QTest::newRow("plain text named .doc") << "plain text.doc" << "not a Word document";
        QTest::newRow("web archive named .doc") << "web archive.doc" << "web archive";
        QTest::newRow("password-protected") << "protected.doc" << "password";
        QTest::newRow("password-protected, awkward name") << awkwardName() + ".doc" << "password";
        QTest::newRow("missing") << "no such document.doc" << "does not exist";
    }

    void unreadableDocumentsFailToOpen()
    {
        QFETCH(QString, documentName);
        QFETCH(QString, reason);
        auto application = word->CreateObject();
        try {
            application->DocumentsOpen(document(documentName));
            QFAIL("the document opened");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), LibreOfficeErrors::OpenFailed);
            QVERIFY2(error.Description().contains(document(documentName)), qPrintable(error.Description()));
            QVERIFY2(error.Description().contains(reason), qPrintable(error.Description()));
        }
        application->Quit();
        convertsAfterwards();
    }

    void callsWithoutADocumentFail()
    {
        auto application = word->CreateObject();
        try {
            application->ActiveDocumentSaveAs(output + QStringLiteral("/nothing.htm"), 8);
            QFAIL("saved without a document");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), LibreOfficeErrors::NoDocument);
        }
        application->DocumentsOpen(document(QStringLiteral("sample.docx")));
        try {
            application->ActiveDocumentSaveAs(output + QStringLiteral("/format.htm"), 7);
            QFAIL("saved in an unknown format");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), LibreOfficeErrors::SaveFailed);
        }
        application->Quit();
    }

    void macrosNeverRun()
    {
        const QString page = output + QStringLiteral("/autorun.htm");
        convert(document(QStringLiteral("AutoRun.docm")), page, 8);
        QVERIFY(checks::readAll(page).contains("Macro document text"));
        QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("marker.txt"))));
    }

    void outputFolderThatVanishedOrTurnedReadOnlyFailsTheSave_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("vanished") << false;
        QTest::newRow("read-only") << true;
    }

    void outputFolderThatVanishedOrTurnedReadOnlyFailsTheSave()
    {
        QFETCH(bool, readOnly);
        if (readOnly && geteuid() == 0)
            QSKIP("permissions do not bind root");
        const QString folder = output + (readOnly ? QStringLiteral("/locked") : QStringLiteral("/vanishing"));
        QVERIFY(QDir().mkpath(folder));
        auto application = word->CreateObject();
        application->DocumentsOpen(document(QStringLiteral("sample.docx")));
        if (readOnly)
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        else
            QVERIFY(QDir(folder).removeRecursively());
        const QString target = folder + QStringLiteral("/Report.htm");
        try {
            application->ActiveDocumentSaveAs(target, 8);
            QFAIL("saved into a missing folder");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), LibreOfficeErrors::SaveFailed);
            QVERIFY2(error.Description().contains(target), qPrintable(error.Description()));
        }
        application->Quit();
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
        convertsAfterwards();
    }

    void fullDiskFailsTheSave()
    {
        const QString target = output + QStringLiteral("/full.htm");
        QVERIFY(writeFile(target, "previous page"));
        auto application = word->CreateObject();
        application->DocumentsOpen(document(QStringLiteral("sample.docx")));
        // Writes beyond a file size limit fail as on a full disk.
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = previous;
        tiny.rlim_cur = 100;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        int number = 0;
        try {
            application->ActiveDocumentSaveAs(target, 10);
        } catch (const AutomationError& error) {
            number = error.Number();
        }
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(number, LibreOfficeErrors::SaveFailed);
        QCOMPARE(checks::readAll(target), QByteArray("previous page"));
        application->Quit();
        convertsAfterwards();
    }

};

QTEST_MAIN(TestLibreOfficeAutomation)
#include "tst_LibreOfficeAutomation.moc"
