#include "dialogs/CCommonDialogs.h"
#include "dialogs/FilterList.h"
#include "platform/FileSystem.h"

#include <QDir>

void CCommonDialogs::takeChosenFile(const QString& chosen)
{
    const qsizetype slash = chosen.lastIndexOf(QLatin1Char('/'));
    fileTitle = chosen.mid(slash + 1);
    fileName = chosen;
    // A file in the root folder has an empty Path.
    path = slash < 0 ? QString() : chosen.left(slash);
}

bool CCommonDialogs::ShowOpen()
{
    QWidget* window = ownerWindow();
    const QString startName = FileName();
    if (startName.size() > OpenNameRoom)
        throw CommonDialogError("The file name is too long for the open dialog: it has room "
                                "for 260 characters.");

    FileDialogRequest request;
    request.title = Title();
    request.fileTypes = FilterList::fromNulSeparated(filter);
    request.startFolder = QDir::currentPath();
    request.startName = startName;
    request.defaultSuffix = upToNul(defaultExtension);

    const std::optional<QString> chosen = desktop.fileDialogs.openFile(window, request);
    if (!chosen || chosen->isEmpty() || chosen->size() > OpenNameRoom)
        return false;
    takeChosenFile(*chosen);
    return true;
}

bool CCommonDialogs::ShowSave()
{
    QWidget* window = ownerWindow();

    // The dialog starts in Path when that folder exists, else in the program's folder.
    QString startFolder = Path();
    if (startFolder.trimmed().isEmpty()) {
        startFolder = desktop.programFolder;
    } else {
        if (!startFolder.endsWith(QLatin1Char('/')))
            startFolder += QLatin1Char('/');
        if (FileSystem::kindOf(startFolder) != FileSystem::EntryKind::Folder)
            startFolder = desktop.programFolder;
    }
    setPath(startFolder);

    FileDialogRequest request;
    request.title = QStringLiteral("Save");
    request.fileTypes = FilterList::fromNulSeparated(FilterList::fromBarSeparated(filter));
    request.startFolder = Path();

    const std::optional<QString> chosen = desktop.fileDialogs.saveFile(window, request);
    if (!chosen || chosen->isEmpty() || chosen->size() > SaveNameRoom)
        return false;
    takeChosenFile(*chosen);
    return true;
}

bool CCommonDialogs::ShowFolder()
{
    QWidget* window = ownerWindow();
    const std::optional<QString> chosen = desktop.fileDialogs.chooseFolder(window, Title());
    if (!chosen)
        return false;
    // Stored as the dialog gives it: the root folder keeps its slash.
    path = upToNul(*chosen);
    fileName.clear();
    fileTitle.clear();
    return true;
}
