#pragma once

#include <QObject>

#include <functional>

class QWidget;

// While a run lasts, the window's controls take no input: clicks, keys, wheel turns
// and drops meant for it are dropped, so nothing changes the lists or starts another
// command under the run's feet. Escape is the one key that counts: it calls
// `onEscape`. Windows of their own (a question, a message) take input as usual.
class RunInputGuard final : public QObject {
public:
    RunInputGuard(QWidget& window, std::function<void()> onEscape);
    ~RunInputGuard() override;
    RunInputGuard(const RunInputGuard&) = delete;
    RunInputGuard& operator=(const RunInputGuard&) = delete;

protected:
    bool eventFilter(QObject* target, QEvent* event) override;

private:
    bool belongsToWindow(QObject* target) const;

    QWidget& window;
    std::function<void()> onEscape;
};
