// Runs into an output folder that keeps a manifest, over the recording word processor:
// what a re-run converts, skips and removes, which names documents keep, the index,
// and manifests that are damaged or try to lead the run out of the folder.

#include "cli/DocumentTree.h"
#include "cli/KeptRun.h"
#include "cli/ReportedRun.h"
#include "engine/files/LocalFileName.h"
#include "fakes/RecordingWordAutomation.h"
#include "run/ManifestFile.h"
#include "run/PublishedFolder.h"

#include "CliTesting.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

using cli::touch;

// By bytes: a name need not be UTF-8.
void writeFile(const QByteArray& path, const QByteArray& content)
{
    const PlainDescriptor file(::open(path.constData(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644));
    QVERIFY(file.isValid() && writeEvery(file.get(), content));
}

// One run of varnello-convert's folder logic, with LibreOffice replaced by the
// recording word processor, which writes a titled page and a picture folder.
struct UpdateRun {
    RecordingWordAutomation word;
    QByteArray out;
    QByteArray err;
    RunCounts counts;
    bool troubled = false;

    UpdateRun(const QString& in, const QString& outputFolder, ConvertOptions options)
    {
        word.onSaveAs = [](const QString& path, int32_t) {
            const QByteArray page = LocalFileName::encode(path);
            const QByteArray pictures = page.left(page.lastIndexOf('.')) + "_files";
            writeFile(page, "<html><head><title>Title &amp; of " + page.mid(page.lastIndexOf('/') + 1)
                                + "</title></head></html>");
            QVERIFY(::mkdir(pictures.constData(), 0777) == 0 || errno == EEXIST);
            writeFile(pictures + "/image001.png", "png");
        };
        word.fault = [](const QString& call) -> std::optional<AutomationError> {
            if (call.startsWith("Open ") && call.contains("bad"))
                return AutomationError(5101, QStringLiteral("The document could not be <opened>."));
            return std::nullopt;
        };
        Reporter reporter([this](const QByteArray& b) { out += b; }, [this](const QByteArray& b) { err += b; },
                          {.json = true});
        ReportedRun observer(reporter, [] { return false; });
        StopSignals stop;
        options.recursive = true;
        QDir().mkpath(outputFolder);
        const DocumentTree tree = findDocuments({in}, true);
        reporter.begin(tree.documents.size());
        const PlanConversion convert = [this](const RunPlan& plan, RunObserver& runObserver) {
            return ConversionRun(word, runObserver).run(plan);
        };
        counts = runKept(options, {tree.documents, outputFolder, options.format, options.extension}, reporter,
                         observer, stop, convert, troubled);
        reporter.summary(counts);
    }
    // "name result" of each document line, and "output removed" of each removal.
    QStringList results(const QString& outputFolder) const
    {
        QStringList lines;
        for (const QByteArray& line : out.split('\n')) {
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            const QString result = object["result"].toString();
            if (!line.isEmpty() && result != "summary")
                lines << object["source"].toString().section('/', -1) + " " + result + " "
                             + object["output"].toString().mid(outputFolder.size());
        }
        lines.sort();
        return lines;
    }
};

ConvertOptions options(bool update, bool removeGone, bool index)
{
    ConvertOptions chosen;
    chosen.update = update;
    chosen.removeGone = removeGone;
    chosen.index = index;
    return chosen;
}

void setModified(const QString& path, qint64 secondsAgo)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime));
}

