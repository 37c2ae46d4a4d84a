// How long a LibreOffice helper takes to start and to convert its first document,
// the fixed cost of every run and of every helper that replaces a lost one.
//
//   bench_helper_start <Word document> [starts]
//
// Starts a fresh engine `starts` times (default 5), one after the other, each with the
// same private profiles, and prints for each: until the helper is ready, and the first
// document's Open, SaveAs and Close; then the medians.

#include "BenchCommandLine.h"
#include "engine/client/LibreOfficeWordAutomation.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

qint64 median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const std::optional<QStringList> arguments = benchArguments(2, "bench_helper_start <Word document> [starts]");
    if (!arguments)
        return 2;
    const QString document = QDir(arguments->at(1)).absolutePath();
    const int starts = arguments->size() > 2 ? std::max(1, arguments->at(2).toInt()) : 5;
    QTemporaryDir output;

    LibreOfficeSettings settings = LibreOfficeSettings::forProgramFolder(QCoreApplication::applicationDirPath());
    settings.helperPath = QStringLiteral(VARNELLO_LOK_HELPER);
    settings.helpers = 1;
    std::vector<qint64> ready, first;
    for (int i = 0; i < starts; ++i) {
        LibreOfficeWordAutomation word(settings);
        QElapsedTimer timer;
        timer.start();
        try {
            auto office = word.CreateObject();
            ready.push_back(timer.restart());
            office->DocumentsOpen(document);
            office->ActiveDocumentSaveAs(output.filePath(QStringLiteral("page%1.htm").arg(i)), 8);
            office->ActiveDocumentClose();
            first.push_back(timer.elapsed());
            office->Quit();
        } catch (const AutomationError& error) {
            std::fprintf(stderr, "start %d failed: %s\n", i + 1, qPrintable(error.Description()));
            return 1;
        }
        std::printf("start %d: ready after %lld ms, first document %lld ms\n", i + 1,
                    static_cast<long long>(ready.back()), static_cast<long long>(first.back()));
    }
    std::printf("median: ready after %lld ms, first document %lld ms\n", static_cast<long long>(median(ready)),
                static_cast<long long>(median(first)));
    return 0;
}
