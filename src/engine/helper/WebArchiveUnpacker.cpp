#include "WebArchiveUnpacker.h"

#include "WebArchivePage.h"
#include "WebArchiveParts.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

using LibreOfficeHelperProtocol::HelperError;

QString bytes(qint64 size)
{
    return QLocale::c().formattedDataSize(size, 1, QLocale::DataSizeTraditionalFormat);
}

UnpackedWebArchive failed(HelperError error, const QString& detail)
{
    UnpackedWebArchive result;
    result.error = error;
    result.detail = detail;
    return result;
}

} // namespace

UnpackedWebArchive unpackWebArchive(const QByteArray& path, const QString& temporaryFolder,
                                    const WebArchiveLimits& limits, const QByteArray& ownPath)
{
    const int descriptor = open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return failed(HelperError::Unreadable, QString::fromLocal8Bit(std::strerror(errno)));
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(descriptor);
        return failed(HelperError::Unreadable, file.errorString());
    }
    if (file.size() > limits.archiveSize)
        return failed(HelperError::TooLarge,
                      QStringLiteral("it is a web archive of %1, more than a document can sensibly hold (%2)")
                          .arg(bytes(file.size()), bytes(limits.archiveSize)));
    const QByteArray message = file.read(limits.archiveSize + 1);
    if (message.size() > limits.archiveSize) // it grew while it was read
        return failed(HelperError::TooLarge,
                      QStringLiteral("it is a web archive of more than %1, more than a document can sensibly hold")
                          .arg(bytes(limits.archiveSize)));

    const WebArchiveReadResult read = readWebArchive(message, limits.parts);
    if (read.tooManyParts)
        return failed(HelperError::TooLarge,
                      QStringLiteral("it is a web archive of more than %1 parts, more than a document can sensibly "
                                     "have")
                          .arg(limits.parts));
    if (!read.archive)
        return failed(HelperError::WebArchive, QString::fromLatin1(read.problem));
    // Made from the name's bytes, so that a name which is not UTF-8 keeps them.
    const QByteArray& location = ownPath.isEmpty() ? path : ownPath;
    const QByteArray absolute =
        location.startsWith('/') ? location : QFile::encodeName(QDir::currentPath()) + '/' + location;
    const QUrl archiveFile = QUrl::fromEncoded("file://" + absolute.toPercentEncoding("/"));
    const WebArchivePage page = webArchivePage(*read.archive, archiveFile, limits.pageSize);
    if (page.outcome == WebArchivePage::Outcome::NoPage)
        return failed(HelperError::WebArchive, QStringLiteral("it holds no HTML page"));
    if (page.outcome == WebArchivePage::Outcome::TooLarge)
        return failed(HelperError::TooLarge, QStringLiteral("its page would grow past %1 with its pictures put in "
                                                            "place, more than a document can sensibly hold")
                                                 .arg(bytes(limits.pageSize)));

    UnpackedWebArchive result;
    result.folder = std::make_unique<QTemporaryDir>(temporaryFolder + QStringLiteral("/varnello-archive-XXXXXX"));
    if (!result.folder->isValid())
        return failed(HelperError::WebArchive,
                      QStringLiteral("no private folder can be made for it: %1").arg(result.folder->errorString()));
    result.pagePath = result.folder->filePath(QStringLiteral("page.htm"));
    QFile out(result.pagePath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly) || out.write(page.html) != page.html.size()
        || !out.flush())
        return failed(HelperError::WebArchive,
                      QStringLiteral("its page cannot be written to a private folder: %1").arg(out.errorString()));
    return result;
}
