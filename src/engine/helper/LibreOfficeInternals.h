#pragma once

// LibreOffice's headers come first: Qt's keywords must not meet them.
#include <com/sun/star/uno/XComponentContext.hpp>

// The one thing the helper needs from LibreOffice that LibreOfficeKit offers no way
// to: the component context of the LibreOffice it started in this process, through
// which the document loader is reached (LibreOfficeKit's own load builds a view for
// a screen, which a conversion never shows, and takes half as long again).
//
// It is found by the mangled C++ name of LibreOffice's own function
// (comphelper::getProcessComponentContext) in the library LibreOfficeKit has loaded,
// libmergedlo.so. That depends on LibreOffice being built as one merged library
// that exports it, as Debian's 7.x packages are, and on g++'s name mangling. A
// failed lookup gives an empty context, so a LibreOffice built otherwise gives a
// clear message rather than a crash.
namespace LibreOfficeInternals {

// Null when it cannot be found.
com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> processComponentContext();

} // namespace LibreOfficeInternals
