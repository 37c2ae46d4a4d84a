// The README's recipe for many machines, run on this one as the README has it: GNU
// parallel with local job slots in place of ssh logins, one varnello-convert per folder.

#include "CliTesting.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// The shell block of the README's "Many machines", with its folders below the working
// folder instead of /srv and two job slots on this machine instead of the ssh logins.
QString recipeOfTheReadme()
{
    QFile readme(QStringLiteral(VARNELLO_README));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype section = text.indexOf(QStringLiteral("### Many machines"));
    const QString opening = QStringLiteral("```sh\n");
    const qsizetype start = text.indexOf(opening, section);
    const qsizetype end = text.indexOf(QStringLiteral("```"), start + opening.size());
    if (section < 0 || start < 0 || end < 0)
        return {};
    QString recipe = text.mid(start + opening.size(), end - start - opening.size());
    recipe.replace(QStringLiteral("/srv/"), QString());
    recipe.replace(QRegularExpression(QStringLiteral("--sshlogin \\S+")), QStringLiteral("--sshlogin 2/:"));
    return recipe;
}

} // namespace

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
        const QString recipe = recipeOfTheReadme();
        QVERIFY2(recipe.contains(QStringLiteral("-o web/{/} ::: documents/*")), qPrintable(recipe));

        QProcess shell;
        QProcessEnvironment environment = cli::withoutDisplay();
        environment.insert(QStringLiteral("PARALLEL"), QStringLiteral("--will-cite"));
        environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(VARNELLO_CONVERT)).absolutePath()
                                                       + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
        shell.setProcessEnvironment(environment);
        shell.setWorkingDirectory(dir.path());
        shell.start(QStringLiteral("bash"), {QStringLiteral("-ec"), recipe});
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
