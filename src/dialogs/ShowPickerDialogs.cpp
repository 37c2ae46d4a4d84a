#include "dialogs/CCommonDialogs.h"

int16_t CCommonDialogs::ShowColor(int16_t)
{
    ownerWindow();
    return False;
}

int16_t CCommonDialogs::ShowFont()
{
    return False;
}

int16_t CCommonDialogs::ShowPrinter()
{
    ownerWindow();
    return False;
}

int16_t CCommonDialogs::ShowPrinterProperties()
{
    return False;
}
