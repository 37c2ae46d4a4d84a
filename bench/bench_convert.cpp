// Converts every Word document of a folder with the program's own conversion run:
// the real main window (offscreen), LibreOffice behind it, a recording message box.
//
//   bench_convert <document folder> <output folder> [format 0|1|2] [--long-extension]
//
// Prints one line per document (name, result code, milliseconds), the total, the longest
// time the user-interface thread went without handling events, the helpers' memory, and
// where the run's time went: its longest document and the documents' times added up.

#include "BenchCommandLine.h"
#include "HelperMemory.h"
#include "TimingWordAutomation.h"

#include "app/ListViews.h"
#include "app/MainWindow.h"
#include "outputs/OutputFolderCombo.h"
#include "engine/client/LibreOfficeWordAutomation.h"
#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

// The longest stretch without a timer firing: how long the window could neither
// paint nor answer the desktop.
class EventGap {
public:
    explicit EventGap(const TimingWordAutomation& timing) : timing(timing)
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
        clock.start();
        timer.start();
    }
    void stop()
    {
        tick();
        timer.stop();
    }
    qint64 longest = 0;
    QString during;

private:
    void tick()
    {
        const qint64 gap = clock.restart();
        if (gap > longest) {
            longest = gap;
            during = timing.current();
        }
    }

    const TimingWordAutomation& timing;
    QTimer timer;
    QElapsedTimer clock;
};

