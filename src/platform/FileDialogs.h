#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <vector>

class QWidget;

// One entry of a file dialog's type list, e.g. {"Word File(*.doc;*.docx)", "*.doc;*.docx"}.
struct FileType {
    QString description;
    QString pattern; // one or more patterns separated by ';'
    bool operator==(const FileType&) const = default;
};

struct FileDialogRequest {
    QString title;
    QList<FileType> fileTypes; // empty: no type list, every file shown
    QString startFolder;       // empty: the working directory
    QString startName;
    QString defaultSuffix;     // added to a typed name without an extension
};

// The standard file and folder dialogs, modal to their owner. Each returns the full
// path the user confirmed, or nothing when the user cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // One existing file.
    virtual std::optional<QString> openFile(QWidget* owner, const FileDialogRequest& request) = 0;
    // Any file name.
    virtual std::optional<QString> saveFile(QWidget* owner, const FileDialogRequest& request) = 0;
    // One existing folder, with `title` shown to the user.
    virtual std::optional<QString> chooseFolder(QWidget* owner, const QString& title) = 0;
};

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<QString> openFile(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(QWidget* owner, const QString& title) override;
};

