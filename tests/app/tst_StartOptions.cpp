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
