#include "MainThreadHold.h"

#include <dlfcn.h>

namespace {

// LibreOffice's own entry points for taking and giving back its lock
// (Application::AcquireSolarMutex and Application::ReleaseSolarMutex).
struct LockFunctions {
    void (*acquire)(unsigned count) = nullptr;
    unsigned (*release)() = nullptr;

    LockFunctions()
    {
        // LibreOfficeKit has already loaded the library; only look it up.
        void* library = dlopen("libmergedlo.so", RTLD_NOW | RTLD_NOLOAD);
        if (!library)
            return;
        acquire = reinterpret_cast<void (*)(unsigned)>(
            dlsym(library, "_ZN11Application17AcquireSolarMutexEj"));
        release = reinterpret_cast<unsigned (*)()>(
            dlsym(library, "_ZN11Application17ReleaseSolarMutexEv"));
        if (!acquire || !release)
            acquire = nullptr;
    }
};

const LockFunctions& lockFunctions()
{
    static const LockFunctions functions;
    return functions;
}

} // namespace

MainThreadHold::MainThreadHold()
{
    if (lockFunctions().acquire) {
        lockFunctions().acquire(1);
        heldCount = 1;
    }
}

MainThreadHold::~MainThreadHold()
{
    if (heldCount > 0)
        lockFunctions().release();
}
