#include "WebArchivePage.h"

#include "SvgReferences.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

#include <optional>

namespace {

using Option = QRegularExpression::PatternOption;

// Part locations and references are compared as absolute URLs where a base allows;
// Word writes Windows paths, so backslashes count as slashes and file: URLs ignore case.
QString locationKey(const QByteArray& reference, const QUrl& base)
{
    QByteArray text = reference.trimmed();
    text.replace('\\', '/');
    QUrl url = QUrl::fromEncoded(text, QUrl::TolerantMode);
    if (base.isValid() && !base.isRelative())
        url = base.resolved(url);
    url = url.adjusted(QUrl::NormalizePathSegments | QUrl::RemoveFragment);
    QString key = url.toString(QUrl::FullyEncoded);
    return url.scheme() == QLatin1String("file") ? key.toLower() : key;
}

bool isPicture(const WebArchivePart& part)
{
    return part.mediaType.startsWith("image/") || part.mediaType == "application/octet-stream";
}

// Only a plain media type token goes into a data: URI.
QByteArray plainMediaType(const QByteArray& type)
{
    static const QRegularExpression plain(QStringLiteral("\\A[a-z0-9.+-]+/[a-z0-9.+-]+\\z"));
    return plain.match(QString::fromLatin1(type)).hasMatch() ? type : QByteArray("application/octet-stream");
}

// A charset name as it may stand in a meta element.
QByteArray plainCharset(const QByteArray& name)
{
    static const QRegularExpression plain(QStringLiteral("\\A[A-Za-z0-9._:-]{1,40}\\z"));
    return plain.match(QString::fromLatin1(name)).hasMatch() ? name : QByteArray();
}

// The page in an encoding that leaves ASCII as it is, so that ASCII can be spliced in:
// UTF-16 and UTF-32 pages become UTF-8.
QByteArray asciiCompatible(const QByteArray& data, QByteArray& charset)
{
    std::optional<QStringConverter::Encoding> wide = QStringConverter::encodingForData(data);
    if (!wide && (charset.startsWith("utf-16") || charset.startsWith("utf-32")))
        wide = QStringConverter::encodingForName(charset.constData()); // with or without "le"/"be"
    if (!wide || *wide == QStringConverter::Utf8) {
        if (wide) // a UTF-8 byte-order mark says more than the header
            charset = "utf-8";
        return data;
    }
    charset = "utf-8";
    QStringDecoder decoder(*wide);
    return QString(decoder(data)).toUtf8();
}

class PageBuilder {
public:
    PageBuilder(const WebArchive& archive, qint64 maximumSize)
        : archive(archive), maximumSize(maximumSize),
          partBase(QUrl::fromEncoded(archive.contentLocation.trimmed(), QUrl::TolerantMode))
    {
        for (qsizetype i = 0; i < archive.parts.size(); ++i) {
            const WebArchivePart& part = archive.parts[i];
            if (!part.contentId.isEmpty())
                byContentId.insert(part.contentId, i);
            if (!part.contentLocation.isEmpty()) {
                byLocation.insert(locationKey(part.contentLocation, partBase), i);
                byLocation.insert(locationKey(part.contentLocation, {}), i);
            }
        }
    }

    // The part the multipart's start parameter names, else the first page.
    std::optional<qsizetype> rootPart() const
    {
        const auto isPage = [&](qsizetype i) {
            return archive.parts[i].mediaType == "text/html" || archive.parts[i].mediaType == "application/xhtml+xml";
        };
        if (const auto start = byContentId.find(archive.start); !archive.start.isEmpty() && start != byContentId.end()
                                                                 && isPage(*start))
            return *start;
        for (qsizetype i = 0; i < archive.parts.size(); ++i)
            if (isPage(i))
                return i;
        return std::nullopt;
    }

    // The root page with its references made self-contained; false when it grows too large.
    bool build(qsizetype root, const QUrl& archiveFile, QByteArray& page)
    {
        QByteArray charset = plainCharset(archive.parts[root].charset.trimmed());
        const QByteArray html = asciiCompatible(archive.parts[root].data, charset);
        this->charset = charset;
        if (!charset.isEmpty())
            page = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset + "\">\n";
        const QUrl rootBase = baseOf(root);
        const bool onTheWeb = rootBase.scheme() == QLatin1String("http") || rootBase.scheme() == QLatin1String("https");
        const QUrl base = onTheWeb ? rootBase : archiveFile;
        if (base.isValid())
            page += "<base href=\"" + base.toEncoded(QUrl::FullyEncoded).replace("&", "&amp;") + "\">\n";
        return rewrite(html, rootBase, true, page);
    }

private:
    QUrl baseOf(qsizetype index) const
    {
        const QByteArray& location = archive.parts[index].contentLocation;
        if (location.isEmpty())
            return partBase;
        QByteArray text = location.trimmed();
        text.replace('\\', '/');
        const QUrl url = QUrl::fromEncoded(text, QUrl::TolerantMode);
        return partBase.isValid() && !partBase.isRelative() ? partBase.resolved(url) : url;
    }

    std::optional<qsizetype> find(QByteArray reference, const QUrl& base) const
    {
        reference = reference.trimmed().replace("&amp;", "&");
        if (reference.isEmpty() || reference.startsWith('#') || reference.startsWith("data:"))
            return std::nullopt;
        if (reference.left(4).toLower() == "cid:") {
            const auto found = byContentId.find(QByteArray::fromPercentEncoding(reference.mid(4)));
            return found == byContentId.end() ? std::nullopt : std::optional(*found);
        }
        for (const QUrl& from : {base, QUrl()}) {
            const auto found = byLocation.find(locationKey(reference, from));
            if (found != byLocation.end())
                return *found;
        }
        return std::nullopt;
    }