QStringList setAside(const QString& outputFolder)
{
    return QDir(outputFolder).entryList({".varnello.manifest.damaged-*"}, QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

class TestUpdatedFolder : public QObject {
    Q_OBJECT

private slots:
    // Touched, changed, renamed, added, removed and same-named documents between runs.
    void reRunsConvertWhatChangedAndNamesStay()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath("in"), out = dir.filePath("out/");
        for (const char* name : {"Report.doc", "Notes.doc", "Old.doc", "sub/Deep.doc"})
            touch(in + "/" + name, name);
        QVERIFY(QDir().mkpath(out));
        touch(out + "keep.txt");

        const UpdateRun first(in, out, options(true, false, false));
        QCOMPARE(first.counts.converted, 4);
        QCOMPARE(first.err.count("4 converted, 0 failed, 0 not converted in "), 1); // no "skipped" when none were

        setModified(in + "/Notes.doc", 100); // touched: same content
        setModified(in + "/sub/Deep.doc", 0);
        touch(in + "/Report.doc", "Rep0rt.doc"); // same size, other content
        QVERIFY(QFile::rename(in + "/Old.doc", in + "/Older.doc"));
        touch(in + "/No tes.doc", "new"); // named like Notes.doc, and listed before it
        const UpdateRun second(in, out, options(true, true, false));
        QCOMPARE(second.results(out), (QStringList{"Deep.doc skipped sub/Deep.htm", "No tes.doc converted Notes1.htm",
                                                    "Notes.doc skipped Notes.htm", "Old.doc removed Old.htm",
                                                    "Older.doc converted Older.htm", "Report.doc converted Report.htm"}));
        QCOMPARE(second.counts.skipped, 2);
        QVERIFY(second.err.contains("3 converted, 0 failed, 0 not converted, 2 skipped in "));
        QVERIFY(second.out.contains("\"skipped\":2,"));
        QVERIFY(!QFileInfo::exists(out + "Old_files"));

        QVERIFY(QFile::remove(in + "/Notes.doc"));
        const UpdateRun third(in, out, options(true, true, false));
        QCOMPARE(third.word.createdObjects, 0);
        QCOMPARE(third.word.announcements.size(), size_t(0)); // no run announced: no helper starts
        QCOMPARE(third.results(out), (QStringList{"Deep.doc skipped sub/Deep.htm", "No tes.doc skipped Notes1.htm",
                                                   "Notes.doc removed Notes.htm", "Older.doc skipped Older.htm",
                                                   "Report.doc skipped Report.htm"}));
        QCOMPARE(cli::treeOf(out).filter(QRegularExpression("^[^.].*htm$")),
                 (QStringList{"Notes1.htm", "Older.htm", "Report.htm", "sub/Deep.htm"}));
        QVERIFY(QFileInfo::exists(out + "keep.txt"));

        // Without --update everything converts again, under the names it has.
        const UpdateRun fourth(in, out, options(false, false, false));
        QCOMPARE(fourth.counts.converted, 4);
        QVERIFY(fourth.results(out).contains("No tes.doc converted Notes1.htm"));
    }

    void indexLinksPagesAndFailures()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath("in"), out = dir.filePath("out/");
        const QByteArray odd = LocalFileName::encode(in) + "/a<b&\"c' \xff.doc";
        QVERIFY(QDir().mkpath(in) && QDir().mkpath(out));
        writeFile(odd, "odd");
        touch(in + "/bad.doc");
        touch(in + "/sub/deeper/Deep.doc");
        const UpdateRun run(in, out, options(false, false, true));
        QCOMPARE(run.counts.failed, 1);

        QFile file(out + "index.html");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray html = file.readAll();
        // A title that is not UTF-8 gives way to the page's name.
        QVERIFY(html.contains("<li><a href=\"a%3Cb%26%22c%27%FF.htm\">a&lt;b&amp;&quot;c&#39;\xef\xbf\xbd.htm</a> (from "
                              "a&lt;b&amp;&quot;c&#39; \xef\xbf\xbd.doc)</li>"));
        QFile deeper(out + "sub/deeper/index.html");
        QVERIFY(deeper.open(QIODevice::ReadOnly));
        QVERIFY(deeper.readAll().contains("<a href=\"Deep.htm\">Title &amp; of Deep.htm</a> (from Deep.doc)"));
        QVERIFY(html.contains("bad.doc: The document could not be &lt;opened&gt;."));
        QVERIFY(html.contains("<a href=\"sub/index.html\">sub</a>"));
        QVERIFY(QFileInfo::exists(out + "sub/deeper/index.html"));
        for (const QString& page : {out + "index.html", out + "sub/index.html", out + "sub/deeper/index.html"}) {
            QProcess tidy;
            tidy.start("tidy", {"-q", "-e", page});
            QVERIFY(tidy.waitForFinished(30000));
            QVERIFY2(tidy.exitCode() == 0, tidy.readAllStandardError().constData());
        }
        // An index.html the user wrote in its place is never replaced.
        writeFile(LocalFileName::encode(out) + "sub/index.html", "the user's own");
        const UpdateRun again(in, out, options(true, false, true));
        QVERIFY(again.troubled);
        QVERIFY(again.err.contains("sub/index.html: a file of that name that varnello-convert did not write"));
        QFile own(out + "sub/index.html");
        QVERIFY(own.open(QIODevice::ReadOnly));
        QCOMPARE(own.readAll(), QByteArray("the user's own"));
        QProcess::execute("rm", {"-rf", "--", dir.path()}); // Qt cannot name what is not UTF-8
    }

    void damagedManifestIsSetAsideAndEverythingConverts()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath("in"), out = dir.filePath("out/");
        touch(in + "/One.doc");
        touch(out + ".varnello.manifest", "varnello manifest 1\nnot\ta\tline\n");
        const UpdateRun run(in, out, options(true, false, false));
        QCOMPARE(run.counts.converted, 1);
        QVERIFY(run.err.contains("is damaged or not this program's; it was set aside as .varnello.manifest.damaged-"));
        QCOMPARE(setAside(out).size(), 1);
        const UpdateRun again(in, out, options(true, false, false));
        QCOMPARE(again.counts.skipped, 1);

        // A link in the manifest's place is not read through, and what it leads to stays.
        QVERIFY(QFile::rename(out + ".varnello.manifest", dir.filePath("elsewhere")));
        QVERIFY(QFile::link(dir.filePath("elsewhere"), out + ".varnello.manifest"));
        const UpdateRun linked(in, out, options(true, false, false));
        QCOMPARE(linked.counts.converted, 1);
        QCOMPARE(setAside(out).size(), 2);
        QVERIFY(QFileInfo(out + ".varnello.manifest").isFile() && !QFileInfo(out + ".varnello.manifest").isSymLink());
        QFile elsewhere(dir.filePath("elsewhere"));
        QVERIFY(elsewhere.open(QIODevice::ReadOnly) && elsewhere.readAll().contains("One.doc"));
    }

    // Names that lead out of the folder, and links where pages and folders were.
    void manifestNeverLeadsOutOfTheFolder_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::newRow("page above") << QByteArray("\t..%2Fvictim.htm\t%2Fin%2Fgone.doc\t1\t1\th\t8\tshort");
        QTest::newRow("folder above") << QByteArray("..\tvictim.htm\t%2Fin%2Fgone.doc\t1\t1\th\t8\tshort");
        QTest::newRow("absolute folder") << QByteArray("%2Ftmp\tvictim.htm\t%2Fin%2Fgone.doc\t1\t1\th\t8\tshort");
        QTest::newRow("own file") << QByteArray("\t.varnello.lock\t%2Fin%2Fgone.doc\t1\t1\th\t8\tshort");
    }
    void manifestNeverLeadsOutOfTheFolder()
    {
        QFETCH(QByteArray, entry);
        QTemporaryDir dir;
        const QString out = dir.filePath("out/");
        touch(dir.filePath("victim.htm"));
        touch(dir.filePath("out/victim.htm"));
        touch(out + ".varnello.manifest", "varnello manifest 1\n" + entry + "\n");
        QVERIFY(QDir().mkpath(dir.filePath("in")));
        const UpdateRun run(dir.filePath("in"), out, options(true, true, false));
        QCOMPARE(setAside(out).size(), 1);
        QVERIFY(QFileInfo::exists(dir.filePath("victim.htm")) && QFileInfo::exists(out + "victim.htm"));
    }

    void linksInThePlaceOfPagesStay()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath("in"), out = dir.filePath("out/"), away = dir.filePath("away/");
        for (const char* name : {"Page.doc", "Pictures.doc", "sub/Deep.doc"})
            touch(in + "/" + name);
        const UpdateRun first(in, out, options(true, false, false));
        QVERIFY(QDir().mkpath(away));
        for (const char* name : {"sub", "Page.htm", "Pictures_files"})
            QVERIFY2(QDir().rename(out + name, away + name) && QFile::link(away + name, out + name), name);
        QVERIFY(QDir(in).removeRecursively() && QDir().mkpath(in));

        const UpdateRun run(in, out, options(true, true, false));
        QVERIFY(run.troubled);
        QCOMPARE(cli::treeOf(away), (QStringList{"Page.htm", "Pictures_files", "Pictures_files/image001.png", "sub",
                                                  "sub/Deep.htm", "sub/Deep_files", "sub/Deep_files/image001.png"}));
        QCOMPARE(run.results(out), QStringList{});
        QVERIFY(!QFileInfo::exists(out + "Pictures.htm")); // its page goes, its linked picture folder stays
        QVERIFY(QFileInfo(out + "Page.htm").isSymLink() && QFileInfo(out + "Pictures_files").isSymLink());
    }

    void oneRunAtATime()
    {
        QTemporaryDir dir;
        PublishedFolder first(dir.path() + "/"), second(dir.path() + "/");
        QCOMPARE(first.tryLock(), OutputFolderLock::Attempt::Taken);
        QCOMPARE(second.tryLock(), OutputFolderLock::Attempt::Busy);
    }
};

QTEST_GUILESS_MAIN(TestUpdatedFolder)
#include "tst_UpdatedFolder.moc"
