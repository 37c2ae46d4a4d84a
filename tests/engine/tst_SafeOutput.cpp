// Writing the output into a folder that may hold traps: symbolic links, read-only
// pages, stale picture folders, names that are not UTF-8, a disk that fills up.
#include "engine/LibreOfficeChecks.h"

#include "engine/files/LocalFileName.h"
#include "engine/files/PlainDescriptor.h"
#include "engine/web/OutputFiles.h"
#include "engine/web/WebOutput.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray png()
{
    return pngPicture(4, 4, Qt::green);
}

void writeFile(const QString& path, const QByteArray& data)
{
    QVERIFY2(writeBytes(path, data), qPrintable(path));
}

mode_t modeOf(const QByteArray& path)
{
    struct stat status {};
    return lstat(path.constData(), &status) == 0 ? status.st_mode : 0;
}

// A file named by its bytes, which Qt's file classes may not reach.
QByteArray contentOf(const QByteArray& path)
{
    QFile file;
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    return file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) ? file.readAll() : QByteArray();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class TestSafeOutput : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;
    QString withPicture;    // a staged page showing one picture
    QString withoutPicture; // a staged page without pictures

    QString stage(const QString& name, const QByteArray& html, bool picture)
    {
        const QString folder = work.filePath(name);
        QDir().mkpath(folder);
        writeFile(folder + QStringLiteral("/page.html"), html);
        if (picture)
            writeFile(folder + QStringLiteral("/page_html_1.png"), png());
        return folder + QStringLiteral("/page.html");
    }

    QString freshFolder(const QString& name)
    {
        const QString folder = work.filePath(name);
        QDir().mkpath(folder);
        return folder;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        withPicture = stage(QStringLiteral("staged1"), "<p>New page</p><img src=\"page_html_1.png\">", true);
        withoutPicture = stage(QStringLiteral("staged2"), "<p>Plain page</p>", false);
    }

    void symbolicLinksAreReplacedNeverFollowed()
    {
        const QString outside = freshFolder(QStringLiteral("outside"));
        const QString out = freshFolder(QStringLiteral("links"));
        writeFile(outside + QStringLiteral("/victim.htm"), "precious");
        writeFile(outside + QStringLiteral("/image001.png"), "precious picture");
        QVERIFY(QFile::link(outside + QStringLiteral("/victim.htm"), out + QStringLiteral("/Report.htm")));
        QVERIFY(QFile::link(outside, out + QStringLiteral("/Report_files")));
        QVERIFY(QFile::link(outside + QStringLiteral("/victim.htm"), out + QStringLiteral("/Archive.mht")));

        QCOMPARE(writeWebOutput(withPicture, out + QStringLiteral("/Report.htm"), 8), QString());
        QCOMPARE(writeWebOutput(withPicture, out + QStringLiteral("/Archive.mht"), 9), QString());

        QCOMPARE(checks::readAll(outside + QStringLiteral("/victim.htm")), QByteArray("precious"));
        QCOMPARE(checks::readAll(outside + QStringLiteral("/image001.png")), QByteArray("precious picture"));
        QCOMPARE(entries(outside).size(), 2);
        QVERIFY(S_ISREG(modeOf(QFile::encodeName(out + QStringLiteral("/Report.htm")))));
        QVERIFY(S_ISDIR(modeOf(QFile::encodeName(out + QStringLiteral("/Report_files")))));
        checks::verifyWebPage(out + QStringLiteral("/Report.htm"), {QStringLiteral("New page")}, 1);
        checks::verifyArchive(out + QStringLiteral("/Archive.mht"), {QStringLiteral("New page")}, 1);
    }

    void readOnlyPageIsKept()
    {
        const QString out = freshFolder(QStringLiteral("readonly"));
        const QString page = out + QStringLiteral("/Locked.htm");
        writeFile(page, "locked page");
        QVERIFY(QFile::setPermissions(page, QFileDevice::ReadOwner | QFileDevice::ReadGroup));

        for (int format : {8, 9, 10}) {
            const QString error = writeWebOutput(withPicture, page, format);
            QVERIFY2(error.contains(page) && error.contains(QLatin1String("read-only")), qPrintable(error));
        }
        QCOMPARE(checks::readAll(page), QByteArray("locked page"));
        QCOMPARE(entries(out), QStringList{QStringLiteral("Locked.htm")});
    }

    void filesGetTheUsersUmask()
    {
        const QString out = freshFolder(QStringLiteral("umask"));
        const mode_t previous = umask(027);
        const QString error = writeWebOutput(withPicture, out + QStringLiteral("/Private.htm"), 8);
        umask(previous);
        QCOMPARE(error, QString());
        const QByteArray base = QFile::encodeName(out);
        QCOMPARE(modeOf(base + "/Private.htm") & 07777, mode_t(0640));
        QCOMPARE(modeOf(base + "/Private_files") & 07777, mode_t(0750));
        QCOMPARE(modeOf(base + "/Private_files/image001.png") & 07777, mode_t(0640));
    }

    // A replaced web page takes its picture folder with it; the other formats leave it.
    void replacedPageReplacesItsPictureFolder()
    {
        const QString out = freshFolder(QStringLiteral("replace"));
        const QString page = out + QStringLiteral("/Notes.htm");
        const QString pictures = out + QStringLiteral("/Notes_files");
        QVERIFY(QDir().mkpath(pictures + QStringLiteral("/nested")));
        writeFile(pictures + QStringLiteral("/image009.png"), "stale");
        writeFile(page, "old page");

        QCOMPARE(writeWebOutput(withPicture, page, 8), QString());
        QCOMPARE(entries(pictures), QStringList{QStringLiteral("image001.png")});

        QCOMPARE(writeWebOutput(withPicture, out + QStringLiteral("/Notes.mht"), 9), QString());
        QCOMPARE(entries(pictures), QStringList{QStringLiteral("image001.png")});

        QCOMPARE(writeWebOutput(withoutPicture, page, 8), QString());
        QVERIFY(!QFileInfo::exists(pictures));
        QVERIFY(checks::readAll(page).contains("Plain page"));
        QCOMPARE(entries(out), QStringList({QStringLiteral("Notes.htm"), QStringLiteral("Notes.mht")}));
    }

    void failedSaveLeavesNothing()
    {
        const QString out = freshFolder(QStringLiteral("failed"));
        // A file size limit fails writes the way a full disk does.
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = previous;
        tiny.rlim_cur = 20;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        const QString error = writeWebOutput(withPicture, out + QStringLiteral("/Big.htm"), 8);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY2(error.contains(out + QStringLiteral("/Big_files/image001.png")), qPrintable(error));
        QCOMPARE(entries(out), QStringList());
    }

    void namesThatAreNotUtf8()
    {
        const QByteArray folder = QFile::encodeName(work.path()) + "/Stra\xdf" "e";
        QCOMPARE(mkdir(folder.constData(), 0777), 0);
        const QString page = LocalFileName::decode(folder + "/Gr\xfc\xdf.htm");
        QCOMPARE(writeWebOutput(withPicture, page, 8), QString());
        QVERIFY(S_ISREG(modeOf(folder + "/Gr\xfc\xdf.htm")));
        QVERIFY(S_ISREG(modeOf(folder + "/Gr\xfc\xdf_files/image001.png")));
        // The page reaches its pictures by the picture folder's own bytes.
        const QByteArray html = contentOf(folder + "/Gr\xfc\xdf.htm");
        QVERIFY2(html.contains("src=\"Gr%FC%DF_files/image001.png\""), html.constData());
        // Qt's own removal cannot reach these names.
        for (const char* file : {"/Gr\xfc\xdf_files/image001.png", "/Gr\xfc\xdf.htm"})
            QCOMPARE(unlink((folder + file).constData()), 0);
        QCOMPARE(rmdir((folder + "/Gr\xfc\xdf_files").constData()), 0);
        QCOMPARE(rmdir(folder.constData()), 0);
    }

    // A run that died while writing leaves its temporary page; a later run removes it,
    // but never the temporary a live writer (of any process) still holds.
    void deadRunsTemporariesAreRemoved()
    {
        const QString out = freshFolder(QStringLiteral("sweep"));
        const pid_t writer = fork();
        if (writer == 0) { // stops mid-page, as a live run busy writing would be
            const rlimit small{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &small);
            std::signal(SIGXFSZ, [](int) { raise(SIGSTOP); });
            writeOutputFiles({out + QStringLiteral("/Big.htm"), QByteArray(1 << 20, 'x'), {}, {}});
            _exit(0);
        }
        int status = 0;
        QCOMPARE(waitpid(writer, &status, WUNTRACED), writer);
        QVERIFY(WIFSTOPPED(status));
        writeFile(out + QStringLiteral("/.varnello-dead"), "left by a run that died");
        writeFile(work.filePath(QStringLiteral("linked")), "not a temporary");
        QVERIFY(QFile::link(work.filePath(QStringLiteral("linked")), out + QStringLiteral("/.varnello-link")));
        QVERIFY(QDir().mkpath(out + QStringLiteral("/.varnello-folder")));
        const PlainDescriptor folder(open(QFile::encodeName(out).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));

        removeDeadTemporaries(folder.get());
        QStringList left = entries(out);
        QCOMPARE(left.size(), 3);
        QVERIFY(!left.contains(QStringLiteral(".varnello-dead")));

        kill(writer, SIGKILL);
        QCOMPARE(waitpid(writer, &status, 0), writer);
        QVERIFY(entries(out) == left);
        removeDeadTemporaries(folder.get());
        QCOMPARE(entries(out), QStringList({QStringLiteral(".varnello-folder"), QStringLiteral(".varnello-link")}));
        QVERIFY(QFileInfo::exists(work.filePath(QStringLiteral("linked"))));
    }

    void archiveLocationsArePlainCidTokens()
    {
        const QString archive = freshFolder(QStringLiteral("cid")) + QStringLiteral("/Bericht \u00FC #1 \u6587.mht");
        QCOMPARE(writeWebOutput(withPicture, archive, 9), QString());
        const QByteArray bytes = checks::readAll(archive);
        static const QRegularExpression token(QStringLiteral("^cid:[A-Za-z0-9._-]+@archive$"));
        const QList<checks::ArchivePart> parts = checks::parseArchive(bytes);
        QCOMPARE(parts.size(), 2);
        for (const checks::ArchivePart& part : parts)
            QVERIFY2(token.match(QString::fromLatin1(part.location)).hasMatch(), part.location.constData());
        for (const QByteArray& line : bytes.split('\n'))
            if (line.toLower().contains("location"))
                QVERIFY2(!line.contains("=?"), line.constData());
    }
};

QTEST_MAIN(TestSafeOutput)
#include "tst_SafeOutput.moc"
