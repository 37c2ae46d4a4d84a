// The command line's pieces without LibreOffice: the arguments, the document tree,
// the naming and reporting of a run over the recording word processor, and the
// executable's exit statuses for what is refused before any conversion.

#include "cli/ConvertOptions.h"
#include "cli/DocumentTree.h"
#include "cli/ReportedRun.h"
#include "engine/files/LocalFileName.h"
#include "fakes/RecordingWordAutomation.h"

#include "CliTesting.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using cli::Ran;
using cli::touch;

Ran runConvert(const QStringList& arguments)
{
    return cli::runWithoutDisplay(QStringLiteral(VARNELLO_CONVERT), arguments);
}

// A run over the recording word processor; `failing` documents fail to open.
struct FakeRun {
    RecordingWordAutomation word;
    QByteArray out;
    QByteArray err;
    Reporter reporter{[this](const QByteArray& b) { out += b; }, [this](const QByteArray& b) { err += b; },
                      {.json = true}};
    // Each document as its source and its mirrored sub-folder.
    RunCounts run(const QList<std::pair<QString, QString>>& documents, const QString& outputFolder,
                  int stopAfter = -1, std::function<void()> duringSecondSave = {})
    {
        if (!word.onSaveAs)
            word.onSaveAs = [](const QString& path, int32_t) { touch(path); };
        int started = 0;
        word.fault = [&](const QString& call) -> std::optional<AutomationError> {
            if (call.startsWith(QStringLiteral("Open ")) && call.contains(QStringLiteral("bad")))
                return AutomationError(5101, QStringLiteral("The document could not be opened."));
            if (duringSecondSave && call.startsWith(QStringLiteral("SaveAs ")) && call.contains(QStringLiteral("2.htm"))) {
                duringSecondSave();
                return AutomationError(5102, QStringLiteral("The page could not be written."));
            }
            return std::nullopt;
        };
        ReportedRun observer(reporter, [&] { return stopAfter >= 0 && started++ >= stopAfter; });
        RunPlan plan{{}, outputFolder, WebFormat::WebPage, ExtensionLength::Short};
        for (const auto& [source, subfolder] : documents)
            plan.documents.append({source, source.section('/', -1), subfolder});
        return ConversionRun(word, observer).run(plan);
    }
    QList<QJsonObject> lines() const
    {
        QList<QJsonObject> objects;
        for (const QByteArray& line : out.split('\n'))
            if (!line.isEmpty())
                objects << QJsonDocument::fromJson(line).object();
        return objects;
    }
};

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void refusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("nothing") << QStringList{} << "No source";
        QTest::newRow("no output") << QStringList{"a.doc"} << "-o OUTPUT_FOLDER";
        QTest::newRow("two outputs") << QStringList{"a.doc", "-o", "x", "-o", "y"} << "one output folder";
        QTest::newRow("unknown option") << QStringList{"--colour", "a.doc", "-o", "x"} << "colour";
        QTest::newRow("format") << QStringList{"-f", "pdf", "a.doc", "-o", "x"} << "Unknown format 'pdf'";
        QTest::newRow("jobs zero") << QStringList{"-j", "0", "a.doc", "-o", "x"} << "--jobs";
        QTest::newRow("jobs text") << QStringList{"--jobs=many", "a.doc", "-o", "x"} << "--jobs";
        QTest::newRow("timeout") << QStringList{"--timeout", "-5", "a.doc", "-o", "x"} << "--timeout";
        QTest::newRow("missing value") << QStringList{"a.doc", "-o"} << "Missing value";
        QTest::newRow("empty source") << QStringList{"", "-o", "x"} << "empty source";
    }
    void refusesBadArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        const CommandLine line = parseCommandLine(QStringList{"varnello-convert"} + arguments);
        QCOMPARE(line.action, CommandLine::Action::UsageError);
        QVERIFY2(line.text.contains(complaint), qPrintable(line.text));
    }

    void readsOptions()
    {
        const CommandLine line = parseCommandLine({"varnello-convert", "-rq", "--json", "--format=archive",
                                                   "--long-extension", "-j", "3", "--timeout", "7", "one",
                                                   "-o", "out/", "two"});
        QCOMPARE(line.action, CommandLine::Action::Convert);
        const ConvertOptions& o = line.options;
        QCOMPARE(o.sources, (QStringList{"one", "two"}));
        QCOMPARE(o.outputFolder, QStringLiteral("out/"));
        QCOMPARE(o.format, WebFormat::SingleFileArchive);
        QCOMPARE(o.extension, ExtensionLength::Long);
        QVERIFY(o.recursive && o.quiet && o.json);
        QCOMPARE(o.jobs, 3);
        QCOMPARE(o.timeoutSeconds, 7);
    }

    // Without a display, and with status 2 and nothing made for what is refused early.
    void executableExitStatuses()
    {
        QTemporaryDir dir;
        const Ran help = runConvert({"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains("--jobs") && help.out.contains("Exit status"));
        QVERIFY(help.err.isEmpty());
        const Ran version = runConvert({"--version"});
        QCOMPARE(version.status, 0);
        QVERIFY(version.out.startsWith("varnello-convert "));

        const Ran bad = runConvert({"--bogus"});
        QCOMPARE(bad.status, 2);
        QVERIFY(bad.out.isEmpty());
        QVERIFY(bad.err.startsWith("varnello-convert: "));

        const Ran missing = runConvert({dir.filePath("nothing.doc"), "-o", dir.filePath("out")});
        QCOMPARE(missing.status, 2);
        QVERIFY(missing.err.contains("nothing.doc: no such Word file or folder"));
        QVERIFY(!QFileInfo::exists(dir.filePath("out")));

        touch(dir.filePath("a.doc"));
        const Ran noParent = runConvert({dir.filePath("a.doc"), "-o", dir.filePath("no/such/out")});
        QCOMPARE(noParent.status, 2);
        QVERIFY(noParent.err.contains("parent folder must exist"));
        const Ran intoFile = runConvert({dir.filePath("a.doc"), "-o", dir.filePath("a.doc")});
        QCOMPARE(intoFile.status, 2);
        QVERIFY(intoFile.err.contains("is not a folder"));

        // A folder without Word documents: nothing to do is no failure, and the
        // missing output folder is created all the same.
        QDir().mkpath(dir.filePath("empty"));
        const Ran empty = runConvert({dir.filePath("empty"), "-o", dir.filePath("out")});
        QCOMPARE(empty.status, 0);
        QVERIFY(empty.err.contains("no Word documents found"));
        QVERIFY(QFileInfo(dir.filePath("out")).isDir());
    }

    void findsDocumentsAsTheWindowLists()
    {
        QTemporaryDir dir;
        for (const char* name : {"b.DOC", "A.docx", "c.doc.bak", ".hidden.doc", "notes.txt", "sub/z.docm",
                                 "sub/deeper/y.doc", "Sub2/x.doc", ".hid/w.doc"})
            touch(dir.filePath(QString::fromLatin1(name)));
        // A link to a folder is not walked: it could lead out of the tree or round in a loop.
        QVERIFY(QFile::link(dir.path(), dir.filePath("sub/loop")));
        const QString root = dir.path();

        const DocumentTree flat = findDocuments({root}, false);
        QCOMPARE(flat.documents.size(), 2);
        QCOMPARE(flat.documents[0].source, root + "/A.docx");
        QCOMPARE(flat.documents[1].source, root + "/b.DOC");

        const DocumentTree tree = findDocuments({root, root + "/notes.txt"}, true);
        QStringList found;
        for (const PlannedDocument& d : tree.documents)
            found << d.source.mid(root.size() + 1) + " > " + d.outputSubfolder;
        QCOMPARE(found, (QStringList{"A.docx > ", "b.DOC > ", "sub/z.docm > sub", "sub/deeper/y.doc > sub/deeper",
                                     "Sub2/x.doc > Sub2", "notes.txt > "}));
        QVERIFY(tree.incompleteFolders.isEmpty());
    }

    // Names as the window makes them, mirrored folders, and a second document of the
    // same output name never written over the first.
    void namesAndReportsEveryDocument()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath("out/");
        QDir().mkpath(out + "Report");      // a folder in the way
        touch(out + "Old.htm");             // an earlier run's page is replaced
        FakeRun fake;
        const QList<std::pair<QString, QString>> documents{
            {"/in/My Report 1.2.doc", ""}, {"/in/a b.doc", ""}, {"/in/a.b.docx", ""}, {"/in/bad.doc", ""},
            {"/in/Report.doc", ""},        {"/in/Old.doc", ""}, {"/in/sub/a b.doc", "sub/deep"},
        };
        const RunCounts counts = fake.run(documents, out);
        QCOMPARE(counts.converted, 6);
        QCOMPARE(counts.failed, 1);
        QCOMPARE(counts.end, RunEnd::Finished);

        const QList<QJsonObject> lines = fake.lines();
        QCOMPARE(lines.size(), documents.size());
        QStringList outputs;
        for (const QJsonObject& line : lines)
            outputs << (line["output"].isNull() ? "null" : line["output"].toString().mid(out.size()));
        QCOMPARE(outputs, (QStringList{"MyReport12.htm", "ab.htm", "ab1.htm", "null", "Report1.htm", "Old.htm",
                                       "sub/deep/ab.htm"}));
        const QJsonObject failed = lines[3];
        QCOMPARE(failed["result"].toString(), "failed");
        QCOMPARE(failed["source"].toString(), "/in/bad.doc");
        QCOMPARE(failed["message"].toString(), "The document could not be opened.");
        QCOMPARE(lines[0]["result"].toString(), "converted");
        QVERIFY(lines[0]["milliseconds"].isDouble());
        QVERIFY(fake.err.contains("varnello-convert: /in/bad.doc: The document could not be opened.\n"));
        // The failed document's instance is quit, as the window quits it.
        QVERIFY(fake.word.calls.contains("Open /in/bad.doc !5101"));
        QCOMPARE(fake.word.calls.count("Quit"), 7);
        // The plan is announced up front, in order, and ended after the run.
        QCOMPARE(fake.word.announcements.size(), size_t(2));
        QCOMPARE(fake.word.announcements[0].documentPaths.size(), documents.size());
        QCOMPARE(fake.word.announcements[0].documentPaths.last(), "/in/sub/a b.doc");
        QCOMPARE(fake.word.announcements[0].format, 8);
        QVERIFY(fake.word.announcements[1].documentPaths.isEmpty());
    }

    // A link or a file planted where a mirrored folder goes fails that folder's documents
    // only; a folder swapped for a link during the run does not lead the output away;
    // dead runs' temporaries go from every folder the run uses.
    void mirroredFoldersNeverFollowLinks()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath("out/");
        const QString elsewhere = dir.filePath("elsewhere");
        QDir().mkpath(elsewhere);
        QDir().mkpath(out + "moved");
        QVERIFY(QFile::link(elsewhere, out + "linked"));
        touch(out + "file");
        touch(out + ".varnello-dead");
        touch(out + "moved/.varnello-dead");
        FakeRun fake;
        fake.word.onSaveAs = [&](const QString& path, int32_t) {
            if (path.endsWith("m.htm")) { // the folder is swapped for a link before the write
                QVERIFY(QDir().rename(out + "moved", dir.filePath("away")));
                QVERIFY(QFile::link(elsewhere, out + "moved"));
            }
            touch(path);
        };
        const RunCounts counts = fake.run({{"/in/a.doc", ""}, {"/in/linked/b.doc", "linked"},
                                           {"/in/linked/deep/c.doc", "linked/deep"}, {"/in/file/d.doc", "file"},
                                           {"/in/moved/m.doc", "moved"}},
                                          out);
        QCOMPARE(counts.converted, 2);
        QCOMPARE(counts.failed, 3);
        QCOMPARE(cli::treeOf(elsewhere), QStringList());
        QCOMPARE(cli::treeOf(dir.filePath("away")), QStringList{"m.htm"});
        const QList<QJsonObject> lines = fake.lines();
        QCOMPARE(lines[4]["output"].toString(), out + "moved/m.htm");
        for (const int failed : {1, 2})
            QCOMPARE(lines[failed]["message"].toString(),
                     out + "linked is a symbolic link or a file, not a folder; nothing is written through it.");
        QVERIFY(lines[3]["message"].toString().startsWith(out + "file is a symbolic link or a file"));
        QVERIFY(!QFileInfo::exists(out + ".varnello-dead"));
    }

    void outputFolderGoneStopsTheRun()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath("out/");
        QDir().mkpath(out);
        FakeRun fake;
        const RunCounts counts = fake.run({{"/in/1.doc", ""}, {"/in/2.doc", ""}, {"/in/3.doc", ""}}, out, -1, [&] {
            QDir(out).removeRecursively(); // while the second is saved
        });
        QCOMPARE(counts.end, RunEnd::OutputFolderLost);
        QCOMPARE(counts.converted, 1);
        QCOMPARE(counts.failed, 0);
        QCOMPARE(counts.notConverted, 2);
        QCOMPARE(fake.lines().size(), 1);
        QCOMPARE(fake.word.calls.count("CreateObject"), 2);
    }

    void stopsBetweenDocuments()
    {
        QTemporaryDir dir;
        FakeRun fake;
        const RunCounts counts =
            fake.run({{"/in/1.doc", ""}, {"/in/2.doc", ""}, {"/in/3.doc", ""}}, dir.path() + "/", 2);
        QCOMPARE(counts.end, RunEnd::StopRequested);
        QCOMPARE(counts.converted, 2);
        QCOMPARE(fake.lines().size(), 2);
        QCOMPARE(fake.word.createdObjects, 2);
    }

    // Every byte of a name survives, and quotes, backslashes and line ends cannot break a line.
    void jsonLinesAreValidAndLossless()
    {
        const QString source = LocalFileName::decode("/in/caf\xE9 \"q\" back\\slash\nline.doc");
        const QByteArray line =
            Reporter::jsonLine({source, QStringLiteral("/out/\u00E9\U0001F600.htm"), true, 42, QStringLiteral("")});
        QVERIFY(!line.contains('\n'));
        QVERIFY(line.contains("caf\\udce9"));
        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(LocalFileName::encode(object["source"].toString()), LocalFileName::encode(source));
        QCOMPARE(object["output"].toString(), QStringLiteral("/out/\u00E9\U0001F600.htm"));
        QCOMPARE(object["milliseconds"].toInt(), 42);
        QCOMPARE(object.keys(), (QStringList{"message", "milliseconds", "output", "result", "source"}));
    }

    void textLinesAndProgress()
    {
        QByteArray out, err;
        Reporter reporter([&](const QByteArray& b) { out += b; }, [&](const QByteArray& b) { err += b; },
                          {.progressBar = true});
        reporter.begin(3);
        reporter.document({"/in/a.doc", "/out/a.htm", true, 5, {}});
        reporter.document({"/in/b.doc", {}, false, 5, "No.\nReally."});
        // A name cannot forge a line of its own, nor steer the terminal.
        const QString forger = LocalFileName::decode("/in/x\nconverted /in/\xE9\\\t\x1B\x7F.doc");
        reporter.document({forger, "/out/x.htm", true, 5, {}});
        reporter.end();
        QCOMPARE(out, QByteArray("converted /in/a.doc -> /out/a.htm\nfailed /in/b.doc\n"
                                 "converted /in/x\\nconverted /in/\xE9\\\\\\t\\x1b\\x7f.doc -> /out/x.htm\n"));
        QVERIFY(err.contains("1/3 [##########....................] 33%"));
        QVERIFY(err.contains("varnello-convert: /in/b.doc: No.\\nReally.\n"));
        QVERIFY(err.endsWith("\r\033[K")); // the bar is gone at the end

        QByteArray quietOut, quietErr;
        Reporter quiet([&](const QByteArray& b) { quietOut += b; }, [&](const QByteArray& b) { quietErr += b; },
                       {.quiet = true, .progressBar = true});
        quiet.begin(1);
        quiet.document({"/in/a.doc", "/out/a.htm", true, 5, {}});
        quiet.end();
        QVERIFY(quietOut.isEmpty() && quietErr.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
