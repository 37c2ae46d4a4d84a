#pragma once

#include "platform/MessageBox.h"

#include <QStringList>

// Records the messages instead of blocking on them.
class RecordingMessageBox final : public MessageBox {
public:
    struct Shown {
        QString text;
        MessageIcon icon;
    };
    void show(const QString& text, MessageIcon icon) override { shown.push_back({text, icon}); }
    bool ask(const QString& question) override
    {
        asked << question;
        return answer;
    }
    QStringList texts() const;

    std::vector<Shown> shown;
    QStringList asked;
    bool answer = false; // what every question is answered
};
