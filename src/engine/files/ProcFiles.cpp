#include "engine/files/ProcFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace ProcFiles {

namespace {

enum StatmFields { Resident = 1, Data = 5 };

// Reads the file at `path` (at most `size` - 1 bytes) into `text`, ended by a zero;
// false when it cannot be read.
bool readInto(const char* path, char* text, std::size_t size)
{
    const PlainDescriptor file(open(path, O_RDONLY | O_CLOEXEC));
    if (!file.isValid())
        return false;
    std::size_t filled = 0;
    while (filled < size - 1) {
        const ssize_t got = read(file.get(), text + filled, size - 1 - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        filled += std::size_t(got);
    }
    text[filled] = '\0';
    return true;
}

// The number field `index` holds, in a text of numbers parted by blanks; -1 when none.
qint64 numberField(const char* text, int index)
{
    const char* field = text;
    for (int skipped = 0; skipped < index; ++skipped) {
        char* end = nullptr;
        std::strtoll(field, &end, 10);
        if (end == field)
            return -1;
        field = end;
    }
    char* end = nullptr;
    const long long value = std::strtoll(field, &end, 10);
    return end == field ? -1 : qint64(value);
}

} // namespace

qint64 statmField(const char* text, int index)
{
    return numberField(text, index);
}

qint64 residentBytes(qint64 pid)
{
    char path[64];
    char text[256];
    std::snprintf(path, sizeof path, "/proc/%lld/statm", static_cast<long long>(pid));
    if (pid <= 0 || !readInto(path, text, sizeof text))
        return 0;
    return std::max<qint64>(0, statmField(text, Resident)) * sysconf(_SC_PAGESIZE);
}

qint64 processorMilliseconds(qint64 pid)
{
    char path[64];
    char text[2048];
    std::snprintf(path, sizeof path, "/proc/%lld/stat", static_cast<long long>(pid));
    if (pid <= 0 || !readInto(path, text, sizeof text))
        return -1;
    // The command name in brackets may hold blanks; the fields after it are plain:
    // the state (a letter), then numbers, utime and stime the 11th and 12th of them
    // (fields 14 and 15 of the whole line).
    const char* after = std::strrchr(text, ')');
    if (!after)
        return -1;
    after += std::strspn(after + 1, " ") + 1;
    after += std::strcspn(after, " ");
    const qint64 user = numberField(after, 10);
    const qint64 system = numberField(after, 11);
    if (user < 0 || system < 0)
        return -1;
    return (user + system) * 1000 / sysconf(_SC_CLK_TCK);
}

qint64 availableMemory()
{
    char text[8192];
    if (!readInto("/proc/meminfo", text, sizeof text))
        return 0;
    constexpr char key[] = "MemAvailable:";
    for (const char* line = text; *line;) {
        if (std::strncmp(line, key, sizeof key - 1) == 0)
            return std::max<qint64>(0, numberField(line + sizeof key - 1, 0)) * 1024;
        const char* end = std::strchr(line, '\n');
        if (!end)
            break;
        line = end + 1;
    }
    return 0;
}

OwnStatm::OwnStatm() : file(open("/proc/self/statm", O_RDONLY | O_CLOEXEC)), pageSize(sysconf(_SC_PAGESIZE)) {}

qint64 OwnStatm::dataBytes() const
{
    char text[256];
    const ssize_t length = pread(file.get(), text, sizeof text - 1, 0);
    if (length <= 0)
        return -1;
    text[length] = '\0';
    const qint64 pages = statmField(text, Data);
    return pages < 0 ? -1 : pages * pageSize;
}

} // namespace ProcFiles
