#include "dialogs/CCommonDialogs.h"

CCommonDialogs::CCommonDialogs(const Platform& platform) : desktop(platform) {}

void CCommonDialogs::Init(QWidget* ownerWindow)
{
    owner = ownerWindow;
    initialised = ownerWindow != nullptr;
}

QString CCommonDialogs::upToNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QWidget* CCommonDialogs::ownerWindow() const
{
    if (!initialised || !owner)
        throw CommonDialogError("The dialog has no owner window: Init was not called.");
    return owner;
}
