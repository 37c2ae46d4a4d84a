#include "run/PublishedIndex.h"

#include "engine/files/LocalFileName.h"
#include "run/TreeAccess.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <set>
#include <sys/stat.h>

namespace {

// Enough for the head of any page LibreOffice writes.
constexpr qint64 TitleSearchBytes = 64 * 1024;

// Marks the indexes this program writes, so that only those are ever replaced.
constexpr char GeneratorMark[] = "<meta name=\"generator\" content=\"varnello-convert\">";

QByteArray escaped(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            shown += unit;
            shown += text.at(++i);
        } else if (unit.isSurrogate() || (unit.unicode() < 0x20 && unit != QLatin1Char('\t'))) {
            shown += QChar(QChar::ReplacementCharacter); // a byte of a name that is not UTF-8
        } else {
            shown += unit;
        }
    }
    return shown.toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;")).toUtf8();
}

QByteArray link(const QString& path)
{
    return LocalFileName::encode(path).toPercentEncoding("/");
}

QString fileName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString resolveEntities(const QString& text)
{
    static const QRegularExpression entity(QStringLiteral("&(#x[0-9a-fA-F]+|#[0-9]+|amp|lt|gt|quot|apos|nbsp);"));
    QString result;
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += text.mid(from, match.capturedStart() - from);
        const QString name = match.captured(1);
        if (name.startsWith(QLatin1Char('#'))) {
            const bool hex = name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive);
            const uint code = name.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
            result += code > 0 && code <= 0x10FFFF ? QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1)
                                                   : QString(QChar(QChar::ReplacementCharacter));
        } else {
            static const std::map<QString, QString> named{{"amp", "&"}, {"lt", "<"},   {"gt", ">"},
                                                          {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}};
            result += named.at(name);
        }
        from = match.capturedEnd();
    }
    return result + text.mid(from);
}

} // namespace

QString pageTitle(const QByteArray& pageStart)
{
    const QByteArray lower = pageStart.toLower();
    const qsizetype open = lower.indexOf("<title");
    const qsizetype start = open < 0 ? -1 : lower.indexOf('>', open);
    const qsizetype end = start < 0 ? -1 : lower.indexOf("</title", start);
    if (end < 0)
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(pageStart.mid(start + 1, end - start - 1));
    if (utf8.hasError())
        return {};
    return resolveEntities(text).simplified();
}

QByteArray indexPage(const QString& folderName, const QList<IndexedPage>& pages, const QStringList& subfolders,
                     const QList<FailedDocument>& failed)
{
    const QByteArray title = "Pages in " + escaped(folderName);
    QByteArray html = QByteArray("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n") + GeneratorMark
                      + "\n<title>" + title
                      + "</title>\n</head>\n<body>\n<h1>" + title + "</h1>\n";
    if (pages.isEmpty())
        html += "<p>No pages yet.</p>\n";
    else
        html += "<ul>\n";
    for (const IndexedPage& page : pages)
        html += "<li><a href=\"" + link(page.page) + "\">" + escaped(page.title) + "</a> (from "
                + escaped(fileName(page.source)) + ")</li>\n";
    if (!pages.isEmpty())
        html += "</ul>\n";
    if (!subfolders.isEmpty()) {
        html += "<h2>Folders</h2>\n<ul>\n";
        for (const QString& subfolder : subfolders)
            html += "<li><a href=\"" + link(subfolder) + "/" + IndexFileName + "\">" + escaped(subfolder) + "</a></li>\n";
        html += "</ul>\n";
    }
    if (!failed.isEmpty()) {
        html += "<h2>Documents that failed</h2>\n<ul>\n";
        for (const FailedDocument& document : failed)
            html += "<li>" + escaped(fileName(document.source)) + ": " + escaped(document.reason) + "</li>\n";
        html += "</ul>\n";
    }
    return html + "</body>\n</html>\n";
}

namespace {

// The pages still there, each with its title; a page removed by hand is not linked.
QList<IndexedPage> presentPages(int folder, const QList<IndexedPage>& pages)
{
    QList<IndexedPage> present;
    for (IndexedPage page : pages) {
        const std::optional<QByteArray> start =
            TreeAccess::readStart(folder, LocalFileName::encode(page.page), TitleSearchBytes);
        if (!start)
            continue;
        page.title = pageTitle(*start);
        if (page.title.isEmpty())
            page.title = page.page;
        present.append(page);
    }
    return present;
}

// The sub-folders directly in `subfolder`, by their names there.
QStringList childrenOf(const QString& subfolder, const std::map<QString, QList<IndexedPage>>& folders)
{
    QStringList children;
    for (const auto& [other, _] : folders)
        if (!other.isEmpty() && other.left(qMax<qsizetype>(0, other.lastIndexOf('/'))) == subfolder)
            children << (subfolder.isEmpty() ? other : other.mid(subfolder.size() + 1));
    return children;
}

// An index.html the user wrote must not be replaced: only one this program wrote (it
// carries this mark) or none at all.
QString whyNotReplaced(int folder)
{
    struct stat status {};
    if (fstatat(folder, IndexFileName, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? QString() : QStringLiteral("it cannot be examined");
    const std::optional<QByteArray> start = TreeAccess::readStart(folder, IndexFileName, 4096);
    if (start && start->contains(GeneratorMark))
        return {};
    return QStringLiteral("a file of that name that varnello-convert did not write is in the way; it was left as "
                          "it is");
}

} // namespace

QStringList writeIndexes(int root, const QString& rootName, const RunManifest& manifest, WebFormat format,
                         ExtensionLength extension, const QList<FailedDocument>& failed)
{
    std::map<QString, QList<IndexedPage>> pagesByFolder{{QString(), {}}};
    std::map<QString, QList<FailedDocument>> failedByFolder;
    for (const ManifestEntry& entry : manifest.entries())
        if (entry.format == format && entry.extension == extension)
            pagesByFolder[entry.subfolder].append({entry.page, {}, entry.source});
    for (const FailedDocument& document : failed) {
        failedByFolder[document.subfolder].append(document);
        pagesByFolder.try_emplace(document.subfolder);
    }
    // Every folder on the way has an index, so that each is reached from the top.
    for (const auto& [subfolder, _] : std::map(pagesByFolder))
        for (qsizetype slash = subfolder.lastIndexOf('/'); slash > 0; slash = subfolder.lastIndexOf('/', slash - 1))
            pagesByFolder.try_emplace(subfolder.left(slash));
    QStringList problems;
    for (const auto& [subfolder, pages] : pagesByFolder) {
        const QString index = (subfolder.isEmpty() ? QString() : subfolder + QLatin1Char('/')) + IndexFileName;
        const PlainDescriptor folder = TreeAccess::openFolderBelow(root, subfolder);
        QString problem = !folder.isValid() ? QStringLiteral("the folder cannot be entered") : whyNotReplaced(folder.get());
        if (problem.isEmpty())
            problem = TreeAccess::replaceFile(folder.get(), IndexFileName,
                                                        indexPage(subfolder.isEmpty() ? rootName : fileName(subfolder),
                                                                  presentPages(folder.get(), pages),
                                                                  childrenOf(subfolder, pagesByFolder),
                                                                  failedByFolder[subfolder]));
        if (!problem.isEmpty())
            problems << index + QStringLiteral(": ") + problem;
    }
    return problems;
}
