#include "cli/Reporter.h"

#include "engine/files/LocalFileName.h"

namespace {

// A JSON string. File names are bytes: one that is not UTF-8 keeps its stray bytes
// as the escapes \udc80..\udcff, which Python's surrogateescape turns back into them.
QByteArray jsonString(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped += QLatin1Char('"');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        const char16_t code = unit.unicode();
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            escaped += unit;
            escaped += text.at(++i);
        } else if (unit.isSurrogate() || code < 0x20 || code == 0x7F) {
            switch (code) {
            case '\n': escaped += QLatin1String("\\n"); break;
            case '\r': escaped += QLatin1String("\\r"); break;
            case '\t': escaped += QLatin1String("\\t"); break;
            default: escaped += QStringLiteral("\\u%1").arg(int(code), 4, 16, QLatin1Char('0'));
            }
        } else if (code == '"' || code == '\\') {
            escaped += QLatin1Char('\\');
            escaped += unit;
        } else {
            escaped += unit;
        }
    }
    escaped += QLatin1Char('"');
    return escaped.toUtf8();
}

} // namespace

Reporter::Reporter(Sink standardOutput, Sink standardError, Style style)
    : out(std::move(standardOutput)), err(std::move(standardError)), style(style)
{
}

QByteArray Reporter::jsonLine(const DocumentReport& report)
{
    const char* result = report.outcome == DocumentReport::Outcome::Skipped   ? "\"skipped\""
                         : report.outcome == DocumentReport::Outcome::Removed ? "\"removed\""
                         : report.converted                                   ? "\"converted\""
                                                                              : "\"failed\"";
    return "{\"source\":" + jsonString(report.source)
           + ",\"output\":" + (report.output.isEmpty() ? QByteArray("null") : jsonString(report.output))
           + ",\"result\":" + result
           + ",\"milliseconds\":" + QByteArray::number(report.milliseconds)
           + ",\"message\":" + jsonString(report.message) + '}';
}

QByteArray Reporter::oneLine(const QString& text)
{
    const QByteArray bytes = LocalFileName::encode(text);
    QByteArray escaped;
    escaped.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        switch (byte) {
        case '\\': escaped += "\\\\"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': escaped += "\\r"; break;
        case '\t': escaped += "\\t"; break;
        default:
            if (code < 0x20 || code == 0x7F)
                escaped += "\\x" + QByteArray::number(code, 16).rightJustified(2, '0');
            else
                escaped += byte;
        }
    }
    return escaped;
}

void Reporter::begin(qsizetype documents)
{
    total = documents;
    done = 0;
    clock.start();
    drawProgress();
}

void Reporter::document(const DocumentReport& report)
{
    using Outcome = DocumentReport::Outcome;
    if (report.outcome != Outcome::Removed)
        ++done;
    clearProgress();
    if (report.outcome == Outcome::Ran && !report.converted)
        message(report.source + QStringLiteral(": ")
                + (report.message.isEmpty() ? QStringLiteral("the conversion failed.") : report.message));
    if (style.json)
        out(jsonLine(report) + '\n');
    else if (!style.quiet)
        out(textLine(report) + '\n');
    drawProgress();
}

QByteArray Reporter::textLine(const DocumentReport& report)
{
    switch (report.outcome) {
    case DocumentReport::Outcome::Skipped: return "skipped " + oneLine(report.source) + " -> " + oneLine(report.output);
    case DocumentReport::Outcome::Removed: return "removed " + oneLine(report.output);
    case DocumentReport::Outcome::Ran: break;
    }
    return report.converted ? "converted " + oneLine(report.source) + " -> " + oneLine(report.output)
                            : "failed " + oneLine(report.source);
}

void Reporter::message(const QString& text)
{
    const bool redraw = progressShown;
    clearProgress();
    err("varnello-convert: " + oneLine(text) + '\n');
    if (redraw)
        drawProgress();
}

void Reporter::end()
{
    clearProgress();
}

void Reporter::summary(const RunCounts& counts)
{
    const qint64 milliseconds = clock.isValid() ? clock.elapsed() : 0;
    if (style.json)
        out("{\"result\":\"summary\",\"converted\":" + QByteArray::number(counts.converted) + ",\"failed\":"
            + QByteArray::number(counts.failed) + ",\"notConverted\":" + QByteArray::number(counts.notConverted)
            + ",\"skipped\":" + QByteArray::number(counts.skipped)
            + ",\"milliseconds\":" + QByteArray::number(milliseconds) + "}\n");
    // Without skipped documents the line reads as it always has.
    const QString skipped = counts.skipped > 0 ? QStringLiteral(", %1 skipped").arg(counts.skipped) : QString();
    if (!style.quiet)
        message(QStringLiteral("%1 converted, %2 failed, %3 not converted%4 in %5 s.")
                    .arg(counts.converted)
                    .arg(counts.failed)
                    .arg(counts.notConverted)
                    .arg(skipped)
                    .arg(double(milliseconds) / 1000.0, 0, 'f', 1));
}

void Reporter::clearProgress()
{
    if (progressShown)
        err("\r\033[K");
    progressShown = false;
}

void Reporter::drawProgress()
{
    if (!style.progressBar || style.quiet || total <= 0)
        return;
    constexpr int Width = 30;
    const int filled = int(done * Width / total);
    QByteArray line = "\r\033[K" + QByteArray::number(done) + '/' + QByteArray::number(total) + " ["
                      + QByteArray(filled, '#') + QByteArray(Width - filled, '.') + "] "
                      + QByteArray::number(done * 100 / total) + '%';
    const qint64 elapsed = clock.elapsed();
    if (done > 0 && elapsed > 0)
        line += "  " + QByteArray::number(double(done) * 1000.0 / double(elapsed), 'f', 1) + " documents/s";
    err(line);
    progressShown = true;
}
