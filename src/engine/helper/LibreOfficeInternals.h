#pragma once

// LibreOffice's headers come first: Qt's keywords must not meet them.
#include <com/sun/star/uno/XComponentContext.hpp>

// The two things the helper needs from LibreOffice that LibreOfficeKit offers no
// way to: the component context of the LibreOffice it started in this process
// (to reach the document loader), and LibreOffice's main-thread lock.
//
// Both are found by the mangled C++ names of LibreOffice's own functions
// (comphelper::getProcessComponentContext, Application::AcquireSolarMutex and
// Application::ReleaseSolarMutex) in the library LibreOfficeKit has loaded,
// libmergedlo.so. That depends on LibreOffice being built as one merged library
// that exports them, as Debian's 7.x packages are, and on g++'s name mangling.
// Each lookup reports its absence instead of failing, so a LibreOffice built
// otherwise gives a clear message rather than a crash.
namespace LibreOfficeInternals {

// Null when it cannot be found.
com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> processComponentContext();

struct MainThreadLock {
    void (*acquire)(unsigned count);
    unsigned (*release)();
};
// Null when this LibreOffice does not offer it.
const MainThreadLock* mainThreadLock();

} // namespace LibreOfficeInternals
