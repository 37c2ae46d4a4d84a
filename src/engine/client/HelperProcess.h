#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>

#include <optional>

// One running LibreOffice helper process. Requests go out at once; answers are
// collected as they arrive, so several helpers can work while the caller waits for
// any of them (see HelperPool). Nothing here blocks.
class HelperProcess {
public:
    enum class State { Starting, Ready, Failed, Gone };

    // Starts the process; it loads LibreOffice in the background.
    HelperProcess(const QString& helperPath, const QString& libreOfficeProgramFolder,
                  const QString& profileFolder);
    // Ends the process: asks a ready one to quit, and kills it if it does not.
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // Reads what has arrived and notices a process that ended; returns the state.
    State poll();
    // Once poll() said Failed or Gone: why, in words for a message.
    const QString& problem() const { return why; }

    void send(const QList<QByteArray>& words);
    // The next complete answer, when one has arrived.
    std::optional<QList<QByteArray>> takeAnswer();

    // Ends the process at once (a hung or worn helper).
    void kill();
    qint64 processId() const;
    // The resident memory of the process in bytes, 0 when unknown.
    qint64 residentBytes() const;
    // The object whose signals tell that something arrived or the process ended.
    QProcess& signalSource() { return process; }

private:
    QProcess process;
    State state = State::Starting;
    QString why;
    QList<QList<QByteArray>> answers;
};
