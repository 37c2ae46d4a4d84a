#include "dialogs/FolderToAdd.h"

#include "dialogs/CCommonDialogs.h"

QString askForFolderToAdd(const Platform& platform, QWidget* owner)
{
    CCommonDialogs dialog(platform);
    dialog.Init(owner);
    dialog.setTitle(QStringLiteral("Add all word files in folder"));
    if (!dialog.ShowFolder())
        return {};
    return dialog.Path();
}
