#include "app/form1.h"

#include <QComboBox>
#include <QRadioButton>

// The extension captions follow the chosen format; which option is set stays.
void form1::Combo1_Click()
{
    const int format = Combo1->currentIndex();
    if (format == 0 || format == 1) {
        Option1->setText(QStringLiteral("htm"));
        Option2->setText(QStringLiteral("html"));
    } else if (format == 2) {
        Option1->setText(QStringLiteral("mht"));
        Option2->setText(QStringLiteral("mhtml"));
    }
}
