// varnello-convert over real LibreOffice, without a display: a generated folder
// converted, and runs stopped by signals that leave no partial output, no staged
// file and no helper behind.

#include "support/ChildProcesses.h"
#include "CliTesting.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <csignal>
#include <set>

namespace {

bool processExists(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// varnello-convert started with --json, its staging area in a folder of the test's,
// watched for its helpers while it runs.
struct ConvertProcess {
    QTemporaryDir temporary;
    QProcess process;
    std::set<pid_t> helpers;
    QList<QJsonObject> lines;
    QByteArray pending;

    void start(const QStringList& arguments)
    {
        QProcessEnvironment environment = cli::withoutDisplay();
        environment.insert(QStringLiteral("TMPDIR"), temporary.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VARNELLO_CONVERT), QStringList{QStringLiteral("--json")} + arguments);
        QVERIFY(process.waitForStarted());
    }
    void poll(int milliseconds)
    {
        process.waitForReadyRead(milliseconds);
        for (const pid_t child : childProcesses(pid_t(process.processId())))
            helpers.insert(child);
        pending += process.readAllStandardOutput();
        while (pending.contains('\n')) {
            const qsizetype end = pending.indexOf('\n');
            lines << QJsonDocument::fromJson(pending.left(end)).object();
            pending.remove(0, end + 1);
        }
    }
    bool waitUntil(const std::function<bool()>& condition, int milliseconds = 180000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!condition() && process.state() != QProcess::NotRunning && clock.elapsed() < milliseconds)
            poll(20);
        return condition();
    }
    int finish()
    {
        waitUntil([&] { return process.state() == QProcess::NotRunning; });
        process.waitForFinished(1000);
        poll(0);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    // What the run leaves: no helper process, nothing in the staging area.
    void verifyCleanEnd()
    {
        QVERIFY(!helpers.empty());
        for (const pid_t helper : helpers)
            QVERIFY2(!processExists(helper), "a helper outlived varnello-convert");
        QCOMPARE(cli::treeOf(temporary.path()), QStringList());
    }
};

// The outputs in `folder` are exactly the pages of the converted documents, with
// their picture folders: nothing of a document that did not finish.
void verifyOnlyFinishedOutputs(const QString& folder, const QList<QJsonObject>& lines)
{
    QSet<QString> expected;
    for (const QJsonObject& line : lines) {
        if (line[QStringLiteral("result")].toString() != QStringLiteral("converted"))
            continue;
        const QString page = line[QStringLiteral("output")].toString();
        QVERIFY(page.startsWith(folder + QLatin1Char('/')));
        const QString name = page.mid(folder.size() + 1);
        const QString pictures = name.left(name.lastIndexOf(QLatin1Char('.'))) + QStringLiteral("_files");
        expected << name << pictures << pictures + QStringLiteral("/image001.png");
        for (qsizetype slash = name.indexOf(QLatin1Char('/')); slash > 0; slash = name.indexOf(QLatin1Char('/'), slash + 1))
            expected << name.left(slash);
        QVERIFY(cli::treeOf(folder).contains(name));
        QFile file(page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll().trimmed().toLower().endsWith("</html>"), qPrintable(page));
    }
    QStringList sorted(expected.begin(), expected.end());
    sorted.sort();
    QCOMPARE(cli::treeOf(folder), sorted);
}

} // namespace

