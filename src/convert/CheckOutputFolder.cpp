#include "app/Module1.h"
#include "app/form1.h"
#include "convert/OutputFolderCheck.h"
#include "outputs/OutputFolderCombo.h"

namespace Module1 {

int16_t CheckOutputFolder(form1& window)
{
    constexpr int16_t True = -1;
    constexpr int16_t False = 0;
    const QString text = window.Combo2->Text();
    const OutputFolderCheck check = checkOutputFolder(text, window.Combo2->ListIndex() == -1);
    if (!check.ready()) {
        OutputFolder = text;
        window.platform().messages.show(check.message, check.icon);
        return False;
    }
    OutputFolder = check.folder;
    return True;
}

} // namespace Module1
