#include "MemoryLimit.h"

#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>

qint64 helperMemoryLimit(qint64 machineMemory)
{
    constexpr qint64 GiB = qint64(1) << 30;
    return std::clamp(machineMemory / 4, 2 * GiB, 4 * GiB);
}

qint64 limitHelperMemory()
{
    const qint64 pages = sysconf(_SC_PHYS_PAGES);
    const qint64 pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    const qint64 limit = helperMemoryLimit(pages * pageSize);
    rlimit data{};
    if (getrlimit(RLIMIT_DATA, &data) != 0)
        return 0;
    // Never raise a limit the user set lower.
    if (data.rlim_cur != RLIM_INFINITY && data.rlim_cur <= rlim_t(limit))
        return qint64(data.rlim_cur);
    data.rlim_cur = rlim_t(limit);
    return setrlimit(RLIMIT_DATA, &data) == 0 ? limit : 0;
}
