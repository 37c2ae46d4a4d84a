#include "engine/web/TitleAndAlt.h"

#include "engine/web/HtmlEdits.h"
#include "engine/web/ParsedPage.h"

#include <algorithm>

namespace {

class SourceText {
public:
    explicit SourceText(const QByteArray& html) : html(html) {}

    bool contains(const GumboStringPiece& piece) const
    {
        return piece.data && piece.length > 0 && piece.data >= html.constData()
               && piece.data + piece.length <= html.constData() + html.size();
    }
    qsizetype offsetOf(const char* data) const { return qsizetype(data - html.constData()); }
    qsizetype endOf(const GumboStringPiece& piece) const { return offsetOf(piece.data) + qsizetype(piece.length); }

private:
    const QByteArray& html;
};

// Where the title goes when the page has none: right after <head>, else after <html>.
qsizetype titlePlace(const ParsedPage& page, const SourceText& source)
{
    for (GumboTag tag : {GUMBO_TAG_HEAD, GUMBO_TAG_HTML}) {
        const GumboNode* element = page.first(tag);
        if (element && source.contains(element->v.element.original_tag))
            return source.endOf(element->v.element.original_tag);
    }
    return 0;
}

void editTitle(const ParsedPage& page, const SourceText& source, const QString& fallbackTitle,
               QList<HtmlEdit>& edits)
{
    const QByteArray title = escapeHtml(page.title(fallbackTitle).toUtf8());
    const GumboNode* element = page.first(GUMBO_TAG_TITLE);
    if (!element) {
        edits.append({titlePlace(page, source), 0, "<title>" + title + "</title>"});
        return;
    }
    if (!textOf(element).isEmpty())
        return;
    const GumboElement& tags = element->v.element;
    if (source.contains(tags.original_tag) && source.contains(tags.original_end_tag)) {
        const qsizetype start = source.endOf(tags.original_tag);
        edits.append({start, source.offsetOf(tags.original_end_tag.data) - start, title});
    } else if (source.contains(tags.original_tag)) {
        edits.append({source.endOf(tags.original_tag), 0, title + "</title>"});
    }
}

// Right after the tag name, where an attribute can always go.
qsizetype afterTagName(const GumboStringPiece& tag, const SourceText& source)
{
    size_t at = 1;
    while (at < tag.length && std::isalnum(uchar(tag.data[at])))
        ++at;
    return source.offsetOf(tag.data + at);
}

// Comments (LibreOffice writes a document's comments as ones) and elements no reader
// sees, with what they hold; an element is taken out only when both its tags are written.
void removeHidden(const GumboNode* node, const SourceText& source, QList<HtmlEdit>& edits)
{
    if (node->type == GUMBO_NODE_COMMENT && source.contains(node->v.text.original_text)) {
        const GumboStringPiece& text = node->v.text.original_text;
        edits.append({source.offsetOf(text.data), qsizetype(text.length), {}});
    } else if (isHiddenElement(node) && source.contains(node->v.element.original_tag)
               && source.contains(node->v.element.original_end_tag)) {
        const qsizetype start = source.offsetOf(node->v.element.original_tag.data);
        edits.append({start, source.endOf(node->v.element.original_end_tag) - start, {}});
    }
}

} // namespace

QByteArray withTitleAndAlt(const QByteArray& html, const QString& fallbackTitle)
{
    const ParsedPage page(html);
    if (!page.root())
        return html;
    const SourceText source(html);
    QList<HtmlEdit> edits;
    editTitle(page, source, fallbackTitle, edits);
    findNode(page.document(), [&](const GumboNode* node) {
        removeHidden(node, source, edits);
        if (node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == GUMBO_TAG_IMG
            && node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML && !attributeValue(node, "alt")
            && source.contains(node->v.element.original_tag))
            edits.append({afterTagName(node->v.element.original_tag, source), 0, " alt=\"\""});
        return false;
    });
    std::stable_sort(edits.begin(), edits.end(), [](const HtmlEdit& a, const HtmlEdit& b) { return a.offset < b.offset; });
    return applyEdits(html, edits);
}
