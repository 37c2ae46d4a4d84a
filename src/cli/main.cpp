#include "cli/ConvertCommand.h"
#include "engine/files/LocalFileName.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char* argv[])
{
    // File names are bytes: read them before anything could decode them lossily.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(LocalFileName::decode(QByteArray(argv[i])));

    // No display is needed: the core application only, never a GUI one.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("varnello-convert"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNELLO_VERSION));
    // A closed standard output (`| head`) is noticed by the write, and the run stops cleanly.
    std::signal(SIGPIPE, SIG_IGN);

    const CommandLine commandLine = parseCommandLine(arguments);
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
    case CommandLine::Action::ShowVersion:
        std::fputs(LocalFileName::encode(commandLine.text).constData(), stdout);
        return 0;
    case CommandLine::Action::UsageError:
        std::fputs(LocalFileName::encode(QStringLiteral("varnello-convert: ") + commandLine.text + QLatin1Char('\n'))
                       .constData(),
                   stderr);
        return 2;
    case CommandLine::Action::Convert: break;
    }
    return runConvertCommand(commandLine.options);
}
