#include "engine/web/WebOutput.h"

#include "engine/web/CleanPage.h"
#include "engine/web/HtmlReferences.h"
#include "engine/web/MimeArchive.h"
#include "engine/web/TitleAndAlt.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QTemporaryFile>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

struct Picture {
    QString stagedName;
    QString outputName;
    QByteArray data;
    QByteArray mediaType;
};

// The pictures the page refers to, read from the staging folder, in order of first use.
struct StagedPage {
    QByteArray html;
    QList<HtmlFileReference> references;
    QList<Picture> pictures;
    QHash<QString, qsizetype> pictureIndex; // by staged name
};

// The page as the format wants it; picture references are found afterwards, in it.
QString readStagedPage(const QString& path, int32_t format, const QString& title, StagedPage& page)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("the page LibreOffice wrote cannot be read (%1)").arg(file.errorString());
    const QByteArray html = file.readAll();
    page.html = format == WebFormat::FilteredWebPage ? cleanPage(html, title) : withTitleAndAlt(html, title);

    const QFileInfo pageInfo(path);
    const QDir folder = pageInfo.dir();
    QSet<QString> stagedFiles;
    for (const QString& name : folder.entryList(QDir::Files))
        if (name != pageInfo.fileName())
            stagedFiles.insert(name);
    page.references = findFileReferences(page.html, stagedFiles);

    const QMimeDatabase mimeTypes;
    for (const HtmlFileReference& reference : std::as_const(page.references)) {
        if (page.pictureIndex.contains(reference.fileName))
            continue;
        QFile picture(folder.filePath(reference.fileName));
        if (!picture.open(QIODevice::ReadOnly))
            return QStringLiteral("a picture LibreOffice wrote cannot be read (%1)").arg(picture.errorString());
        const QString suffix = QFileInfo(reference.fileName).suffix().toLower();
        QString outputName = QStringLiteral("image%1").arg(page.pictures.size() + 1, 3, 10, QLatin1Char('0'));
        if (!suffix.isEmpty())
            outputName += QLatin1Char('.') + suffix;
        page.pictureIndex.insert(reference.fileName, page.pictures.size());
        page.pictures.append({reference.fileName, outputName, picture.readAll(),
                              mimeTypes.mimeTypeForFile(reference.fileName, QMimeDatabase::MatchExtension)
                                  .name().toLatin1()});
    }
    return {};
}

// Replaces `path` at once: a full disk or a vanished folder leaves the old file, never a
// truncated one. The temporary name is short, so names near the length limit work.
QString writeFile(const QString& path, const QByteArray& data)
{
    const QFileInfo target(path);
    QTemporaryFile file(target.absolutePath() + QStringLiteral("/.varnello-XXXXXX"));
    const auto failure = [&](const QString& reason) {
        return QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(path), reason);
    };
    if (!file.open())
        return failure(file.errorString());
    if (file.write(data) != data.size() || !file.flush())
        return failure(file.errorString());
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                        | QFileDevice::ReadOther);
    if (::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return failure(QString::fromLocal8Bit(std::strerror(errno)));
    file.setAutoRemove(false);
    return {};
}

QString writeWebPage(const StagedPage& page, const QString& outputPath)
{
    const QFileInfo output(outputPath);
    const QString folderName = output.completeBaseName() + QStringLiteral("_files");
    if (!page.pictures.isEmpty()) {
        QDir outputFolder = output.dir();
        const QString folderPath = outputFolder.filePath(folderName);
        if (!QFileInfo(folderPath).isDir() && !outputFolder.mkdir(folderName))
            return QStringLiteral("the folder %1 cannot be created").arg(folderPath);
        for (const Picture& picture : page.pictures)
            if (QString error = writeFile(folderPath + QLatin1Char('/') + picture.outputName, picture.data);
                !error.isEmpty())
                return error;
    }
    const QByteArray folderReference = QUrl::toPercentEncoding(folderName);
    return writeFile(outputPath, replaceFileReferences(page.html, page.references, [&](const QString& name) {
        const Picture& picture = page.pictures[page.pictureIndex.value(name)];
        return folderReference + '/' + QUrl::toPercentEncoding(picture.outputName);
    }));
}

QString writeFilteredWebPage(const StagedPage& page, const QString& outputPath)
{
    return writeFile(outputPath, replaceFileReferences(page.html, page.references, [&](const QString& name) {
        const Picture& picture = page.pictures[page.pictureIndex.value(name)];
        return "data:" + picture.mediaType + ";base64," + picture.data.toBase64();
    }));
}

// Chromium serves archive parts only at absolute, non-file locations: cid: ones.
QByteArray archiveLocation(const QString& name)
{
    return "cid:" + QUrl::toPercentEncoding(name) + "@archive";
}

QString writeSingleFileArchive(const StagedPage& page, const QString& outputPath)
{
    const QByteArray html = replaceFileReferences(page.html, page.references, [&](const QString& name) {
        return archiveLocation(page.pictures[page.pictureIndex.value(name)].outputName);
    });
    QList<MimeArchivePart> resources;
    for (const Picture& picture : page.pictures)
        resources.append({picture.mediaType, archiveLocation(picture.outputName), picture.data});
    const QFileInfo output(outputPath);
    const MimeArchivePart pagePart{"text/html", archiveLocation(output.completeBaseName() + QStringLiteral(".htm")),
                                   html};
    return writeFile(outputPath, buildMimeArchive(output.completeBaseName(), pagePart, resources));
}

} // namespace

bool WebFormat::isKnown(int32_t format)
{
    return format == WebPage || format == SingleFileArchive || format == FilteredWebPage;
}

QString writeWebOutput(const QString& stagedPage, const QString& outputPath, int32_t format,
                       const QString& fallbackTitle)
{
    const QString title = fallbackTitle.isEmpty() ? QFileInfo(outputPath).completeBaseName() : fallbackTitle;
    StagedPage page;
    if (QString error = readStagedPage(stagedPage, format, title, page); !error.isEmpty())
        return error;
    if (QFileInfo(outputPath).isDir())
        return QStringLiteral("a folder of that name is in the way");
    switch (format) {
    case WebFormat::WebPage: return writeWebPage(page, outputPath);
    case WebFormat::FilteredWebPage: return writeFilteredWebPage(page, outputPath);
    case WebFormat::SingleFileArchive: return writeSingleFileArchive(page, outputPath);
    }
    return QStringLiteral("the save format %1 is not one of 8, 9 or 10").arg(format);
}
