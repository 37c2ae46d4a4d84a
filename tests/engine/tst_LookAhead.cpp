// The pool of helpers and its work ahead of the run, against a scripted helper that
// speaks the protocol without LibreOffice and crashes or hangs on request.

#include "engine/client/LibreOfficeWordAutomation.h"
#include "engine/client/ScratchFolder.h"
#include "engine/word/ErrorNumbers.h"

#include <QDir>
#include <QScopeGuard>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;

namespace {

// What one document's Open, SaveAs, Close gave: "ok", or the error number.
QString convert(WordAutomation& word, const QString& document, const QString& output, int32_t format = 10)
{
    auto application = word.CreateObject();
    try {
        application->DocumentsOpen(document);
        application->ActiveDocumentSaveAs(output, format);
        application->ActiveDocumentClose();
        application->Quit();
        return QStringLiteral("ok");
    } catch (const AutomationError& error) {
        application->Quit();
        return QString::number(error.Number());
    }
}

} // namespace

class TestLookAhead : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    QString temporary; // the pool's staging goes here

    QString document(const QString& name, const QByteArray& script)
    {
        const QString path = work.filePath(QStringLiteral("documents/") + name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(script);
        return path;
    }
    QString output(const QString& name) const { return work.filePath(QStringLiteral("output/") + name); }
    QByteArray page(const QString& name) const
    {
        QFile file(output(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    LibreOfficeSettings settings(int helpers) const
    {
        LibreOfficeSettings settings = LibreOfficeSettings::forProgramFolder(QString());
        settings.helperPath = QStringLiteral(SCRIPTED_HELPER);
        settings.profileRoot = work.filePath(QStringLiteral("profiles"));
        settings.helpers = helpers;
        settings.callTimeout = 20s;
        return settings;
    }

    // The staging folders that are not empty.
    QStringList stagedLeftovers() const
    {
        QStringList left;
        for (const QString& root : QDir(temporary).entryList({QStringLiteral("varnello-*")}, QDir::Dirs))
            for (const QString& staged : QDir(temporary + '/' + root).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                if (!staged.startsWith(QLatin1String("helper-"))) // a helper's work folder, empty between documents
                    left << root + '/' + staged;
        return left;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        QVERIFY(QDir().mkpath(output(QString())));
        temporary = work.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(temporary));
        qputenv("TMPDIR", QFile::encodeName(temporary));
    }

    // Outcomes come in the run's order, each document's failure at its own turn,
    // whichever helper converted it and whenever it finished.
    void resultsInTheRunsOrder()
    {
        QStringList documents;
        documents << document(QStringLiteral("1 slow.doc"), "sleep 400\nfirst")
                  << document(QStringLiteral("2.doc"), "second")
                  << document(QStringLiteral("3 damaged.doc"), "damaged")
                  << document(QStringLiteral("4.docx"), "fourth")
                  << document(QStringLiteral("5 crash.doc"), "crash")
                  << document(QStringLiteral("6.docm"), "sixth");
        LibreOfficeWordAutomation word(settings(2));
        word.Announce(documents, 10);
        QStringList results;
        for (int i = 0; i < documents.size(); ++i)
            results << convert(word, documents[i], output(QStringLiteral("order%1.htm").arg(i + 1)));
        word.Announce({}, 10);
        const QStringList expected{QStringLiteral("ok"), QStringLiteral("ok"),
                                   QString::number(LibreOfficeErrors::OpenFailed), QStringLiteral("ok"),
                                   QString::number(WordErrors::RemoteCallFailed), QStringLiteral("ok")};
        QCOMPARE(results, expected);
        QVERIFY(page(QStringLiteral("order1.htm")).contains("first"));
        QVERIFY(page(QStringLiteral("order2.htm")).contains("second"));
        QVERIFY(page(QStringLiteral("order6.htm")).contains("sixth"));
        QVERIFY(!QFile::exists(output(QStringLiteral("order3.htm"))));
        // Two helpers worked; the crash document brought down two of them, and no third.
        QVERIFY2(word.helperStarts() >= 4 && word.helperStarts() <= 5, qPrintable(QString::number(word.helperStarts())));
        QTRY_COMPARE(stagedLeftovers(), QStringList()); // removed away from the caller's thread
    }

    // Documents and their pages are staged in memory when there is a folder in memory to
    // use, except large ones; and nothing stays behind in either place.
    void largeDocumentsAreStagedOnDisk()
    {
        qunsetenv("TMPDIR");
        const auto restore = qScopeGuard([this] { qputenv("TMPDIR", QFile::encodeName(temporary)); });
        const QString memory = scratchFolder();
        if (memory == QDir::tempPath())
            QSKIP("no folder in memory to stage in here");
        const QString small = document(QStringLiteral("small.doc"), "where\n");
        const QString large = document(QStringLiteral("large.doc"), "where\n");
        QVERIFY(QFile::resize(large, largestDocumentInMemory + 1));
        const auto stagingFolders = [] {
            QStringList folders;
            const QString mine = QStringLiteral("varnello-staging-%1-*").arg(QCoreApplication::applicationPid());
            for (const QString& base : {scratchFolder(), QDir::tempPath()})
                for (const QString& name : QDir(base).entryList({mine}, QDir::Dirs))
                    folders << base + '/' + name;
            return folders;
        };
        {
            LibreOfficeWordAutomation word(settings(1));
            QCOMPARE(convert(word, small, output(QStringLiteral("small.htm"))), QStringLiteral("ok"));
            QCOMPARE(convert(word, large, output(QStringLiteral("large.htm"))), QStringLiteral("ok"));
            QVERIFY2(page(QStringLiteral("small.htm")).contains(QFile::encodeName(memory + "/varnello-staging-")),
                     page(QStringLiteral("small.htm")).constData());
            QVERIFY2(page(QStringLiteral("large.htm")).contains(QFile::encodeName(QDir::tempPath() + "/varnello-staging-")),
                     page(QStringLiteral("large.htm")).constData());
        }
        QCOMPARE(stagingFolders(), QStringList());
    }

    // A helper killed from outside while it works ahead costs no healthy document.
    void helperLostUnderADocumentIsRetriedOnce()
    {
        const QString marker = work.filePath(QStringLiteral("crashed-once"));
        QStringList documents;
        documents << document(QStringLiteral("a.doc"), "alpha")
                  << document(QStringLiteral("b.doc"), "crash-once " + QFile::encodeName(marker) + "\nbeta")
                  << document(QStringLiteral("c.doc"), "gamma");
        LibreOfficeWordAutomation word(settings(2));
        word.Announce(documents, 8);
        QStringList results;
        for (int i = 0; i < documents.size(); ++i)
            results << convert(word, documents[i], output(QStringLiteral("retry%1.htm").arg(i)));
        QCOMPARE(results, QStringList(3, QStringLiteral("ok")));
        QVERIFY(QFile::exists(marker));
        QVERIFY(page(QStringLiteral("retry1.htm")).contains("beta"));
    }

    // A helper that answers for one document and dies on the next, both before the
    // run looks: the answers that came first stand, so only the crashing document is
    // charged with the crash (twice, on two helpers) and the one before it converts.
    void answersBeforeACrashStand()
    {
        QStringList documents;
        documents << document(QStringLiteral("before.doc"), "before") << document(QStringLiteral("dies.doc"), "crash")
                  << document(QStringLiteral("after.doc"), "after");
        LibreOfficeWordAutomation word(settings(1));
        word.Announce(documents, 8);
        auto application = word.CreateObject();
        QThread::msleep(500); // the helper answers and dies meanwhile, unseen
        application->DocumentsOpen(documents[0]);
        application->ActiveDocumentSaveAs(output(QStringLiteral("before.htm")), 8);
        application->ActiveDocumentClose();
        application->Quit();
        QCOMPARE(convert(word, documents[1], output(QStringLiteral("dies.htm"))),
                 QString::number(WordErrors::RemoteCallFailed));
        QCOMPARE(convert(word, documents[2], output(QStringLiteral("after.htm"))), QStringLiteral("ok"));
        QVERIFY(page(QStringLiteral("before.htm")).contains("before"));
        // The first helper, the one the crash document brought down again, one for the rest.
        QCOMPARE(word.helperStarts(), 3);
    }

    // A hung document times out alone; the documents around it convert.
    void hungDocumentTimesOutAlone()
    {
        QStringList documents;
        documents << document(QStringLiteral("h1.doc"), "one") << document(QStringLiteral("h2.doc"), "hang")
                  << document(QStringLiteral("h3.doc"), "three");
        LibreOfficeWordAutomation word(settings(2));
        word.setCallTimeout(1500ms);
        word.Announce(documents, 10);
        QStringList results;
        for (int i = 0; i < documents.size(); ++i)
            results << convert(word, documents[i], output(QStringLiteral("hang%1.htm").arg(i)));
        QCOMPARE(results, (QStringList{QStringLiteral("ok"), QString::number(LibreOfficeErrors::TimedOut),
                                       QStringLiteral("ok")}));
    }

    // A stop from another thread ends a wait for a hung helper at once, and every call
    // after it fails the same way; no helper is left running.
    void stopEndsTheRunAtOnce()
    {
        const QStringList documents{document(QStringLiteral("s1.doc"), "hang"), document(QStringLiteral("s2.doc"), "two")};
        LibreOfficeWordAutomation word(settings(2));
        word.Announce(documents, 10);
        std::thread stopper([&word] {
            std::this_thread::sleep_for(300ms);
            word.stop();
        });
        QElapsedTimer clock;
        clock.start();
        const QString first = convert(word, documents[0], output(QStringLiteral("s1.htm")));
        stopper.join();
        QCOMPARE(first, QString::number(LibreOfficeErrors::Stopped));
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        try {
            convert(word, documents[1], output(QStringLiteral("s2.htm")));
            QFAIL("a call after the stop went through");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), LibreOfficeErrors::Stopped);
        }
        QCOMPARE(word.helperProcessId(), 0);
    }

    // Calls that leave the plan are served directly; the format may change at any
    // document, since every format is written from the same staged page.
    void callsOutsideThePlanAndChangedFormats()
    {
        QStringList documents;
        for (const char* name : {"p1.doc", "p2.doc", "p3.doc", "p4.doc"})
            documents << document(QLatin1String(name), QByteArray("text of ") + name);
        const QString unplanned = document(QStringLiteral("unplanned.doc"), "not announced");
        LibreOfficeWordAutomation word(settings(2));
        word.Announce(documents, 8);
        QCOMPARE(convert(word, documents[0], output(QStringLiteral("p1.htm")), 8), QStringLiteral("ok"));
        QCOMPARE(convert(word, unplanned, output(QStringLiteral("unplanned.htm")), 8), QStringLiteral("ok"));
        QCOMPARE(convert(word, documents[2], output(QStringLiteral("p3.mht")), 9), QStringLiteral("ok"));
        QCOMPARE(convert(word, documents[1], output(QStringLiteral("p2.htm")), 10), QStringLiteral("ok"));
        QCOMPARE(convert(word, documents[3], output(QStringLiteral("p4.htm")), 10), QStringLiteral("ok"));
        QVERIFY(page(QStringLiteral("p1.htm")).contains("text of p1.doc"));
        QVERIFY(page(QStringLiteral("unplanned.htm")).contains("not announced"));
        QVERIFY(page(QStringLiteral("p3.mht")).startsWith("MIME-Version") || page(QStringLiteral("p3.mht")).contains("multipart/related"));
        QVERIFY(page(QStringLiteral("p2.htm")).contains("text of p2.doc"));
        QVERIFY(page(QStringLiteral("p4.htm")).contains("text of p4.doc"));
        word.Announce({}, 10);
        QTRY_COMPARE(stagedLeftovers(), QStringList()); // removed away from the caller's thread
    }

    // A helper lost while saving a document was lost while saving, not while opening.
    void lossIsToldAtItsStep()
    {
        LibreOfficeWordAutomation word(settings(1));
        const auto failure = [&](const QString& path) {
            auto application = word.CreateObject();
            try {
                application->DocumentsOpen(path);
                application->ActiveDocumentSaveAs(output(QStringLiteral("lost.htm")), 10);
            } catch (const AutomationError& error) {
                application->Quit();
                return error.Description();
            }
            return QString();
        };
        const QString opening = failure(document(QStringLiteral("dies opening.doc"), "crash"));
        QVERIFY2(opening.contains(QLatin1String("stopped unexpectedly while opening")), qPrintable(opening));
        const QString saving = failure(document(QStringLiteral("dies saving.doc"), "crash-saving"));
        QVERIFY2(saving.contains(QLatin1String("stopped unexpectedly while saving")), qPrintable(saving));
    }

    // A run announced again, or stopped, while its documents are still being estimated
    // converts what it was last given; and the engine goes cleanly while they are.
    void announcedAgainOrStoppedWhileEstimating()
    {
        QStringList many;
        for (int i = 0; i < 400; ++i)
            many << document(QStringLiteral("many/%1.doc").arg(i), "many");
        const QStringList few{document(QStringLiteral("few1.doc"), "one"), document(QStringLiteral("few2.doc"), "two")};
        {
            LibreOfficeWordAutomation word(settings(2));
            word.Announce(many, 10);
            word.Announce(few, 10);
            QCOMPARE(convert(word, few[0], output(QStringLiteral("few1.htm"))), QStringLiteral("ok"));
            QCOMPARE(convert(word, few[1], output(QStringLiteral("few2.htm"))), QStringLiteral("ok"));
            QVERIFY(page(QStringLiteral("few2.htm")).contains("two"));
            word.Announce(many, 10);
            word.stop();
            word.Announce(many, 10);
        }
        QCOMPARE(QDir(temporary).entryList({QStringLiteral("varnello-*")}, QDir::Dirs), QStringList());
    }

    // A run of one or two documents starts no second helper.
    void shortRunsStartOneHelper()
    {
        const QStringList documents{document(QStringLiteral("s1.doc"), "one"), document(QStringLiteral("s2.doc"), "two")};
        LibreOfficeWordAutomation word(settings(0));
        word.Announce(documents, 10);
        for (const QString& path : documents)
            QCOMPARE(convert(word, path, output(QStringLiteral("short.htm"))), QStringLiteral("ok"));
        QCOMPARE(word.helperStarts(), 1);
    }

    // Staged pages go with the run and with the program, whatever was left unread.
    void nothingStaysStaged()
    {
        QStringList documents;
        for (int i = 0; i < 6; ++i)
            documents << document(QStringLiteral("left%1.doc").arg(i), "sleep 100\nleft");
        {
            LibreOfficeWordAutomation word(settings(2));
            word.Announce(documents, 10);
            QCOMPARE(convert(word, documents[0], output(QStringLiteral("left.htm"))), QStringLiteral("ok"));
            // The run stops early: the work done ahead is thrown away.
        }
        QCOMPARE(QDir(temporary).entryList({QStringLiteral("varnello-*")}, QDir::Dirs), QStringList());
    }

    void helperThatCannotStartCannotCreate()
    {
        LibreOfficeSettings broken = settings(2);
        broken.profileRoot = work.filePath(QStringLiteral("fail-to-start"));
        LibreOfficeWordAutomation word(broken);
        try {
            word.CreateObject();
            QFAIL("created an application without a helper");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), WordErrors::CannotCreate);
            QVERIFY2(error.Description().contains(QLatin1String("LibreOffice is broken here")),
                     qPrintable(error.Description()));
        }
    }
};

QTEST_GUILESS_MAIN(TestLookAhead)
#include "tst_LookAhead.moc"