class TestConvertWithLibreOffice : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (cli::sampleDocx().isEmpty())
            QFAIL("LibreOffice could not make the sample document");
    }

    void convertsAGeneratedFolder()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in"));
        QVERIFY(cli::placeDocuments(in, {"One.docx", "Two Words.docx", "sub/Three.docx", "sub/.hidden.docx"}));
        cli::touch(in + QStringLiteral("/broken.doc"), QByteArray(4096, '\x7f'));
        const QString out = dir.filePath(QStringLiteral("out"));

        ConvertProcess run;
        run.start({QStringLiteral("-r"), QStringLiteral("-j"), QStringLiteral("2"), in, QStringLiteral("-o"), out});
        QCOMPARE(run.finish(), 1); // the broken document fails, the rest convert
        QCOMPARE(run.lines.size(), 5);
        const QJsonObject summary = run.lines.takeLast();
        QCOMPARE(summary[QStringLiteral("result")].toString(), QStringLiteral("summary"));
        QCOMPARE(summary[QStringLiteral("converted")].toInt(), 3);
        QCOMPARE(summary[QStringLiteral("failed")].toInt(), 1);
        QCOMPARE(summary[QStringLiteral("notConverted")].toInt(), 0);
        QStringList results;
        for (const QJsonObject& line : std::as_const(run.lines))
            results << QFileInfo(line[QStringLiteral("source")].toString()).fileName() + QLatin1Char(' ')
                           + line[QStringLiteral("result")].toString();
        QCOMPARE(results, (QStringList{"broken.doc failed", "One.docx converted", "Two Words.docx converted",
                                       "Three.docx converted"}));
        QVERIFY(run.lines[0][QStringLiteral("output")].isNull());
        QVERIFY(run.lines[0][QStringLiteral("message")].toString().contains(QStringLiteral("broken.doc")));
        const QByteArray errors = run.process.readAllStandardError();
        QVERIFY(errors.contains("broken.doc"));
        QVERIFY(errors.contains("varnello-convert: 3 converted, 1 failed, 0 not converted in "));
        QCOMPARE(run.lines[2][QStringLiteral("output")].toString(), out + QStringLiteral("/TwoWords.htm"));
        QCOMPARE(run.lines[3][QStringLiteral("output")].toString(), out + QStringLiteral("/sub/Three.htm"));
        verifyOnlyFinishedOutputs(out, run.lines);
        run.verifyCleanEnd();

        // Text lines, another format, a file source.
        QProcess text;
        text.setProcessEnvironment(cli::withoutDisplay());
        text.start(QStringLiteral(VARNELLO_CONVERT),
                   {QStringLiteral("--format"), QStringLiteral("archive"), QStringLiteral("--long-extension"),
                    in + QStringLiteral("/One.docx"), QStringLiteral("-o"), out + QStringLiteral("/archives/")});
        QVERIFY(text.waitForFinished(180000));
        QCOMPARE(text.exitCode(), 0);
        QCOMPARE(text.readAllStandardOutput(), "converted " + QFile::encodeName(in) + "/One.docx -> "
                                                   + QFile::encodeName(out) + "/archives/One.mhtml\n");
        // No progress bar when not a terminal: only the summary.
        const QByteArray textErrors = text.readAllStandardError();
        QVERIFY2(textErrors.startsWith("varnello-convert: 1 converted, 0 failed, 0 not converted in ")
                     && textErrors.count('\n') == 1 && !textErrors.contains('\r'),
                 textErrors.constData());
    }

    // A published folder run again: an unchanged folder converts nothing and starts no
    // helper; a removed document's page goes, and the index is clean HTML.
    void updatesAPublishedFolder()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in")), out = dir.filePath(QStringLiteral("out"));
        QVERIFY(cli::placeDocuments(in, {"One.docx", "Two.docx"}));
        const QStringList arguments{"--update", "--delete", "--index", in, "-o", out};
        ConvertProcess first;
        first.start(arguments);
        QCOMPARE(first.finish(), 0);
        QCOMPARE(first.lines.last()[QStringLiteral("converted")].toInt(), 2);

        ConvertProcess unchanged;
        unchanged.start(arguments);
        QCOMPARE(unchanged.finish(), 0);
        QCOMPARE(unchanged.lines.last()[QStringLiteral("skipped")].toInt(), 2);
        QCOMPARE(unchanged.lines.last()[QStringLiteral("converted")].toInt(), 0);
        QVERIFY(unchanged.helpers.empty());

        QVERIFY(QFile::remove(in + QStringLiteral("/Two.docx")));
        ConvertProcess removed;
        removed.start(arguments);
        QCOMPARE(removed.finish(), 0);
        QCOMPARE(removed.lines[1][QStringLiteral("result")].toString(), QStringLiteral("removed"));
        QCOMPARE(cli::treeOf(out).filter(QRegularExpression(QStringLiteral("^[^.]"))),
                 (QStringList{"One.htm", "One_files", "One_files/image001.png", "index.html"}));
        QProcess tidy;
        tidy.start(QStringLiteral("tidy"), {QStringLiteral("-q"), QStringLiteral("-e"), out + QStringLiteral("/index.html")});
        QVERIFY(tidy.waitForFinished(30000));
        QVERIFY2(tidy.exitCode() == 0, tidy.readAllStandardError().constData());
    }

    // As a container's first process (process 1 of its own namespace) it converts as
    // anywhere else: its helpers do not take their parent for gone.
    void convertsAsProcessOne()
    {
        QTemporaryDir dir;
        QVERIFY(cli::placeDocuments(dir.filePath(QStringLiteral("in")), {"One.docx"}));
        QProcess run;
        run.setProcessEnvironment(cli::withoutDisplay());
        QStringList namespaces{QStringLiteral("--pid"), QStringLiteral("--fork")};
        if (getuid() != 0)
            namespaces << QStringLiteral("--map-root-user");
        run.start(QStringLiteral("unshare"), namespaces + QStringList{QStringLiteral(VARNELLO_CONVERT), dir.filePath(QStringLiteral("in")),
                                                                     QStringLiteral("-o"), dir.filePath(QStringLiteral("out"))});
        QVERIFY(run.waitForFinished(180000));
        if (run.exitCode() != 0 && run.readAllStandardError().startsWith("unshare:"))
            QSKIP("no process namespace of its own can be made here");
        QCOMPARE(run.exitCode(), 0);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("out/One.htm"))));
    }

    void stopsOnSignals_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("whileStarting");
        QTest::newRow("Ctrl+C mid-run") << SIGINT << false;
        QTest::newRow("SIGTERM mid-run") << SIGTERM << false;
        QTest::newRow("SIGTERM while LibreOffice starts") << SIGTERM << true;
    }
    void stopsOnSignals()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, whileStarting);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in"));
        QStringList names;
        for (int i = 1; i <= 40; ++i)
            names << QStringLiteral("Document %1.docx").arg(i, 2, 10, QLatin1Char('0'));
        QVERIFY(cli::placeDocuments(in, names));
        const QString out = dir.filePath(QStringLiteral("out"));

        ConvertProcess run;
        run.start({in, QStringLiteral("-o"), out});
        if (whileStarting)
            QVERIFY(run.waitUntil([&] { return !run.helpers.empty(); }));
        else
            QVERIFY(run.waitUntil([&] { return run.lines.size() >= 3; }));
        QElapsedTimer stopping;
        stopping.start();
        ::kill(pid_t(run.process.processId()), signalNumber);
        const int status = run.finish();
        const qint64 took = stopping.elapsed();
        qInfo("stopped %lld ms after the signal, %lld documents converted", took, qlonglong(run.lines.size()));
        QCOMPARE(status, 128 + signalNumber);
        QVERIFY2(took < 1000, qPrintable(QString::number(took)));
        QVERIFY(run.lines.size() < names.size());
        verifyOnlyFinishedOutputs(out, run.lines);
        run.verifyCleanEnd();
        QVERIFY(run.process.readAllStandardError().contains("stopped by a signal"));
    }
};

QTEST_GUILESS_MAIN(TestConvertWithLibreOffice)
#include "tst_ConvertWithLibreOffice.moc"
