// What a helper may touch once it is confined: LibreOffice's own files, its work
// folder, and nothing else a document could name; the pages it makes it may only move
// into the staging folder, where it can read nothing, not another document's copy.
// Checked in a child process confined as the helper confines itself.
#include "Sandbox.h"

#include "support/TestFiles.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A picture that LibreOffice never needs, in a folder the helper could once read.
QByteArray systemPicture()
{
    for (const char* folder : {"/usr/share/doc", "/usr/share/pixmaps", "/usr/share/icons"}) {
        QDirIterator pictures(QString::fromLatin1(folder), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
        if (pictures.hasNext())
            return QFile::encodeName(pictures.next());
    }
    return {};
}

bool canRead(const QByteArray& path)
{
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0)
        close(fd);
    return fd >= 0;
}

} // namespace

class TestDocumentIsolation : public QObject {
    Q_OBJECT

private slots:
    void confinedHelperReachesOnlyItsOwnFiles()
    {
        QTemporaryDir work;
        const QByteArray root = QFile::encodeName(work.path());
        const QByteArray staging = root + "/varnello-staging", workFolder = staging + "/helper-1";
        for (const QByteArray& folder : {workFolder, staging + "/1/document", staging + "/2", root + "/varnello-lok-1"})
            QVERIFY(QDir().mkpath(QFile::decodeName(folder)));
        QVERIFY(writeBytes(QFile::decodeName(staging + "/1/document/other.doc"), "another sender's document"));
        QVERIFY(writeBytes(QFile::decodeName(root + "/varnello-lok-1/lu1.tmp"), "LibreOffice's own"));
        qputenv("TMPDIR", root + "/varnello-lok-1");
        qputenv("VARNELLO_LOK_WORK", workFolder.toPercentEncoding());
        qputenv("VARNELLO_LOK_STAGING", staging.toPercentEncoding());
        const SandboxFolders folders = helperFolders("/usr/lib/libreoffice/program", root + "/profile");
        const QByteArray picture = systemPicture();

        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            const SandboxOutcome outcome = confineToFolders(folders);
            if (outcome != SandboxOutcome::Confined)
                _exit(outcome == SandboxOutcome::Unsupported ? 77 : 1);
            const QByteArray page = workFolder + "/5/page/page.html";
            const bool worked = canRead("/usr/lib/libreoffice/program/types.rdb")
                                && canRead(root + "/varnello-lok-1/lu1.tmp")
                                && mkdir((workFolder + "/5").constData(), 0700) == 0
                                && mkdir((workFolder + "/5/page").constData(), 0700) == 0
                                && close(open(page.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600)) == 0
                                && rename((workFolder + "/5/page").constData(), (staging + "/2/page").constData()) == 0;
            const bool leaked = canRead(staging + "/1/document/other.doc") || canRead(staging + "/2/page/page.html")
                                || (!picture.isEmpty() && canRead(picture)) || canRead("/etc/os-release")
                                || canRead("/dev/shm");
            _exit(worked ? (leaked ? 3 : 0) : 2);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        if (WEXITSTATUS(status) == 77)
            QSKIP("the kernel has no sandbox");
        QCOMPARE(WEXITSTATUS(status), 0); // 2: what the helper needs was refused; 3: something leaked
        QVERIFY(QFile::exists(QFile::decodeName(staging + "/2/page/page.html")));
    }
};

QTEST_MAIN(TestDocumentIsolation)
#include "tst_DocumentIsolation.moc"
