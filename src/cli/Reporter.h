#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include "run/ConversionRun.h"

#include <functional>

// How one document went, as it is reported.
struct DocumentReport {
    QString source;
    QString output; // the file written; "" when the document failed
    bool converted = false;
    qint64 milliseconds = 0;
    QString message; // why it failed
    // Not converted because its page is up to date (`output` is that page), or its page
    // removed because the document is gone.
    enum class Outcome { Ran, Skipped, Removed };
    Outcome outcome = Outcome::Ran;
};

// Writes what a run has to say: one line per document on standard output (text or
// JSON), messages on standard error, and a progress bar on standard error that is
// redrawn in place (only wanted when that is a terminal).
class Reporter {
public:
    using Sink = std::function<void(const QByteArray&)>;
    struct Style {
        bool json = false;
        bool quiet = false;
        bool progressBar = false;
    };
    Reporter(Sink standardOutput, Sink standardError, Style style);

    void begin(qsizetype documents);
    void document(const DocumentReport& report);
    // "varnello-convert: " + text, on a line of its own.
    void message(const QString& text);
    // Takes the progress bar off the screen.
    void end();
    // The run's last line: how many documents were converted, failed, not converted and
    // (when any were) skipped, and how long it took; on standard error (unless quiet), and with JSON also as a
    // last object on standard output.
    void summary(const RunCounts& counts);

    // The JSON line for one document (without its line end).
    static QByteArray jsonLine(const DocumentReport& report);
    // The text line for one document (without its line end).
    static QByteArray textLine(const DocumentReport& report);
    // A name or message as the file system spells its bytes, on one line: control
    // characters, DEL and the backslash are escaped (\n, \t, \r, \xNN, \\), so a name
    // can neither split its line into a forged result nor steer the terminal. Other
    // bytes, UTF-8 or not, stay as they are.
    static QByteArray oneLine(const QString& text);

private:
    void clearProgress();
    void drawProgress();

    Sink out;
    Sink err;
    Style style;
    qsizetype total = 0;
    qsizetype done = 0;
    QElapsedTimer clock;
    bool progressShown = false;
};
