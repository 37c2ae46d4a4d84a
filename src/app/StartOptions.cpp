#include "app/StartOptions.h"

#include "engine/files/LocalFileName.h"

#include <cstdio>

namespace StartOptions {

namespace {

const QString EndOfOptions = QStringLiteral("--");

// Exit statuses as varnello-convert has them.
enum ExitStatus : int { Success = 0, UsageFailure = 2 };

Request answerOnly(Action action, const QString& unknownOption = {})
{
    Request request;
    request.action = action;
    request.unknownOption = unknownOption;
    return request;
}

void print(const QString& text, std::FILE* stream)
{
    std::fputs(LocalFileName::encode(text).constData(), stream);
}

} // namespace

Request read(const QStringList& arguments)
{
    Request request;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (optionsEnded)
            request.paths << argument;
        else if (argument == EndOfOptions)
            optionsEnded = true;
        else if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return answerOnly(Action::PrintHelp);
        else if (argument == QLatin1String("--version"))
            return answerOnly(Action::PrintVersion);
        else if (!argument.startsWith(EndOfOptions))
            request.paths << argument;
        else if (request.unknownOption.isEmpty())
            request.unknownOption = argument;
    }
    if (!request.unknownOption.isEmpty())
        return answerOnly(Action::UsageError, request.unknownOption);
    return request;
}

QStringList decode(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments << LocalFileName::decode(QByteArray(argv[index]));
    return arguments;
}

QString helpText()
{
    return QStringLiteral(
        "Usage: varnello [OPTION]... [FILE]...\n"
        "Convert Word documents (.doc, .docx, .docm) into web pages, in a window.\n"
        "\n"
        "Each FILE is a Word document or a folder of them. They are added to the list of\n"
        "sources, as Add Word and Add Folder add them, and the documents of the first are\n"
        "shown. Installed, it keeps each user's lists in ~/.config/varnello.\n"
        "\n"
        "  -h, --help     show this help and exit\n"
        "      --version  show the version and exit\n"
        "  --             take every argument after it as a FILE, even one beginning with -\n"
        "\n"
        "Qt's own options (-platform NAME, -style NAME, ...) are understood as well.\n"
        "To convert without a window, see varnello-convert --help or man varnello-convert.\n");
}

QString versionText(const QString& version)
{
    return QStringLiteral("varnello %1\n").arg(version);
}

std::optional<int> answerWithoutWindow(const Request& request, const QString& version)
{
    switch (request.action) {
    case Action::PrintHelp:
        print(helpText(), stdout);
        return Success;
    case Action::PrintVersion:
        print(versionText(version), stdout);
        return Success;
    case Action::UsageError:
        print(QStringLiteral("varnello: unknown option %1\n"
                             "Usage: varnello [OPTION]... [FILE]...\n"
                             "Try 'varnello --help' for more information; a FILE that begins "
                             "with - goes after --.\n")
                  .arg(request.unknownOption),
              stderr);
        return UsageFailure;
    case Action::ShowWindow: break;
    }
    return std::nullopt;
}

} // namespace StartOptions
