// The README's recipe for many machines, run on this one: GNU parallel with local
// job slots in place of ssh logins, one varnello-convert per folder.

#include "CliTesting.h"

#include <QStandardPaths>
#include <QTemporaryDir>

class TestParallelRecipe : public QObject {
    Q_OBJECT

private slots:
    void convertsEachFolderInAJobOfItsOwn()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("parallel")).isEmpty())
            QSKIP("GNU parallel is not installed (tools/install-deps.sh installs it)");
        QTemporaryDir dir;
        const QString documents = dir.filePath(QStringLiteral("documents"));
        QVERIFY(cli::placeDocuments(documents, {"Sales/Q1.docx", "Sales/Q2.docx", "Sales/old/Q4.docx",
                                                "Staff/Handbook.docx"}));
        QDir().mkpath(dir.filePath(QStringLiteral("web")));

        // As in the README, with "2/:" (two job slots on this machine) for the ssh logins.
        const QString recipe = QStringLiteral(
            "parallel --will-cite --sshlogin 2/: --joblog convert.log \\\n"
            "    varnello-convert --quiet --recursive {} -o web/{/} ::: documents/*");
        QProcess shell;
        QProcessEnvironment environment = cli::withoutDisplay();
        environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(VARNELLO_CONVERT)).absolutePath()
                                                       + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
        shell.setProcessEnvironment(environment);
        shell.setWorkingDirectory(dir.path());
        shell.start(QStringLiteral("bash"), {QStringLiteral("-c"), recipe});
        QVERIFY(shell.waitForFinished(300000));
        QCOMPARE(shell.exitCode(), 0); // parallel's status: the number of failed jobs
        QCOMPARE(shell.readAllStandardOutput(), QByteArray()); // --quiet

        const QStringList pages = cli::treeOf(dir.filePath(QStringLiteral("web"))).filter(QStringLiteral(".htm"));
        QCOMPARE(pages, (QStringList{"Sales/Q1.htm", "Sales/Q2.htm", "Sales/old/Q4.htm", "Staff/Handbook.htm"}));
        QFile log(dir.filePath(QStringLiteral("convert.log")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll().count('\n'), 3); // a header and one line a folder
    }
};

QTEST_GUILESS_MAIN(TestParallelRecipe)
#include "tst_ParallelRecipe.moc"
