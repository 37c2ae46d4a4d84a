#include "engine/web/HtmlReferences.h"

#include "engine/web/HtmlEdits.h"
#include "engine/web/ParsedPage.h"

#include <QUrl>

#include <algorithm>

namespace {

// Which references a search wants: given the path a relative reference names (and
// whether it has a query), the name to record, or an empty string to pass it by.
using Wanted = std::function<QString(const QString& path, bool hasQuery)>;

// Attributes whose value is an address; any other (a title, a class, a meta
// content) is text, whatever it looks like.
bool holdsAddress(const char* attribute)
{
    static constexpr const char* addressAttributes[] = {"src",  "href",     "background", "lowsrc", "dynsrc",
                                                        "data", "poster",   "longdesc",   "cite",   "action",
                                                        "codebase", "usemap", "formaction"};
    return std::any_of(std::begin(addressAttributes), std::end(addressAttributes),
                       [attribute](const char* name) { return qstricmp(attribute, name) == 0; });
}

QString referencedFile(QByteArrayView text, const Wanted& wanted)
{
    const QUrl url = QUrl::fromEncoded(text.trimmed().toByteArray(), QUrl::TolerantMode);
    if (!url.isValid() || !url.isRelative() || !url.host().isEmpty())
        return {};
    QString path = url.path(QUrl::FullyDecoded);
    if (path.isEmpty())
        return {}; // a place in the page itself
    if (path.startsWith(QLatin1String("./")))
        path.remove(0, 2);
    return wanted(path, url.hasQuery());
}

// The url(...) references inside a piece of CSS that starts at `base` in the page.
void findCssReferences(const QByteArray& html, qsizetype base, qsizetype length,
                       const Wanted& wanted, QList<HtmlFileReference>& found)
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
        const QString file = referencedFile(css.sliced(start, end - start), wanted);
        if (!file.isEmpty())
            found.append({base + start, end - start, file, false, css.sliced(start, end - start).toByteArray()});
        at = end;
    }
}

QList<HtmlFileReference> findReferences(const QByteArray& html, const Wanted& wanted)
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
            findCssReferences(html, offsetOf(text.data), qsizetype(text.length), wanted, found);
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
                findCssReferences(html, offsetOf(raw.data), qsizetype(raw.length), wanted, found);
                continue;
            }
            if (!holdsAddress(attribute->name))
                continue;
            const QString file = referencedFile(QByteArrayView(attribute->value), wanted);
            if (!file.isEmpty())
                found.append({offsetOf(raw.data), qsizetype(raw.length), file, true, QByteArray(attribute->value)});
        }
        return false;
    });
    std::sort(found.begin(), found.end(),
              [](const HtmlFileReference& a, const HtmlFileReference& b) { return a.offset < b.offset; });
    return found;
}

} // namespace

QList<HtmlFileReference> findFileReferences(const QByteArray& html, const QSet<QString>& fileNames)
{
    return findReferences(html, [&](const QString& path, bool hasQuery) {
        return !hasQuery && fileNames.contains(path) ? path : QString();
    });
}

QList<HtmlFileReference> findRelativeReferences(const QByteArray& html)
{
    return findReferences(html, [](const QString& path, bool) { return path; });
}

QByteArray replaceFileReferences(const QByteArray& html, const QList<HtmlFileReference>& references,
                                 const std::function<QByteArray(const QString&)>& newReference)
{
    QList<HtmlEdit> edits;
    edits.reserve(references.size());
    for (const HtmlFileReference& reference : references) {
        QByteArray replacement = newReference(reference.fileName);
        if (reference.attribute) {
            // Quoted in place: a picture's inlined data runs to megabytes.
            replacement.reserve(replacement.size() + 2);
            replacement.prepend('"').append('"');
        }
        edits.append({reference.offset, reference.length, std::move(replacement)});
    }
    return applyEdits(html, edits);
}
