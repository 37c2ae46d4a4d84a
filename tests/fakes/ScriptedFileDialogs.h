#pragma once

#include "platform/FileDialogs.h"

#include <QStringList>

// Answers from a queue (an empty optional is a cancel; an empty queue cancels too)
// and records what each dialog was asked to show.
class ScriptedFileDialogs final : public FileDialogs {
public:
    struct Asked {
        QString kind; // "open", "save" or "folder"
        FileDialogRequest request;
        QWidget* owner = nullptr;
    };
    std::optional<QString> openFile(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget* owner, const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(QWidget* owner, const QString& title) override;

    QList<std::optional<QString>> answers;
    std::vector<Asked> asked;

private:
    std::optional<QString> next(QString kind, QWidget* owner, const FileDialogRequest& request);
};
