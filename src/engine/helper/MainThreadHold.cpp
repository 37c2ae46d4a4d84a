#include "MainThreadHold.h"

#include "LibreOfficeInternals.h"

#include <cstdlib>

MainThreadHold::MainThreadHold()
{
    if (std::getenv("VARNELLO_BENCH_NO_HOLD")) // TEMPORARY, for measuring
        return;
    if (const auto* lock = LibreOfficeInternals::mainThreadLock()) {
        lock->acquire(1);
        heldCount = 1;
    }
}

MainThreadHold::~MainThreadHold()
{
    if (heldCount > 0)
        LibreOfficeInternals::mainThreadLock()->release();
}
