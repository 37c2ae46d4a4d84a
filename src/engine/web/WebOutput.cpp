#include "engine/web/WebOutput.h"

#include "engine/files/LocalFileName.h"
#include "engine/web/PageCharacters.h"
#include "engine/web/HtmlReferences.h"
#include "engine/web/MimeArchive.h"
#include "engine/web/CleanPage.h"
#include "engine/web/OutputFiles.h"
#include "engine/web/TitleAndAlt.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QUrl>


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
    // Relative links to files LibreOffice did not write (a linked picture, a linked
    // document) by the absolute file address they stand for: relative to the staging
    // folder they would resolve to nothing from the output folder.
    QHash<QString, QByteArray> linked;
};

// Empty for a reference into the staging folder itself, which names nothing. A link
// beside the copy LibreOffice read is one beside the document. A link to another
// document of the run leads to its page: relative, but from a web archive, whose
// page resolves nothing relative. The filtered page, which is made to be published,
// keeps what lies in the document's folder relative: an absolute address would show
// the converting machine's folders and break once the page and its files are copied.
QByteArray fileAddress(const QString& stagedPage, const QByteArray& reference, const DocumentPlace& place,
                       const QString& outputPath, int32_t format)
{
    const QUrl page = QUrl::fromLocalFile(stagedPage);
    const QUrl target = page.resolved(QUrl::fromEncoded(reference.trimmed(), QUrl::TolerantMode));
    if (target.adjusted(QUrl::RemoveFilename) == page.adjusted(QUrl::RemoveFilename))
        return {};
    QString path = target.path(QUrl::FullyDecoded);
    for (const QString& copyFolder : {place.copyFolder, place.loadedCopyFolder}) {
        if (const QString copyPrefix = copyFolder + QLatin1Char('/'); !copyFolder.isEmpty() && path.startsWith(copyPrefix)) {
            path = place.documentFolder + QLatin1Char('/') + path.sliced(copyPrefix.size());
            break;
        }
    }
    QByteArray address;
    const QString otherPage = place.pageOfDocument ? place.pageOfDocument->value(path) : QString();
    const QString documentPrefix = place.documentFolder + QLatin1Char('/');
    if (!otherPage.isEmpty() && format != int32_t(WebFormat::SingleFileArchive))
        address = LocalFileName::encode(QFileInfo(outputPath).dir().relativeFilePath(otherPage)).toPercentEncoding("/");
    else if (!otherPage.isEmpty())
        address = "file://" + LocalFileName::encode(otherPage).toPercentEncoding("/");
    else if (format == int32_t(WebFormat::FilteredWebPage) && !place.documentFolder.isEmpty() && path.startsWith(documentPrefix))
        address = LocalFileName::encode(path.sliced(documentPrefix.size())).toPercentEncoding("/");
    else
        address = "file://" + LocalFileName::encode(path).toPercentEncoding("/");
    if (target.hasFragment())
        address += '#' + QUrl::toPercentEncoding(target.fragment(QUrl::FullyDecoded));
    return address;
}

