#include "app/form1.h"
#include "state/Setting.h"

#include <memory>

// A fresh settings window every time, modal over the main window and gone when it
// closes, so it always shows what set.txt holds.
void form1::Settings_Click()
{
    auto settings = std::make_unique<Setting>(desktop, this);
    settings->exec();
}
