#include "platform/FileDialogs.h"

#include "platform/DialogPaths.h"

#include <QFileDialog>
#include <QStringList>

namespace {

// Qt refuses a picked file whose name it could not decode (it looks for the
// decoded name, which does not exist); this dialog finds such a file again by its
// bytes and accepts it.
class ByteExactFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    QString pickedPath() const { return recovered.isEmpty() ? selectedFiles().value(0) : recovered; }

    void accept() override
    {
        const QStringList picked = selectedFiles();
        if (picked.size() == 1) {
            if (const QString path = recoverDialogPath(picked.constFirst()); path != picked.constFirst()) {
                recovered = path;
                QDialog::accept();
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    QString recovered;
};

// Qt reads a filter's patterns from the parentheses at its end, separated by blanks;
// the dialog is told to show the description alone. "*.*" means every file, also
// names without a dot.
QStringList nameFilters(const QList<FileType>& fileTypes)
{
    QStringList filters;
    for (const auto& type : fileTypes) {
        QStringList patterns = type.pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        filters << QStringLiteral("%1 (%2)").arg(type.description, patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

std::optional<QString> runFileDialog(QWidget* owner, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode)
{
    ByteExactFileDialog dialog(owner, request.title, request.startFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (mode == QFileDialog::AcceptSave)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = nameFilters(request.fileTypes);
    if (!filters.isEmpty()) {
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(filters);
    }
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.startName.isEmpty())
        dialog.selectFile(request.startName);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted || dialog.pickedPath().isEmpty())
        return std::nullopt;
    return dialog.pickedPath();
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
    ByteExactFileDialog dialog(owner, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted || dialog.pickedPath().isEmpty())
        return std::nullopt;
    return dialog.pickedPath();
}

