#include "LibreOfficeInternals.h"

#include <dlfcn.h>

namespace {

void* symbol(const char* name)
{
    // LibreOfficeKit has already loaded the library; only look it up.
    void* library = dlopen("libmergedlo.so", RTLD_NOW | RTLD_NOLOAD);
    return library ? dlsym(library, name) : nullptr;
}

} // namespace

namespace LibreOfficeInternals {

com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> processComponentContext()
{
    using Getter = com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> (*)();
    const auto getter = reinterpret_cast<Getter>(symbol("_ZN10comphelper26getProcessComponentContextEv"));
    return getter ? getter() : com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>();
}

} // namespace LibreOfficeInternals
