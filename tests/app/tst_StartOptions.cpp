// The window program's command line: what it asks for, and the answers that need no display.

#include "app/StartOptions.h"
#include "cli/CliTesting.h"

#include <QProcess>
#include <QTest>

namespace {

using StartOptions::Action;

// Runs the built program as from an ssh session: no display, no platform chosen.
cli::Ran runProgram(const QStringList& arguments)
{
    return cli::runWithoutDisplay(QStringLiteral(VARNELLO_PROGRAM), arguments);
}

} // namespace

class TestStartOptions : public QObject {
    Q_OBJECT

private slots:
    void readsTheCommandLine()
    {
        struct Case {
            const char* name;
            QStringList arguments;
            Action action;
            QStringList paths;
            QString unknownOption;
        };
        const QStringList files{"b.docx", "/srv/a folder", "-", "-x.doc"};
        const Case cases[] = {
            {"nothing", {}, Action::ShowWindow, {}, {}},
            {"files and folders in order", files, Action::ShowWindow, files, {}},
            {"help after files", {"a.doc", "--help"}, Action::PrintHelp, {}, {}},
            {"short help", {"-h"}, Action::PrintHelp, {}, {}},
            {"version", {"--version", "a.doc"}, Action::PrintVersion, {}, {}},
            {"help wins over an unknown option", {"--frobnicate", "--help"}, Action::PrintHelp, {}, {}},
            {"unknown option", {"a.doc", "--verbose", "--quiet"}, Action::UsageError, {}, "--verbose"},
            {"option-like names after --", {"a.doc", "--", "--help", "-h", "--version", "--", "--x.docx"},
             Action::ShowWindow, {"a.doc", "--help", "-h", "--version", "--", "--x.docx"}, {}},
        };
        for (const Case& c : cases) {
            const StartOptions::Request request = StartOptions::read(c.arguments);
            QVERIFY2(request.action == c.action, c.name);
            QVERIFY2(request.paths == c.paths, c.name);
            QVERIFY2(request.unknownOption == c.unknownOption, c.name);
        }
    }

    void helpAndVersionNeedNoDisplay()
    {
        for (const QString& help : {QStringLiteral("--help"), QStringLiteral("-h")}) {
            const cli::Ran finished = runProgram({QStringLiteral("a.docx"), help});
            QCOMPARE(finished.status, 0);
            QVERIFY(finished.out.startsWith("Usage: varnello [OPTION]... [FILE]...\n"));
            QVERIFY(finished.out.contains("--version"));
            QCOMPARE(finished.err, QByteArray());
        }
        const cli::Ran version = runProgram({QStringLiteral("--version")});
        QCOMPARE(version.status, 0);
        QCOMPARE(version.out, QByteArray("varnello " VARNELLO_VERSION "\n"));
        QCOMPARE(version.err, QByteArray());
    }

    // Qt's own options are left to Qt; only what nobody understands is refused.
    void refusesAnUnknownOptionButNotQtsOwn()
    {
        const cli::Ran finished =
            runProgram({QStringLiteral("--platform"), QStringLiteral("offscreen"), QStringLiteral("--bogus")});
        QCOMPARE(finished.status, 2);
        QCOMPARE(finished.out, QByteArray());
        QVERIFY2(finished.err.contains("varnello: unknown option --bogus\n"), finished.err.constData());
        QVERIFY(finished.err.contains("varnello --help"));
    }
};

QTEST_GUILESS_MAIN(TestStartOptions)
#include "tst_StartOptions.moc"
