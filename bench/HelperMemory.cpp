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

// Every process below this one: each thread lists the children it started.
std::vector<int> descendants()
{
    std::vector<int> found;
    std::vector<int> parents{static_cast<int>(getpid())};
    while (!parents.empty()) {
        const int parent = parents.back();
        parents.pop_back();
        const QString tasks = QStringLiteral("/proc/%1/task").arg(parent);
        for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QList<QByteArray> children = readProc(tasks + QLatin1Char('/') + task + QStringLiteral("/children")).split(' ');
            for (const QByteArray& child : children) {
                bool ok = false;
                const int pid = child.trimmed().toInt(&ok);
                if (ok && std::find(found.begin(), found.end(), pid) == found.end()) {
                    found.push_back(pid);
                    parents.push_back(pid);
                }
            }
        }
    }
    return found;
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
    for (const int pid : descendants()) {
        if (QString::fromUtf8(readProc(QStringLiteral("/proc/%1/comm").arg(pid)).trimmed()) != processName)
            continue;
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
    const std::lock_guard lock(mutex);
    result.peakTogether = std::max(result.peakTogether, together);
    result.peakSingle = std::max(result.peakSingle, single);
    result.mostAtOnce = std::max(result.mostAtOnce, count);
    seen.insert(helpers.begin(), helpers.end());
    result.started = static_cast<int>(seen.size());
}
