#pragma once

// LibreOffice's headers come first: Qt's keywords must not meet them.
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/XComponent.hpp>

#include <QString>

// What LibreOffice's loader gave for one document.
struct HiddenLoad {
    com::sun::star::uno::Reference<com::sun::star::lang::XComponent> component; // null when it failed
    bool passwordRequested = false;
    QString error; // LibreOffice's words when it failed
};

// Loads the file at `loadablePath` hidden, as LibreOffice's own batch converter loads
// documents: no window, no toolbars, no layout for a screen; read-only; macros never
// run; links to other files not updated; every question it asks answered "cancel".
// Relative links resolve from `documentPath`, where the document itself lies. An
// empty `filter` lets LibreOffice's type detection choose the import filter.
//
// A document whose page no field numbers or counts can load without the layout of its
// pages, and does so in three quarters of the time: LibreOffice's loader would build a
// frame, a view and that layout, though the page it writes does not need them.
enum class PageLayout { Needed, NotNeeded };
HiddenLoad loadHidden(const com::sun::star::uno::Reference<com::sun::star::frame::XDesktop2>& desktop,
                      const QString& loadablePath, const QString& documentPath, const QString& filter,
                      PageLayout layout);
