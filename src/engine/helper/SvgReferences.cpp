#include "SvgReferences.h"

#include <QRegularExpression>

namespace {

using Option = QRegularExpression::PatternOption;

// Deeper nesting of SVG pictures in SVG pictures is not drawn at all.
constexpr int deepestNesting = 4;

QByteArray scrubbed(const QByteArray& svg, int depth);

// A data: URI with an SVG picture in it scrubbed; empty when it is nested too deep.
QByteArray scrubbedDataUri(const QByteArray& uri, int depth)
{
    const qsizetype comma = uri.indexOf(',');
    if (comma < 0)
        return uri;
    const QByteArray header = uri.left(comma);
    if (!header.toLower().startsWith("data:image/svg"))
        return uri;
    if (depth >= deepestNesting)
        return {};
    const bool base64 = header.toLower().endsWith(";base64");
    const QByteArray payload = uri.mid(comma + 1);
    const QByteArray svg = base64 ? QByteArray::fromBase64(QByteArray::fromPercentEncoding(payload))
                                  : QByteArray::fromPercentEncoding(payload);
    return "data:image/svg+xml;base64," + scrubbed(svg, depth + 1).toBase64();
}

QByteArray scrubbed(const QByteArray& svg, int depth)
{
    static const QRegularExpression doctype(QStringLiteral("<!DOCTYPE[^\\[>]*(?:\\[[^\\]]*\\])?[^>]*>"),
                                            Option::CaseInsensitiveOption);
    static const QRegularExpression reference(
        QStringLiteral("\\b((?:[A-Za-z_][-A-Za-z0-9_.]*:)?href)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
        Option::CaseInsensitiveOption);
    const QString view = QString::fromLatin1(svg).remove(doctype);
    QByteArray out;
    qsizetype copied = 0;
    for (const auto& match : reference.globalMatch(view)) {
        const QString value = match.captured(2) + match.captured(3);
        const QByteArray trimmed = value.trimmed().toLatin1();
        QByteArray kept;
        if (trimmed.startsWith('#'))
            continue;
        if (trimmed.left(5).toLower() == "data:")
            kept = scrubbedDataUri(trimmed, depth);
        out += view.sliced(copied, match.capturedStart() - copied).toLatin1();
        // An empty reference would make the reader drop the whole picture: none at all.
        if (!kept.isEmpty())
            out += match.captured(1).toLatin1() + "=\"" + kept + '"';
        copied = match.capturedEnd();
    }
    return out + view.sliced(copied).toLatin1();
}

} // namespace

QByteArray withoutExternalReferences(const QByteArray& svg)
{
    return scrubbed(svg, 0);
}

bool isSvgPicture(const QByteArray& mediaType, const QByteArray& data)
{
    if (mediaType.toLower().startsWith("image/svg"))
        return true;
    const QByteArray head = data.left(512).trimmed().toLower();
    return (head.startsWith("<?xml") || head.startsWith("<svg") || head.startsWith("<!doctype svg"))
           && head.contains("<svg");
}

QByteArray withSafeSvgDataUris(const QByteArray& text)
{
    static const QRegularExpression uri(QStringLiteral("data:image/svg[^\"'\\s()<>]*"), Option::CaseInsensitiveOption);
    const QString view = QString::fromLatin1(text);
    QByteArray out;
    qsizetype copied = 0;
    for (const auto& match : uri.globalMatch(view)) {
        out += QByteArrayView(text).sliced(copied, match.capturedStart() - copied);
        out += scrubbedDataUri(match.captured().toLatin1(), 0);
        copied = match.capturedEnd();
    }
    out += QByteArrayView(text).sliced(copied);
    return out;
}
