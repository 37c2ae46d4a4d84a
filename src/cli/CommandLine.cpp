#include "cli/ConvertOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <optional>

namespace {

const QStringList FormatNames{QStringLiteral("web"), QStringLiteral("filtered"), QStringLiteral("archive")};

constexpr int MostJobs = 64;
constexpr int LongestTimeout = 24 * 60 * 60;

std::optional<int> wholeNumber(const QString& text, int lowest, int highest)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

QString exitStatusText()
{
    return QStringLiteral("\nExit status: 0 when every document converted, 1 when any failed,\n"
                          "2 for a usage error (nothing converted), 128 + the signal number\n"
                          "when stopped by a signal.\n");
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Converts Word documents (.doc, .docx, .docm) into web pages with LibreOffice.\n"
                       "Each SOURCE is a Word file or a folder (its Word documents).\n"
                       "One line per document on standard output, messages on standard error."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Show the version and exit."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The output folder; created when missing (its parent must exist)."),
                                    QStringLiteral("OUTPUT_FOLDER"));
    const QCommandLineOption format({QStringLiteral("f"), QStringLiteral("format")},
                                    QStringLiteral("web (a page and its picture folder, the default), filtered "
                                                   "(one page, pictures inside) or archive (one .mht file)."),
                                    QStringLiteral("FORMAT"), FormatNames.first());
    const QCommandLineOption longExtension(QStringLiteral("long-extension"),
                                           QStringLiteral("Name outputs .html or .mhtml instead of .htm or .mht."));
    const QCommandLineOption recursive({QStringLiteral("r"), QStringLiteral("recursive")},
                                       QStringLiteral("Also convert the documents of sub-folders, mirroring "
                                                      "them in the output folder."));
    const QCommandLineOption jobs({QStringLiteral("j"), QStringLiteral("jobs")},
                                  QStringLiteral("LibreOffice helper processes to use (1-%1); the default "
                                                 "depends on the cores and the free memory.")
                                      .arg(MostJobs),
                                  QStringLiteral("N"));
    const QCommandLineOption timeout(QStringLiteral("timeout"),
                                     QStringLiteral("Give up on a document when LibreOffice has not answered "
                                                    "one call after SECONDS (default 120)."),
                                     QStringLiteral("SECONDS"), QStringLiteral("120"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Print one JSON object per document instead of a line of text."));
    const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")},
                                   QStringLiteral("Print no line per document and no progress bar; only "
                                                  "errors (and --json objects)."));
    parser.addOptions({help, version, output, format, longExtension, recursive, jobs, timeout, json, quiet});
    parser.addPositionalArgument(QStringLiteral("SOURCE"), QStringLiteral("A Word file or a folder."),
                                 QStringLiteral("SOURCE..."));

    CommandLine result;
    const auto usageError = [&](const QString& text) {
        result.action = CommandLine::Action::UsageError;
        result.text = text + QStringLiteral("\nTry 'varnello-convert --help' for more information.");
        return result;
    };
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::ShowHelp;
        result.text = parser.helpText() + exitStatusText();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::ShowVersion;
        result.text = QStringLiteral("varnello-convert %1\n").arg(QCoreApplication::applicationVersion());
        return result;
    }

    ConvertOptions& options = result.options;
    options.sources = parser.positionalArguments();
    if (options.sources.isEmpty())
        return usageError(QStringLiteral("No source given: name at least one Word file or folder."));
    // An empty name is no file; refusing it here spares a puzzling "does not exist" later.
    if (options.sources.contains(QString()))
        return usageError(QStringLiteral("An empty source name was given."));
    if (!parser.isSet(output) || parser.value(output).isEmpty())
        return usageError(QStringLiteral("No output folder given: add -o OUTPUT_FOLDER."));
    if (parser.values(output).size() > 1)
        return usageError(QStringLiteral("Give one output folder only."));
    options.outputFolder = parser.value(output);

    options.formatIndex = int(FormatNames.indexOf(parser.value(format)));
    if (options.formatIndex < 0)
        return usageError(QStringLiteral("Unknown format '%1': use web, filtered or archive.").arg(parser.value(format)));
    if (parser.isSet(jobs)) {
        const std::optional<int> value = wholeNumber(parser.value(jobs), 1, MostJobs);
        if (!value)
            return usageError(QStringLiteral("--jobs wants a whole number from 1 to %1, not '%2'.")
                                  .arg(MostJobs)
                                  .arg(parser.value(jobs)));
        options.jobs = *value;
    }
    const std::optional<int> seconds = wholeNumber(parser.value(timeout), 1, LongestTimeout);
    if (!seconds)
        return usageError(QStringLiteral("--timeout wants a whole number of seconds from 1 to %1, not '%2'.")
                              .arg(LongestTimeout)
                              .arg(parser.value(timeout)));
    options.timeoutSeconds = *seconds;
    options.longExtension = parser.isSet(longExtension);
    options.recursive = parser.isSet(recursive);
    options.json = parser.isSet(json);
    options.quiet = parser.isSet(quiet);
    result.action = CommandLine::Action::Convert;
    return result;
}
