// The window program's command line: what it asks for, and the answers that need no display.

#include "app/StartOptions.h"
#include "cli/CliTesting.h"

#include <QProcess>
#include <QTest>

namespace {

using StartOptions::Action;

struct Finished {
    int status = -1;
    QByteArray output;
    QByteArray errors;
};

// Runs the built program as from an ssh session: no display, no platform chosen.
Finished runProgram(const QStringList& arguments)
{
    QProcess program;
    program.setProcessEnvironment(cli::withoutDisplay());
    program.start(QStringLiteral(VARNELLO_PROGRAM), arguments);
    if (!program.waitForFinished(30000)) {
        program.kill();
        program.waitForFinished();
        return {};
    }
    const int status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    return {status, program.readAllStandardOutput(), program.readAllStandardError()};
}

} // namespace

class TestStartOptions : public QObject {
    Q_OBJECT

private slots:
    void readsTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("unknownOption");

        const QStringList none;
        QTest::newRow("nothing") << none << Action::ShowWindow << none << QString();
        QTest::newRow("files and folders in order")
            << QStringList{"b.docx", "/srv/a folder", "-", "-x.doc"} << Action::ShowWindow
            << QStringList{"b.docx", "/srv/a folder", "-", "-x.doc"} << QString();
        QTest::newRow("help after files") << QStringList{"a.doc", "--help"} << Action::PrintHelp << none << QString();
        QTest::newRow("short help") << QStringList{"-h"} << Action::PrintHelp << none << QString();
        QTest::newRow("version") << QStringList{"--version", "a.doc"} << Action::PrintVersion << none << QString();
        QTest::newRow("help wins over an unknown option")
            << QStringList{"--frobnicate", "--help"} << Action::PrintHelp << none << QString();
        QTest::newRow("unknown option") << QStringList{"a.doc", "--verbose", "--quiet"} << Action::UsageError
                                        << none << QStringLiteral("--verbose");
        QTest::newRow("option-like names after --")
            << QStringList{"a.doc", "--", "--help", "-h", "--version", "--", "--x.docx"} << Action::ShowWindow
            << QStringList{"a.doc", "--help", "-h", "--version", "--", "--x.docx"} << QString();
    }

    void readsTheCommandLine()
    {
        QFETCH(QStringList, arguments);
        const StartOptions::Request request = StartOptions::read(arguments);
        QTEST(request.action, "action");
        QTEST(request.paths, "paths");
        QTEST(request.unknownOption, "unknownOption");
    }

    void helpAndVersionNeedNoDisplay()
    {
        for (const QString& help : {QStringLiteral("--help"), QStringLiteral("-h")}) {
            const Finished finished = runProgram({QStringLiteral("a.docx"), help});
            QCOMPARE(finished.status, 0);
            QVERIFY(finished.output.startsWith("Usage: varnello [OPTION]... [FILE]...\n"));
            QVERIFY(finished.output.contains("--version"));
            QCOMPARE(finished.errors, QByteArray());
        }
        const Finished version = runProgram({QStringLiteral("--version")});
        QCOMPARE(version.status, 0);
        QCOMPARE(version.output, QByteArray("varnello " VARNELLO_VERSION "\n"));
        QCOMPARE(version.errors, QByteArray());
    }

    // Qt's own options are left to Qt; only what nobody understands is refused.
    void refusesAnUnknownOptionButNotQtsOwn()
    {
        const Finished finished =
            runProgram({QStringLiteral("--platform"), QStringLiteral("offscreen"), QStringLiteral("--bogus")});
        QCOMPARE(finished.status, 2);
        QCOMPARE(finished.output, QByteArray());
        QVERIFY2(finished.errors.contains("varnello: unknown option --bogus\n"), finished.errors.constData());
        QVERIFY(finished.errors.contains("varnello --help"));
    }
};

QTEST_GUILESS_MAIN(TestStartOptions)
#include "tst_StartOptions.moc"