// The page as the format wants it; picture references are found afterwards, in it.
QString readStagedPage(const QString& path, const QString& outputPath, int32_t format, const QString& title,
                       const DocumentPlace& place, StagedPage& page)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("the page LibreOffice wrote cannot be read (%1)").arg(file.errorString());
    const QByteArray html = withReadableCharacters(file.readAll());
    page.html = format == int32_t(WebFormat::FilteredWebPage) ? cleanPage(html, title) : withTitleAndAlt(html, title);

    const QFileInfo pageInfo(path);
    const QDir folder = pageInfo.dir();
    QSet<QString> stagedFiles;
    for (const QString& name : folder.entryList(QDir::Files))
        if (name != pageInfo.fileName())
            stagedFiles.insert(name);
    for (HtmlFileReference& reference : findRelativeReferences(page.html)) {
        if (!stagedFiles.contains(reference.fileName) || reference.text.contains('?')) {
            const QByteArray address =
                fileAddress(path, reference.text, place, outputPath, format);
            if (address.isEmpty())
                continue;
            reference.fileName = QStringLiteral("linked:") + QString::number(page.linked.size());
            page.linked.insert(reference.fileName, address);
        }
        page.references.append(reference);
    }

    const QMimeDatabase mimeTypes;
    for (const HtmlFileReference& reference : std::as_const(page.references)) {
        if (page.pictureIndex.contains(reference.fileName) || page.linked.contains(reference.fileName))
            continue;
        QFile picture(folder.filePath(reference.fileName));
        if (!picture.open(QIODevice::ReadOnly))
            return QStringLiteral("a picture LibreOffice wrote cannot be read (%1)").arg(picture.errorString());
        QString suffix = QFileInfo(reference.fileName).suffix().toLower();
        suffix.removeIf([](QChar c) { return !(c.isDigit() || (c >= u'a' && c <= u'z')); });
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

// The page with its pictures at `pictureAddress` and its links absolute.
QByteArray rewrittenPage(const StagedPage& page, const std::function<QByteArray(const Picture&)>& pictureAddress)
{
    return replaceFileReferences(page.html, page.references, [&](const QString& name) {
        const auto link = page.linked.constFind(name);
        return link != page.linked.cend() ? *link : pictureAddress(page.pictures[page.pictureIndex.value(name)]);
    });
}

QString writeWebPage(const StagedPage& page, const QString& outputPath)
{
    OutputFiles output{outputPath, {}, QFileInfo(outputPath).completeBaseName() + QStringLiteral("_files"), {}};
    for (const Picture& picture : page.pictures)
        output.companionFiles.append({picture.outputName, picture.data});
    // The reference spells the folder's bytes on disk, also when the name is not UTF-8.
    const QByteArray folderReference = LocalFileName::encode(output.companionName).toPercentEncoding();
    output.page = rewrittenPage(page, [&](const Picture& picture) {
        return folderReference + '/' + QUrl::toPercentEncoding(picture.outputName);
    });
    return writeOutputFiles(output);
}

QString writeFilteredWebPage(const StagedPage& page, const QString& outputPath)
{
    return writeOutputFiles({outputPath, rewrittenPage(page, [](const Picture& picture) {
        const QByteArray data = picture.data.toBase64();
        QByteArray address;
        address.reserve(picture.mediaType.size() + data.size() + 16);
        return address.append("data:").append(picture.mediaType).append(";base64,").append(data);
    }), {}, {}});
}

// Chromium serves archive parts only at absolute, non-file locations: cid: ones. Our own
// plain names keep the headers ASCII, whatever the page is called.
QByteArray archiveLocation(const QString& name)
{
    return "cid:" + name.toLatin1() + "@archive";
}

QString writeSingleFileArchive(const StagedPage& page, const QString& outputPath)
{
    const QByteArray html = rewrittenPage(page, [](const Picture& picture) {
        return archiveLocation(picture.outputName);
    });
    QList<MimeArchivePart> resources;
    for (const Picture& picture : page.pictures)
        resources.append({picture.mediaType, archiveLocation(picture.outputName), picture.data});
    const MimeArchivePart pagePart{"text/html", archiveLocation(QStringLiteral("page.htm")), html};
    return writeOutputFiles(
        {outputPath, buildMimeArchive(QFileInfo(outputPath).completeBaseName(), pagePart, resources), {}, {}});
}

} // namespace

QString writeWebOutput(const QString& stagedPage, const QString& outputPath, int32_t format,
                       const QString& fallbackTitle, const DocumentPlace& place)
{
    const QString title = fallbackTitle.isEmpty() ? QFileInfo(outputPath).completeBaseName() : fallbackTitle;
    StagedPage page;
    if (QString error = readStagedPage(stagedPage, outputPath, format, title, place, page); !error.isEmpty())
        return error;
    switch (WebFormat(format)) {
    case WebFormat::WebPage: return writeWebPage(page, outputPath);
    case WebFormat::FilteredWebPage: return writeFilteredWebPage(page, outputPath);
    case WebFormat::SingleFileArchive: return writeSingleFileArchive(page, outputPath);
    }
    return QStringLiteral("the save format %1 is not one of 8, 9 or 10").arg(format);
}
