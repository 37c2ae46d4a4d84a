// Measures the folder scan over a folder of 100,000 files (20,000 Word documents)
// and start-up with 32,767 sources, and prints the figures beside `find` on the
// same folder. Run: build/bench/bench_fill [folder]

#include "app/ListViews.h"
#include "sources/DocumentList.h"
#include "app/MainWindow.h"
#include "fakes/FakePlatform.h"
#include "state/StateFile.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int FileCount = 100'000;
constexpr int WordDocumentCount = 20'000;
constexpr int SourceCount = 32'767;
constexpr int Runs = 7;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Figures {
    double best = 0;
    double median = 0;
};

template <typename Work>
Figures measure(Work&& work)
{
    std::vector<double> seconds;
    for (int run = 0; run < Runs; ++run) {
        const auto start = Clock::now();
        work();
        seconds.push_back(secondsSince(start));
    }
    std::sort(seconds.begin(), seconds.end());
    return {seconds.front(), seconds[seconds.size() / 2]};
}

bool touch(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return false;
    ::close(descriptor);
    return true;
}

// The folder is made once and reused; the marker beside it says it is complete.
bool prepareFolder(const std::string& folder)
{
    const std::string marker = folder + ".complete";
    if (std::filesystem::exists(marker))
        return true;
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder, error);
    if (error)
        return false;
    const std::array<const char*, 4> wordExtensions = {".doc", ".DOCX", ".docm", ".Doc"};
    const std::array<const char*, 5> otherExtensions = {".txt", ".pdf", ".rtf", ".xlsx", ""};
    // Every fifth file is a Word document, so they are spread through the folder.
    for (int i = 0; i < FileCount; ++i) {
        const bool word = i % 5 == 0;
        const std::string name = std::string(word ? "Report " : "note_") + std::to_string(i)
                                 + (word ? wordExtensions[static_cast<size_t>(i / 5 % 4)]
                                         : otherExtensions[static_cast<size_t>(i % 5)]);
        if (!touch(folder + "/" + name))
            return false;
    }
    return touch(marker);
}

// `find` on the same folder, for comparison: its seconds and its count.
std::pair<double, long> timeFind(const std::string& folder)
{
    const std::string command = "find '" + folder + "' -maxdepth 1 -iname '*.doc*' | wc -l";
    const auto start = Clock::now();
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {0, -1};
    long count = -1;
    if (std::fscanf(pipe, "%ld", &count) != 1)
        count = -1;
    ::pclose(pipe);
    return {secondsSince(start), count};
}

QString emptyProgramFolder(const QTemporaryDir& dir)
{
    for (const QString& name : {StateFile::Settings, StateFile::Sources, StateFile::OutputFolders})
        StateFile::writeLines(StateFile::path(dir.path(), name), {});
    return dir.path();
}

void benchFill(const QString& folder)
{
    QTemporaryDir programDir;
    FakePlatform fake(emptyProgramFolder(programDir));
    MainWindow window(fake.platform());
    window.show();

    int items = 0;
    const Figures fill = measure([&] {
        fillDocumentList(window, folder);
        items = ListViews::count(*window.documentList);
    });
    const Figures fillAndPaint = measure([&] {
        fillDocumentList(window, folder);
        window.documentList->repaint();
    });
    const auto [findSeconds, findCount] = timeFind(folder.toStdString());

    std::printf("FillDocumentList, %d files, %d Word documents: %d items\n", FileCount,
                WordDocumentCount, items);
    std::printf("  fill:              best %.3f s, median %.3f s (target < 0.5 s)\n", fill.best,
                fill.median);
    std::printf("  fill and repaint:  best %.3f s, median %.3f s\n", fillAndPaint.best,
                fillAndPaint.median);
    std::printf("  find -iname '*.doc*' | wc -l: %.3f s, %ld names\n", findSeconds, findCount);
}

void benchStartUp(const QString& folder)
{
    QTemporaryDir programDir;
    const QString programFolder = emptyProgramFolder(programDir);
    // Files, folders and missing paths, so each kind of probe is made.
    QStringList sources;
    for (int i = 0; sources.size() < SourceCount; ++i) {
        switch (i % 3) {
        case 0: sources << folder + QStringLiteral("/Report %1.doc").arg(i / 3 * 20); break;
        case 1: sources << folder; break;
        default: sources << folder + QStringLiteral("/missing/%1.doc").arg(i); break;
        }
    }
    StateFile::writeLines(StateFile::path(programFolder, StateFile::Sources), sources);

    int restored = 0;
    const Figures startUp = measure([&] {
        FakePlatform fake(programFolder);
        MainWindow window(fake.platform());
        restored = ListViews::count(*window.sourceList);
    });
    std::printf("Start-up with %d sources in EXCEL.txt, each probed: %d restored\n", SourceCount,
                restored);
    std::printf("  form1 with Form_Load: best %.3f s, median %.3f s (target < 1 s)\n",
                startUp.best, startUp.median);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const std::string folder = argc > 1 ? argv[1] : "/tmp/varnello-bench-100k";
    std::printf("Folder: %s\n", folder.c_str());
    const auto start = Clock::now();
    if (!prepareFolder(folder)) {
        std::fprintf(stderr, "Cannot create the folder %s\n", folder.c_str());
        return 1;
    }
    std::printf("  ready in %.1f s\n", secondsSince(start));

    const QString qFolder = QString::fromStdString(folder);
    benchFill(qFolder);
    benchStartUp(qFolder);
    return 0;
}
