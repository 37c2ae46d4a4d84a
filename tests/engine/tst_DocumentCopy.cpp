// The private copy a helper reads instead of the user's document.
#include "engine/client/DocumentCopy.h"
#include "engine/files/LocalFileName.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeRaw(const QByteArray& path, const QByteArray& data)
{
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const bool written = fd >= 0 && write(fd, data.constData(), size_t(data.size())) == data.size();
    if (fd >= 0)
        close(fd);
    return written;
}

QByteArray readRaw(const QString& path)
{
    QByteArray data;
    const int fd = open(LocalFileName::encode(path).constData(), O_RDONLY);
    char buffer[4096];
    ssize_t read = 0;
    while (fd >= 0 && (read = ::read(fd, buffer, sizeof buffer)) > 0)
        data.append(buffer, read);
    if (fd >= 0)
        close(fd);
    return data;
}

} // namespace

class TestDocumentCopy : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;

private slots:
    void copyKeepsEveryByteAndAPlainName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("copyName");
        QTest::newRow("plain") << QByteArray("Report 2009.docx") << QStringLiteral("Report 2009.docx");
        QTest::newRow("not UTF-8") << QByteArray("Bericht \xe4\xfc.doc") << QStringLiteral("document.doc");
        QTest::newRow("not UTF-8, odd suffix") << QByteArray("\xff.d\xf6" "c") << QStringLiteral("document");
    }

    void copyKeepsEveryByteAndAPlainName()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, copyName);
        const QString folder = work.filePath(QString::fromLatin1(QTest::currentDataTag()).remove(' ').remove(','));
        QVERIFY(QDir().mkpath(folder));
        // Larger than one read, with every byte value.
        QByteArray data;
        for (int i = 0; i < 300000; ++i)
            data += char(i * 7);
        const QByteArray source = QFile::encodeName(work.path()) + '/' + name;
        QVERIFY(writeRaw(source, data));

        const QString copy = copyDocumentForHelper(LocalFileName::decode(source), folder).path;
        QCOMPARE(copy, documentCopyFolder(folder) + '/' + copyName);
        QCOMPARE(readRaw(copy), data);
        unlink(source.constData()); // Qt's own removal cannot name it
    }

    // Whatever cannot be copied is left to the helper, which tells why it cannot open it;
    // a named pipe must not stall the run.
    void whatCannotBeCopiedIsPassedOn()
    {
        const QString folder = work.filePath(QStringLiteral("passed"));
        const QString missing = work.filePath(QStringLiteral("missing.doc"));
        QCOMPARE(copyDocumentForHelper(missing, folder).path, missing);
        const QString pipe = work.filePath(QStringLiteral("pipe.doc"));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QCOMPARE(copyDocumentForHelper(pipe, folder).path, pipe);
        QCOMPARE(copyDocumentForHelper(work.path(), folder).path, work.path());
        QVERIFY(!QFileInfo::exists(documentCopyFolder(folder) + QStringLiteral("/pipe.doc")));
    }

    // A full staging folder is told apart from an unreadable document. Needs a file
    // system of its own to fill: a small one in a mount namespace of this process.
    void fullFolderIsSaidToBeFull()
    {
        const QString small = work.filePath(QStringLiteral("small"));
        QVERIFY(QDir().mkpath(small));
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("no file system of its own can be made here");
        const QByteArray large = QFile::encodeName(work.filePath(QStringLiteral("large.doc")));
        QVERIFY(writeRaw(large, QByteArray(1 << 20, 'x')));
        const HelperDocument document = copyDocumentForHelper(QFile::decodeName(large), small + QStringLiteral("/1"));
        QVERIFY(document.noRoom);
        QCOMPARE(document.path, QFile::decodeName(large));
        umount2(QFile::encodeName(small).constData(), MNT_DETACH);
    }
};

QTEST_MAIN(TestDocumentCopy)
#include "tst_DocumentCopy.moc"
