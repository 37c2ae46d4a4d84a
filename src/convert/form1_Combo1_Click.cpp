#include "app/form1.h"
#include "run/OutputFormats.h"

#include <QComboBox>
#include <QRadioButton>

// The extension captions follow the chosen format; which option is set stays.
void form1::Combo1_Click()
{
    const int listIndex = Combo1->currentIndex();
    if (listIndex < 0 || listIndex >= int(outputFormats().size()))
        return;
    const OutputFormat& format = outputFormats()[static_cast<size_t>(listIndex)];
    Option1->setText(format.shortExtension.mid(1));
    Option2->setText(format.longExtension.mid(1));
}
