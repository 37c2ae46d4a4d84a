#pragma once

#include <QStringList>

#include <optional>

// The command line of the window program: `varnello [OPTION]... [FILE]...`.
//
// It is read twice. Before Qt starts, so that --help and --version answer without a
// display; and again on what Qt left once it took its own options (-platform, --style
// ...), which is when an option that is nobody's can be told apart and refused.
namespace StartOptions {

enum class Action { ShowWindow, PrintHelp, PrintVersion, UsageError };

struct Request {
    Action action = Action::ShowWindow;
    QStringList paths;     // the documents and folders to add, in order (ShowWindow)
    QString unknownOption; // the option that is not understood (UsageError)
};

// `arguments` without the program's name. Everything after "--" is a path, and so is
// anything else that does not begin with "--", as before there were options (only
// -h is taken, as --help is). --help and --version win over an unknown option.
Request read(const QStringList& arguments);

// The arguments as the file system gives them: bytes that are not UTF-8 survive.
QStringList decode(int argc, const char* const* argv);

QString helpText();
QString versionText(const QString& version);

// Prints what `request` asks for instead of the window, and returns the exit status
// (0 for help and version, 2 for a usage error); nothing when the window is asked for.
std::optional<int> answerWithoutWindow(const Request& request, const QString& version);

} // namespace StartOptions
