#include "dialogs/CCommonDialogs.h"

int16_t CCommonDialogs::ShowOpen()
{
    ownerWindow();
    return False;
}

int16_t CCommonDialogs::ShowSave()
{
    ownerWindow();
    return False;
}

int16_t CCommonDialogs::ShowFolder()
{
    ownerWindow();
    return False;
}
