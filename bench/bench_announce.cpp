// How long announcing a run keeps the caller's thread (a window's, in the program):
// the time Announce takes before it returns, for the documents of a folder.
//
//   bench_announce <folder of Word documents> [repeats]
//
// Announces the folder's documents `repeats` times (default 20) to a fresh engine each
// time, no helper started, and prints every time and the median.

#include "BenchCommandLine.h"
#include "engine/client/LibreOfficeWordAutomation.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const std::optional<QStringList> arguments = benchArguments(2, "bench_announce <folder of Word documents> [repeats]");
    if (!arguments)
        return 2;
    const QDir folder(arguments->at(1));
    QStringList documents;
    for (const QString& name : wordDocumentNames(folder.path()))
        documents << folder.absoluteFilePath(name);
    const int repeats = arguments->size() > 2 ? std::max(1, arguments->at(2).toInt()) : 20;

    LibreOfficeSettings settings = LibreOfficeSettings::forProgramFolder(QCoreApplication::applicationDirPath());
    settings.helperPath = QStringLiteral(VARNELLO_LOK_HELPER);
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        LibreOfficeWordAutomation word(settings);
        QElapsedTimer timer;
        timer.start();
        word.Announce(documents, 10);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        std::printf("announce %d: %.2f ms\n", i + 1, times.back());
    }
    std::sort(times.begin(), times.end());
    std::printf("%lld documents, median %.2f ms on the caller's thread\n", static_cast<long long>(documents.size()),
                times[times.size() / 2]);
    return 0;
}
