// A helper that dies, hangs or wears out under a document costs that document nothing,
// and work done ahead writes what one-at-a-time calls write.

#include "engine/AutomationFixture.h"

class TestHelperRecovery : public QObject, protected AutomationFixture {
    Q_OBJECT

private slots:
    void initTestCase() { setUpFixture(); }
    void cleanupTestCase() { verifyDocumentsUntouched(); }

    // A helper killed under a document (say by the kernel's out-of-memory killer) costs
    // that document nothing: it is converted again on a fresh helper.
    void helperKilledDuringACall()
    {
        word->CreateObject()->Quit(); // a helper is running
        const qint64 pid = word->helperProcessId();
        QVERIFY(pid > 0);
        const int startsBefore = word->helperStarts();
        // Stopped first, so the call is surely under way when the kill arrives.
        QCOMPARE(::kill(pid_t(pid), SIGSTOP), 0);
        std::thread killer([pid] {
            std::this_thread::sleep_for(300ms);
            ::kill(pid_t(pid), SIGKILL);
        });
        const QString page = output + QStringLiteral("/killed.htm");
        try {
            convert(document(QStringLiteral("sample.docx")), page, 10);
        } catch (const AutomationError& error) {
            killer.join();
            QFAIL(qPrintable(error.Description()));
        }
        killer.join();
        checks::verifyFilteredPage(page, SampleTexts, 1);
        QVERIFY(word->helperStarts() > startsBefore);
        QVERIFY(word->helperProcessId() != pid);
    }

    // Work done ahead by two helpers writes, byte for byte, what one-at-a-time calls
    // write, with every failure at its own document.
    void lookAheadWritesWhatDirectCallsWrite()
    {
        const QStringList names{QStringLiteral("sample.docx"), QStringLiteral("corrupt.docx"),
                                QStringLiteral("sample.doc"), QStringLiteral("protected.doc"),
                                QStringLiteral("sample.docm"), awkwardName() + QStringLiteral(".docx")};
        QStringList paths;
        for (const QString& name : names)
            paths << document(name);
        const auto runInto = [&](WordAutomation& automation, const QString& folder, int32_t format) {
            QStringList outcomes;
            QDir().mkpath(folder);
            for (int i = 0; i < paths.size(); ++i) {
                auto application = automation.CreateObject();
                try {
                    application->DocumentsOpen(paths[i]);
                    application->ActiveDocumentSaveAs(folder + QStringLiteral("/page%1.htm").arg(i), format);
                    application->ActiveDocumentClose();
                    outcomes << QStringLiteral("ok");
                } catch (const AutomationError& error) {
                    outcomes << error.Description();
                }
            }
            return outcomes;
        };
        for (const int32_t format : {8, 10}) {
            const QString direct = output + QStringLiteral("/direct%1").arg(format);
            const QStringList directOutcomes = runInto(*word, direct, format);
            LibreOfficeSettings pooled = settings();
            pooled.helpers = 2;
            LibreOfficeWordAutomation ahead(pooled);
            ahead.Announce(paths, format);
            const QString planned = output + QStringLiteral("/ahead%1").arg(format);
            const QStringList aheadOutcomes = runInto(ahead, planned, format);
            QCOMPARE(aheadOutcomes, directOutcomes);
            QCOMPARE(QDir(planned).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QDir(direct).entryList(QDir::AllEntries | QDir::NoDotAndDotDot));
            for (int i = 0; i < paths.size(); ++i) {
                const QString page = QStringLiteral("/page%1.htm").arg(i);
                QCOMPARE(checks::readAll(planned + page), checks::readAll(direct + page));
            }
            QCOMPARE(ahead.helperStarts(), 2);
        }
    }

    void helperThatDiedBetweenDocumentsIsReplaced()
    {
        word->CreateObject()->Quit();
        const qint64 pid = word->helperProcessId();
        QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
        QTest::qWait(100);
        convertsAfterwards();
    }

    void callThatHangsTimesOut()
    {
        word->CreateObject()->Quit();
        const qint64 pid = word->helperProcessId();
        word->setCallTimeout(1500ms);
        QCOMPARE(::kill(pid_t(pid), SIGSTOP), 0);
        auto application = word->CreateObject();
        QElapsedTimer timer;
        timer.start();
        int number = 0;
        QString description;
        try {
            application->DocumentsOpen(document(QStringLiteral("sample.docx")));
        } catch (const AutomationError& error) {
            number = error.Number();
            description = error.Description();
        }
        word->setCallTimeout(60s);
        QCOMPARE(number, LibreOfficeErrors::TimedOut);
        // A stopped helper does no work: it is not the document's size that held it up.
        QVERIFY2(description.contains(QLatin1String("stopped answering")), qPrintable(description));
        QVERIFY2(description.contains(document(QStringLiteral("sample.docx"))), qPrintable(description));
        QVERIFY(timer.elapsed() < 10000);
        // The hung helper is gone, not left behind.
        QTRY_VERIFY(::kill(pid_t(pid), 0) != 0);
        application.reset();
        convertsAfterwards();
    }

    void helperIsReplacedAfterItsDocumentQuota()
    {
        LibreOfficeSettings quota = settings();
        quota.documentsPerHelper = 3;
        LibreOfficeWordAutomation limited(quota);
        QSet<qint64> helpers;
        for (int i = 0; i < 7; ++i) {
            auto application = limited.CreateObject();
            helpers.insert(limited.helperProcessId());
            application->DocumentsOpen(document(QStringLiteral("sample.docx")));
            application->ActiveDocumentSaveAs(output + QStringLiteral("/quota.htm"), 10);
            application->ActiveDocumentClose();
            application->Quit();
        }
        QCOMPARE(limited.helperStarts(), 3);
        QCOMPARE(helpers.size(), 3);
    }

    void missingLibreOfficeCannotCreate()
    {
        LibreOfficeSettings broken = settings();
        broken.libreOfficeProgramFolder = work.filePath(QStringLiteral("no-libreoffice/program"));
        LibreOfficeWordAutomation missing(broken);
        try {
            missing.CreateObject();
            QFAIL("created an application without LibreOffice");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), WordErrors::CannotCreate);
            QVERIFY2(error.Description().contains(QLatin1String("apt-get install libreoffice-writer")),
                     qPrintable(error.Description()));
        }
    }
};

QTEST_MAIN(TestHelperRecovery)
#include "tst_HelperRecovery.moc"
