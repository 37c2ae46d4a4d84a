#include "cli/ConvertOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <array>
#include <optional>

namespace {

// The names --format takes; the first is the default.
struct FormatName {
    QLatin1StringView name;
    WebFormat format;
};
constexpr std::array<FormatName, 3> FormatNames{{
    {QLatin1StringView("web"), WebFormat::WebPage},
    {QLatin1StringView("filtered"), WebFormat::FilteredWebPage},
    {QLatin1StringView("archive"), WebFormat::SingleFileArchive},
}};

std::optional<WebFormat> formatNamed(const QString& name)
{
    for (const FormatName& known : FormatNames) {
        if (name == known.name)
            return known.format;
    }
    return std::nullopt;
}

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

// The options varnello-convert knows, each with its help text.
struct KnownOptions {
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption output;
    QCommandLineOption format;
    QCommandLineOption longExtension;
    QCommandLineOption recursive;
    QCommandLineOption jobs;
    QCommandLineOption timeout;
    QCommandLineOption json;
    QCommandLineOption quiet;
    QCommandLineOption update;
    QCommandLineOption removeGone;
    QCommandLineOption index;
};

KnownOptions knownOptions()
{
    return {
        .help = {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")},
        .version = {QStringLiteral("version"), QStringLiteral("Show the version and exit.")},
        .output = {{QStringLiteral("o"), QStringLiteral("output")},
                   QStringLiteral("The output folder; created when missing (its parent must exist)."),
                   QStringLiteral("OUTPUT_FOLDER")},
        .format = {{QStringLiteral("f"), QStringLiteral("format")},
                   QStringLiteral("web (a page and its picture folder, the default), filtered "
                                  "(one page, pictures inside) or archive (one .mht file)."),
                   QStringLiteral("FORMAT"), QString(FormatNames.front().name)},
        .longExtension = {QStringLiteral("long-extension"),
                          QStringLiteral("Name outputs .html or .mhtml instead of .htm or .mht.")},
        .recursive = {{QStringLiteral("r"), QStringLiteral("recursive")},
                      QStringLiteral("Also convert the documents of sub-folders, mirroring "
                                     "them in the output folder.")},
        .jobs = {{QStringLiteral("j"), QStringLiteral("jobs")},
                 QStringLiteral("LibreOffice helper processes to use (1-%1); the default "
                                "depends on the cores and the free memory.")
                     .arg(MostJobs),
                 QStringLiteral("N")},
        .timeout = {QStringLiteral("timeout"),
                    QStringLiteral("Give up on a document when LibreOffice has not answered "
                                   "one call after SECONDS (default 120)."),
                    QStringLiteral("SECONDS"), QStringLiteral("120")},
        .json = {QStringLiteral("json"),
                 QStringLiteral("Print one JSON object per document instead of a line of text.")},
        .quiet = {{QStringLiteral("q"), QStringLiteral("quiet")},
                  QStringLiteral("Print no line per document and no progress bar; only "
                                 "errors (and --json objects).")},
        .update = {{QStringLiteral("u"), QStringLiteral("update")},
                   QStringLiteral("Convert only documents that are new or changed since the run that "
                                  "wrote their page in this format; skip the others.")},
        .removeGone = {QStringLiteral("delete"),
                       QStringLiteral("Remove the pages (and picture folders) this program wrote whose "
                                      "documents are gone.")},
        .index = {QStringLiteral("index"),
                  QStringLiteral("Write index.html into each output folder, linking its pages and "
                                 "listing the documents that failed.")},
    };
}

void describeCommand(QCommandLineParser& parser, const KnownOptions& known)
{
    parser.setApplicationDescription(
        QStringLiteral("Converts Word documents (.doc, .docx, .docm) into web pages with LibreOffice.\n"
                       "Each SOURCE is a Word file or a folder (its Word documents).\n"
                       "One line per document on standard output, messages on standard error."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.addOptions({known.help, known.version, known.output, known.format, known.longExtension, known.recursive,
                       known.jobs, known.timeout, known.json, known.quiet, known.update, known.removeGone,
                       known.index});
    parser.addPositionalArgument(QStringLiteral("SOURCE"), QStringLiteral("A Word file or a folder."),
                                 QStringLiteral("SOURCE..."));
}

// Reads the sources and the output folder into `options`; says what is wrong with them, if anything.
std::optional<QString> readFolders(const QCommandLineParser& parser, const KnownOptions& known,
                                   ConvertOptions& options)
{
    options.sources = parser.positionalArguments();
    if (options.sources.isEmpty())
        return QStringLiteral("No source given: name at least one Word file or folder.");
    // An empty name is no file; refusing it here spares a puzzling "does not exist" later.
    if (options.sources.contains(QString()))
        return QStringLiteral("An empty source name was given.");
    if (!parser.isSet(known.output) || parser.value(known.output).isEmpty())
        return QStringLiteral("No output folder given: add -o OUTPUT_FOLDER.");
    if (parser.values(known.output).size() > 1)
        return QStringLiteral("Give one output folder only.");
    options.outputFolder = parser.value(known.output);
    return std::nullopt;
}

// Reads the format, the helper count and the timeout into `options`; says what is wrong with them, if anything.
std::optional<QString> readChoices(const QCommandLineParser& parser, const KnownOptions& known,
                                   ConvertOptions& options)
{
    const std::optional<WebFormat> format = formatNamed(parser.value(known.format));
    if (!format)
        return QStringLiteral("Unknown format '%1': use web, filtered or archive.").arg(parser.value(known.format));
    options.format = *format;
    if (parser.isSet(known.jobs)) {
        const std::optional<int> value = wholeNumber(parser.value(known.jobs), 1, MostJobs);
        if (!value)
            return QStringLiteral("--jobs wants a whole number from 1 to %1, not '%2'.")
                .arg(MostJobs)
                .arg(parser.value(known.jobs));
        options.jobs = *value;
    }
    const std::optional<int> seconds = wholeNumber(parser.value(known.timeout), 1, LongestTimeout);
    if (!seconds)
        return QStringLiteral("--timeout wants a whole number of seconds from 1 to %1, not '%2'.")
            .arg(LongestTimeout)
            .arg(parser.value(known.timeout));
    options.timeoutSeconds = *seconds;
    return std::nullopt;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    const KnownOptions known = knownOptions();
    describeCommand(parser, known);

    CommandLine result;
    const auto usageError = [&](const QString& text) {
        result.action = CommandLine::Action::UsageError;
        result.text = text + QStringLiteral("\nTry 'varnello-convert --help' for more information.");
        return result;
    };
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(known.help)) {
        result.action = CommandLine::Action::ShowHelp;
        result.text = parser.helpText() + exitStatusText();
        return result;
    }
    if (parser.isSet(known.version)) {
        result.action = CommandLine::Action::ShowVersion;
        result.text = QStringLiteral("varnello-convert %1\n").arg(QCoreApplication::applicationVersion());
        return result;
    }

    ConvertOptions& options = result.options;
    std::optional<QString> problem = readFolders(parser, known, options);
    if (!problem)
        problem = readChoices(parser, known, options);
    if (problem)
        return usageError(*problem);
    options.extension = parser.isSet(known.longExtension) ? ExtensionLength::Long : ExtensionLength::Short;
    options.recursive = parser.isSet(known.recursive);
    options.json = parser.isSet(known.json);
    options.quiet = parser.isSet(known.quiet);
    options.update = parser.isSet(known.update);
    options.removeGone = parser.isSet(known.removeGone);
    options.index = parser.isSet(known.index);
    result.action = CommandLine::Action::Convert;
    return result;
}
