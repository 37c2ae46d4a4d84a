#include "platform/FileDialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace {

QStringList nameFilters(const QList<FileType>& fileTypes)
{
    QStringList filters;
    for (const auto& type : fileTypes) {
        QString patterns = type.pattern;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(type.description, patterns.simplified());
    }
    return filters;
}

std::optional<QString> runFileDialog(QWidget* owner, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner, request.title, request.startFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (mode == QFileDialog::AcceptSave)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = nameFilters(request.fileTypes);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!request.startName.isEmpty())
        dialog.selectFile(request.startName);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> QtFileDialogs::openFile(QWidget* owner, const FileDialogRequest& request)
{
    return runFileDialog(owner, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileDialogs::saveFile(QWidget* owner, const FileDialogRequest& request)
{
    return runFileDialog(owner, request, QFileDialog::AcceptSave);
}

std::optional<QString> QtFileDialogs::chooseFolder(QWidget* owner, const QString& title)
{
    QFileDialog dialog(owner, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

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