    const QByteArray& dataUri(qsizetype index)
    {
        auto cached = dataUris.find(index);
        if (cached == dataUris.end()) {
            const WebArchivePart& part = archive.parts[index];
            const QByteArray data = isSvgPicture(part.mediaType, part.data) ? withoutExternalReferences(part.data) : part.data;
            cached = dataUris.insert(index, "data:" + plainMediaType(part.mediaType) + ";base64," + data.toBase64());
        }
        return *cached;
    }

    // What a reference becomes: a picture of the archive its data: URI, else nothing.
    std::optional<QByteArray> pictureFor(const QByteArray& reference, const QUrl& base)
    {
        const auto index = find(reference, base);
        if (!index || !isPicture(archive.parts[*index]))
            return std::nullopt;
        return dataUri(*index);
    }

    // A <link rel=stylesheet> to a style sheet of the archive becomes a <style> element.
    std::optional<QByteArray> inlinedStyleSheet(const QString& tag, const QUrl& base)
    {
        static const QRegularExpression attribute(
            QStringLiteral("([A-Za-z_:][-A-Za-z0-9_:.]*)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"));
        QByteArray rel, href;
        for (const auto& match : attribute.globalMatch(tag)) {
            const QString name = match.captured(1).toLower();
            const QByteArray value = (match.captured(2) + match.captured(3) + match.captured(4)).toLatin1();
            if (name == QLatin1String("rel"))
                rel = value.toLower();
            else if (name == QLatin1String("href"))
                href = value;
        }
        const auto index = find(href, base);
        if (!rel.contains("stylesheet") || !index || archive.parts[*index].mediaType != "text/css")
            return std::nullopt;
        QByteArray style = "<style type=\"text/css\">\n";
        if (!rewrite(archive.parts[*index].data, baseOf(*index), false, style)) {
            tooLarge = true;
            return std::nullopt;
        }
        return style + "\n</style>";
    }

    // Copies `text` to `out`, replacing the references it finds. Positions in the Latin-1
    // view are byte positions, so bytes of any charset are copied unchanged. Each pattern
    // stops where another match of its kind could start, so hostile markup cannot make
    // the search quadratic.
    bool rewrite(const QByteArray& text, const QUrl& base, bool isPage, QByteArray& out)
    {
        static const QRegularExpression reference(
            QStringLiteral("(?<link><link\\b[^<>]*>)"
                           "|(?<meta><meta\\b[^<>]*>)"
                           "|\\burl\\(\\s*(?:\"(?<u1>[^\"]*)\"|'(?<u2>[^']*)'|(?<u3>[^\"'()\\s]*))\\s*\\)"
                           "|\\b(?:src|href|background|lowsrc|dynsrc|poster)\\s*=\\s*"
                           "(?:\"(?<a1>[^\"]*)\"|'(?<a2>[^']*)'|(?<a3>[^\\s\"'>]+))"),
            Option::CaseInsensitiveOption);
        static const QRegularExpression metaCharset(QStringLiteral("(charset\\s*=\\s*[\"']?)[A-Za-z0-9._:-]+"),
                                                    Option::CaseInsensitiveOption);
        const QString view = QString::fromLatin1(text);
        qsizetype copied = 0;
        const auto put = [&](qsizetype from, qsizetype to, const QByteArray& replacement) {
            out += QByteArrayView(text).sliced(copied, from - copied);
            out += replacement;
            copied = to;
            return out.size() <= maximumSize;
        };
        for (const auto& match : reference.globalMatch(view)) {
            std::optional<QByteArray> replacement;
            qsizetype from = match.capturedStart(), to = match.capturedEnd();
            if (match.hasCaptured(QStringLiteral("link"))) {
                if (isPage)
                    replacement = inlinedStyleSheet(match.captured(QStringLiteral("link")), base);
                if (tooLarge)
                    return false;
            } else if (match.hasCaptured(QStringLiteral("meta"))) {
                // The page is read in the charset declared in front of it; no other may contradict it.
                if (isPage && !charset.isEmpty())
                    replacement = match.captured()
                                      .replace(metaCharset, QStringLiteral("\\1") + QString::fromLatin1(charset))
                                      .toLatin1();
            } else {
                for (const char* group : {"u1", "u2", "u3", "a1", "a2", "a3"}) {
                    const QString name = QString::fromLatin1(group);
                    if (!match.hasCaptured(name))
                        continue;
                    replacement = pictureFor(match.captured(name).toLatin1(), base);
                    from = match.capturedStart(name);
                    to = match.capturedEnd(name);
                    break;
                }
            }
            if (replacement && !put(from, to, *replacement))
                return false;
        }
        return put(text.size(), text.size(), {});
    }

    const WebArchive& archive;
    const qint64 maximumSize;
    const QUrl partBase; // the message's own location, which the parts' locations resolve from
    QByteArray charset;
    bool tooLarge = false; // a style sheet grew past the limit
    QHash<QByteArray, qsizetype> byContentId;
    QHash<QString, qsizetype> byLocation;
    QHash<qsizetype, QByteArray> dataUris;
};

} // namespace

WebArchivePage webArchivePage(const WebArchive& archive, const QUrl& archiveFile, qint64 maximumSize)
{
    PageBuilder builder(archive, maximumSize);
    const auto root = builder.rootPart();
    if (!root)
        return {WebArchivePage::Outcome::NoPage, {}};
    WebArchivePage page;
    if (!builder.build(*root, archiveFile, page.html))
        return {WebArchivePage::Outcome::TooLarge, {}};
    // The page's own data: pictures; those made of the archive's parts are clean already.
    page.html = withSafeSvgDataUris(page.html);
    return page;
}
