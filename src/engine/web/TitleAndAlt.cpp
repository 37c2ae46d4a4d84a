#include "engine/web/TitleAndAlt.h"

#include "engine/web/HtmlEdits.h"
#include "engine/web/PageLanguage.h"
#include "engine/web/ParsedPage.h"
#include "engine/web/ReaderText.h"
#include "engine/web/TableHeaders.h"

#include <algorithm>

namespace {

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

const GumboAttribute* attributeNamed(const GumboNode* node, const char* name)
{
    return gumbo_get_attribute(&node->v.element.attributes, name);
}

// A generated alt text becomes an empty one.
void editAlt(const GumboNode* node, const SourceText& source, QList<HtmlEdit>& edits)
{
    const GumboAttribute* alt = attributeNamed(node, "alt");
    if (!alt) {
        if (source.contains(node->v.element.original_tag))
            edits.append({source.afterTagName(node->v.element.original_tag), 0, " alt=\"\""});
    } else if (isGeneratedAltText(alt->value) && source.contains(alt->original_value)) {
        edits.append({source.offsetOf(alt->original_value.data), qsizetype(alt->original_value.length), "\"\""});
    }
}

// A ScreenTip written as the link's target becomes its title.
void editTarget(const GumboNode* node, const SourceText& source, QList<HtmlEdit>& edits)
{
    const GumboAttribute* target = attributeNamed(node, "target");
    if (!target || !isScreenTipTarget(target->value) || !source.contains(target->original_name)
        || !source.contains(target->original_value))
        return;
    const qsizetype start = source.offsetOf(target->original_name.data);
    const QByteArray title = attributeNamed(node, "title") ? QByteArray()
                                                           : "title=\"" + escapeHtml(QByteArrayView(target->value).trimmed()) + '"';
    edits.append({start, source.endOf(target->original_value) - start, title});
}

// A header row's cell becomes a heading cell, start and end tag.
void editHeaderCell(const GumboNode* node, const SourceText& source, QList<HtmlEdit>& edits)
{
    const GumboElement& cell = node->v.element;
    if (!source.contains(cell.original_tag) || cell.original_tag.length < 3)
        return;
    edits.append({source.offsetOf(cell.original_tag.data + 1), 2, "th scope=\"col\""});
    if (source.contains(cell.original_end_tag) && cell.original_end_tag.length >= 4)
        edits.append({source.offsetOf(cell.original_end_tag.data + 2), 2, "th"});
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
    QList<HtmlEdit> edits = pageLanguageEdits(page, source);
    editTitle(page, source, fallbackTitle, edits);
    findNode(page.document(), [&](const GumboNode* node) {
        removeHidden(node, source, edits);
        if (node->type != GUMBO_NODE_ELEMENT || node->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
            return false;
        if (node->v.element.tag == GUMBO_TAG_IMG)
            editAlt(node, source, edits);
        else if (node->v.element.tag == GUMBO_TAG_A)
            editTarget(node, source, edits);
        else if (isHeaderRowCell(node))
            editHeaderCell(node, source, edits);
        return false;
    });
    std::stable_sort(edits.begin(), edits.end(), [](const HtmlEdit& a, const HtmlEdit& b) { return a.offset < b.offset; });
    return applyEdits(html, edits);
}
