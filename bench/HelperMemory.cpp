#include "HelperMemory.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

QByteArray readProc(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString commandName(int pid)
{
    return QString::fromUtf8(readProc(QStringLiteral("/proc/%1/comm").arg(pid)).trimmed());
}

// The processes below this one with the given name, leaving out those whose parent has
// that name too: a helper's own short-lived forks share its memory and are no helpers.
std::vector<int> helpersBelow(const QString& name)
{
    std::vector<int> found;
    std::vector<int> seen;
    std::vector<std::pair<int, bool>> parents{{static_cast<int>(getpid()), false}};
    while (!parents.empty()) {
        const auto [parent, parentIsHelper] = parents.back();
        parents.pop_back();
        // Each thread lists the children it started.
        const QString tasks = QStringLiteral("/proc/%1/task").arg(parent);
        for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QList<QByteArray> children = readProc(tasks + QLatin1Char('/') + task + QStringLiteral("/children")).split(' ');
            for (const QByteArray& child : children) {
                bool ok = false;
                const int pid = child.trimmed().toInt(&ok);
                if (!ok || std::find(seen.begin(), seen.end(), pid) != seen.end())
                    continue;
                seen.push_back(pid);
                const bool isHelper = commandName(pid) == name;
                if (isHelper && !parentIsHelper)
                    found.push_back(pid);
                parents.emplace_back(pid, isHelper);
            }
        }
    }
    return found;
}

// User and system time the process has used so far, in milliseconds.
int64_t processorMilliseconds(int pid)
{
    static const int64_t ticks = sysconf(_SC_CLK_TCK);
    const QByteArray stat = readProc(QStringLiteral("/proc/%1/stat").arg(pid));
    // The fields after the command name, which may hold blanks: state is the first,
    // utime and stime the 12th and 13th.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13 || ticks <= 0)
        return 0;
    return (fields[11].toLongLong() + fields[12].toLongLong()) * 1000 / ticks;
}

} // namespace

HelperMemory::HelperMemory(QString processName, int intervalMilliseconds)
    : processName(std::move(processName)),
      sampler([this, intervalMilliseconds](std::stop_token stop) {
          while (!stop.stop_requested()) {
              sample();
              std::this_thread::sleep_for(std::chrono::milliseconds(intervalMilliseconds));
          }
      })
{
}

HelperMemory::Figures HelperMemory::figures() const
{
    const std::lock_guard lock(mutex);
    return result;
}

void HelperMemory::sample()
{
    static const int64_t pageSize = sysconf(_SC_PAGESIZE);
    int64_t together = 0;
    int64_t single = 0;
    int count = 0;
    std::vector<int> helpers;
    for (const int pid : helpersBelow(processName)) {
        // statm: size, then resident pages.
        const QList<QByteArray> fields = readProc(QStringLiteral("/proc/%1/statm").arg(pid)).split(' ');
        if (fields.size() < 2)
            continue;
        const int64_t resident = fields[1].toLongLong() * pageSize;
        together += resident;
        single = std::max(single, resident);
        ++count;
        helpers.push_back(pid);
    }
    std::vector<std::pair<int, int64_t>> times;
    for (const int pid : helpers)
        times.emplace_back(pid, processorMilliseconds(pid));
    const std::lock_guard lock(mutex);
    result.peakTogether = std::max(result.peakTogether, together);
    result.peakSingle = std::max(result.peakSingle, single);
    result.mostAtOnce = std::max(result.mostAtOnce, count);
    seen.insert(helpers.begin(), helpers.end());
    for (const auto& [pid, milliseconds] : times)
        processorTime[pid] = std::max(processorTime[pid], milliseconds);
    result.processorMilliseconds = 0;
    for (const auto& [pid, milliseconds] : processorTime)
        result.processorMilliseconds += milliseconds;
    result.started = static_cast<int>(seen.size());
}
