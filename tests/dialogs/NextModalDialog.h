#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <utility>

// Hands the next modal dialog of type Dialog to `answer`, while `scope` lives.
// `answer` records what it sees and closes the dialog: a failed check inside it
// would leave the test hanging. A modal dialog of another type is rejected.
template <typename Dialog, typename Answer>
void answerNextModalDialog(const QObject& scope, Answer answer, int triesLeft = 500)
{
    QTimer::singleShot(10, &scope, [&scope, answer = std::move(answer), triesLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<Dialog*>(modal); dialog && dialog->isVisible()) {
            answer(dialog);
            return;
        }
        if (auto* other = qobject_cast<QDialog*>(modal)) {
            other->reject();
            return;
        }
        if (triesLeft > 0)
            answerNextModalDialog<Dialog>(scope, std::move(answer), triesLeft - 1);
    });
}
