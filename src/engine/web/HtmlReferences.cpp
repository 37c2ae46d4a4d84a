#include "engine/web/HtmlReferences.h"

#include "engine/web/HtmlEdits.h"
#include "engine/web/ParsedPage.h"

#include <QUrl>

#include <algorithm>

namespace {

// The file a relative reference names, or an empty string for anything else.
QString referencedFile(QByteArrayView text, const QSet<QString>& fileNames)
{
    const QUrl url = QUrl::fromEncoded(text.trimmed().toByteArray(), QUrl::TolerantMode);
    if (!url.isValid() || !url.isRelative() || url.hasQuery() || !url.host().isEmpty())
        return {};
    QString path = url.path(QUrl::FullyDecoded);
    if (path.startsWith(QLatin1String("./")))
        path.remove(0, 2);
    return fileNames.contains(path) ? path : QString();
}

// The url(...) references inside a piece of CSS that starts at `base` in the page.
void findCssReferences(const QByteArray& html, qsizetype base, qsizetype length,
                       const QSet<QString>& fileNames, QList<HtmlFileReference>& found)
{
    const QByteArrayView css(html.constData() + base, length);
    const QByteArray lowerCss = css.toByteArray().toLower();
    qsizetype at = 0;
    while ((at = lowerCss.indexOf("url(", at)) >= 0) {
        qsizetype start = at + 4;
        while (start < css.size() && (css[start] == ' ' || css[start] == '\t'))
            ++start;
        char close = ')';
        if (start < css.size() && (css[start] == '"' || css[start] == '\'')) {
            close = css[start];
            ++start;
        }
        qsizetype end = start;
        while (end < css.size() && css[end] != close && (close != ')' || css[end] != ' '))
            ++end;
        if (end >= css.size())
            return;
        const QString file = referencedFile(css.sliced(start, end - start), fileNames);
        if (!file.isEmpty())
            found.append({base + start, end - start, file, false});
        at = end;
    }
}

} // namespace

QList<HtmlFileReference> findFileReferences(const QByteArray& html, const QSet<QString>& fileNames)
{
    QList<HtmlFileReference> found;
    const ParsedPage page(html);
    if (!page.root())
        return found;
    const auto offsetOf = [&html](const char* data) { return qsizetype(data - html.constData()); };

    findNode(page.root(), [&](const GumboNode* node) {
        if (node->type == GUMBO_NODE_TEXT && node->parent && node->parent->type == GUMBO_NODE_ELEMENT
            && node->parent->v.element.tag == GUMBO_TAG_STYLE) {
            const GumboStringPiece& text = node->v.text.original_text;
            findCssReferences(html, offsetOf(text.data), qsizetype(text.length), fileNames, found);
            return false;
        }
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
            return false;
        const GumboElement& element = node->v.element;
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
            const GumboStringPiece& raw = attribute->original_value;
            // Attributes the parser made up (no source text) cannot be rewritten in place.
            if (!raw.data || raw.length == 0 || raw.data < html.constData()
                || raw.data + raw.length > html.constData() + html.size())
                continue;
            if (qstricmp(attribute->name, "style") == 0) {
                findCssReferences(html, offsetOf(raw.data), qsizetype(raw.length), fileNames, found);
                continue;
            }
            const QString file = referencedFile(QByteArrayView(attribute->value), fileNames);
            if (!file.isEmpty())
                found.append({offsetOf(raw.data), qsizetype(raw.length), file, true});
        }
        return false;
    });
    std::sort(found.begin(), found.end(),
              [](const HtmlFileReference& a, const HtmlFileReference& b) { return a.offset < b.offset; });
    return found;
}

QByteArray replaceFileReferences(const QByteArray& html, const QList<HtmlFileReference>& references,
                                 const std::function<QByteArray(const QString&)>& newReference)
{
    QList<HtmlEdit> edits;
    edits.reserve(references.size());
    for (const HtmlFileReference& reference : references) {
        const QByteArray replacement = newReference(reference.fileName);
        edits.append({reference.offset, reference.length,
                      reference.attribute ? '"' + replacement + '"' : replacement});
    }
    return applyEdits(html, edits);
}
