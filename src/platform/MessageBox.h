#pragma once

#include <QString>
#include <vector>

class QWidget;

// The icon a message carries: information for "select something first" prompts,
// critical for failures, none for texts that come from the document engine.
enum class MessageIcon { None, Information, Critical };

// A modal message with an OK button only, titled with the application's name.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString& text, MessageIcon icon) = 0;
    // A question with Yes and No buttons, No the default; true for Yes.
    virtual bool ask(const QString& question) = 0;
};

class QtMessageBox final : public MessageBox {
public:
    void show(const QString& text, MessageIcon icon) override;
    bool ask(const QString& question) override;
};

