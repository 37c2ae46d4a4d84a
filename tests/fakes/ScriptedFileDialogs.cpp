#include "fakes/ScriptedFileDialogs.h"

std::optional<QString> ScriptedFileDialogs::next(QString kind, QWidget* owner,
                                                 const FileDialogRequest& request)
{
    asked.push_back({std::move(kind), request, owner});
    if (answers.empty())
        return std::nullopt;
    return answers.takeFirst();
}

std::optional<QString> ScriptedFileDialogs::openFile(QWidget* owner,
                                                     const FileDialogRequest& request)
{
    return next(QStringLiteral("open"), owner, request);
}

std::optional<QString> ScriptedFileDialogs::saveFile(QWidget* owner,
                                                     const FileDialogRequest& request)
{
    return next(QStringLiteral("save"), owner, request);
}

std::optional<QString> ScriptedFileDialogs::chooseFolder(QWidget* owner, const QString& title)
{
    FileDialogRequest request;
    request.title = title;
    return next(QStringLiteral("folder"), owner, request);
}