double megabytes(int64_t bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// The run takes its documents one after the other, each from its application object's
// creation to its end (waiting for a helper's page among it); the rest of the run is
// its own work between them.
void printTimeSplit(const std::vector<TimingWordAutomation::Document>& documents, qint64 runMilliseconds)
{
    const auto longest = std::max_element(documents.begin(), documents.end(), [](const auto& left, const auto& right) {
        return left.milliseconds < right.milliseconds;
    });
    if (longest != documents.end())
        std::printf("longest document: %lld ms, %s\n", static_cast<long long>(longest->milliseconds),
                    qPrintable(longest->name));
    qint64 sum = 0;
    for (const TimingWordAutomation::Document& document : documents)
        sum += document.milliseconds;
    std::printf("document times: %lld ms added up over %zu documents, %lld ms of the run outside them\n",
                static_cast<long long>(sum), documents.size(), static_cast<long long>(runMilliseconds - sum));
}

// A fresh program folder: empty state files, as a new install has them.
bool writeFreshStateFiles(const QString& programFolder)
{
    for (const char* name : {"set.txt", "EXCEL.txt", "output.txt"}) {
        QFile file(QDir(programFolder).filePath(QLatin1String(name)));
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

// No schedule beats the helpers' processor time spread evenly over them.
void printEvenShare(const HelperMemory::Figures& helpers, qint64 runMilliseconds)
{
    if (helpers.mostAtOnce <= 0 || helpers.processorMilliseconds <= 0)
        return;
    const qint64 evenShare = helpers.processorMilliseconds / helpers.mostAtOnce;
    std::printf("helper work: %lld ms of processor time, %lld ms each if shared evenly by %d; "
                "the run took %.2f times that\n",
                static_cast<long long>(helpers.processorMilliseconds), static_cast<long long>(evenShare),
                helpers.mostAtOnce, double(runMilliseconds) / double(evenShare));
}

// The processor time of this process (all its threads) so far.
qint64 ownProcessorMilliseconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& time) { return qint64(time.tv_sec) * 1000 + time.tv_usec / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The run's whole work, the helpers' and this process's own (its pages, its copies),
// against the cores: no schedule beats it shared evenly by them.
void printAllWork(const HelperMemory::Figures& helpers, qint64 ownMilliseconds, qint64 runMilliseconds)
{
    const int cores = std::max(1, QThread::idealThreadCount());
    const qint64 all = helpers.processorMilliseconds + ownMilliseconds;
    if (all <= 0)
        return;
    std::printf("all work: %lld ms of processor time (helpers %lld, this process %lld), %lld ms each if shared "
                "evenly by %d cores; the run took %.2f times that\n",
                static_cast<long long>(all), static_cast<long long>(helpers.processorMilliseconds),
                static_cast<long long>(ownMilliseconds), static_cast<long long>(all / cores), cores,
                double(runMilliseconds) / double(all / cores));
}

// A line per document and the run's total: the lines other checks read.
void printDocuments(const std::vector<TimingWordAutomation::Document>& documents, qsizetype listed,
                    std::size_t messages)
{
    int converted = 0;
    for (const TimingWordAutomation::Document& document : documents) {
        std::printf("%-60s %d %6lld ms\n", qPrintable(document.name), document.result,
                    static_cast<long long>(document.milliseconds));
        converted += document.result == 1;
    }
    std::printf("documents: %lld, converted: %d, messages: %zu\n", static_cast<long long>(listed), converted,
                messages);
}

// Lists the folder as the window's one source, ticks every Word document in it and
// chooses the format and output folder, as a user would before pressing Convert.
QStringList checkDocuments(MainWindow& window, const QString& documents, const QString& output, int format,
                           bool longExtension)
{
    ListViews::append(*window.sourceList, documents);
    ListViews::select(*window.sourceList, 1);
    const QStringList names = wordDocumentNames(documents);
    for (const QString& name : names)
        ListViews::setChecked(*ListViews::append(*window.documentList, name), true);
    window.formatChoice->setCurrentIndex(format);
    window.longExtensionOption->setChecked(longExtension);
    window.outputFolderChoice->AddItem(output, 0);
    window.outputFolderChoice->setListIndex(0);
    return names;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer total;
    total.start();
    QApplication application(argc, argv);
    const std::optional<QStringList> given =
        benchArguments(3, "bench_convert <document folder> <output folder> [format 0|1|2] [--long-extension]");
    if (!given)
        return 2;
    const QStringList& arguments = *given;
    const QString documents = QDir(arguments[1]).absolutePath();
    const QString output = QDir(arguments[2]).absolutePath();
    const int format = arguments.size() > 3 ? arguments[3].toInt() : 0;
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(output));
        return 2;
    }

    QTemporaryDir programFolder;
    if (!writeFreshStateFiles(programFolder.path()))
        return 2;

    LibreOfficeSettings settings = LibreOfficeSettings::forProgramFolder(QCoreApplication::applicationDirPath());
#ifdef VARNELLO_LOK_HELPER
    settings.helperPath = QStringLiteral(VARNELLO_LOK_HELPER);
#endif
    LibreOfficeWordAutomation libreOffice(settings);
    TimingWordAutomation timing(libreOffice);
    FakePlatform fake(programFolder.path());
    fake.word = &timing;
    MainWindow window(fake.platform());

    const QStringList names = checkDocuments(window, documents, output, format,
                                             arguments.contains(QStringLiteral("--long-extension")));

    const HelperMemory helpers(QStringLiteral("varnello-lok"));
    EventGap gap(timing);
    QElapsedTimer run;
    const qint64 ownBefore = ownProcessorMilliseconds();
    run.start();
    window.convertCheckedDocuments();
    const qint64 runMilliseconds = run.elapsed();
    const qint64 ownDuringRun = ownProcessorMilliseconds() - ownBefore;
    gap.stop();
    const HelperMemory::Figures memory = helpers.figures();

    printDocuments(timing.documents, names.size(), fake.messages.shown.size());
    std::printf("run: %lld ms, total with start-up: %lld ms\n", static_cast<long long>(runMilliseconds),
                static_cast<long long>(total.elapsed()));
    std::printf("longest stall: %lld ms without handling events (during %s)\n", static_cast<long long>(gap.longest),
                gap.during.isEmpty() ? "start-up" : qPrintable(gap.during));
    std::printf("helpers: %d started, at most %d at once; resident memory at most %.0f MB together, "
                "%.0f MB the largest one\n",
                memory.started, memory.mostAtOnce, megabytes(memory.peakTogether), megabytes(memory.peakSingle));
    printTimeSplit(timing.documents, runMilliseconds);
    printEvenShare(memory, runMilliseconds);
    printAllWork(memory, ownDuringRun, runMilliseconds);
    return 0;
}
