#include "engine/web/PageTree.h"

#include "engine/web/LegacyMarkup.h"
#include "engine/web/ParsedPage.h"

#include <vector>

namespace {

bool isFormatting(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_SPAN: case GUMBO_TAG_FONT: case GUMBO_TAG_B: case GUMBO_TAG_I: case GUMBO_TAG_U:
    case GUMBO_TAG_S: case GUMBO_TAG_STRIKE: case GUMBO_TAG_EM: case GUMBO_TAG_STRONG: case GUMBO_TAG_SUP:
    case GUMBO_TAG_SUB: case GUMBO_TAG_SMALL: case GUMBO_TAG_BIG: case GUMBO_TAG_TT: case GUMBO_TAG_CODE:
    case GUMBO_TAG_MARK: case GUMBO_TAG_A:
        return true;
    default:
        return false;
    }
}

bool isAnchorOrLink(const GumboNode* node)
{
    return attributeValue(node, "id") || attributeValue(node, "name") || attributeValue(node, "href");
}

} // namespace

bool isElement(const GumboNode* node)
{
    return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

bool isHtmlElement(const GumboNode* node, GumboTag tag)
{
    return isElement(node) && node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML && node->v.element.tag == tag;
}

const GumboVector& childrenOf(const GumboNode* node)
{
    return node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children : node->v.element.children;
}

const GumboNode* child(const GumboNode* node, unsigned index)
{
    return static_cast<const GumboNode*>(childrenOf(node).data[index]);
}

TreeFacts::TreeFacts(const GumboNode* root)
{
    std::vector<const GumboNode*> order;
    std::vector<const GumboNode*> pending{root};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (!isElement(node))
            continue;
        order.push_back(node);
        if (const char* id = attributeValue(node, "id"))
            ids.insert(id);
        if (isHtmlElement(node, GUMBO_TAG_STYLE))
            styleSheets.append(node);
        for (unsigned i = childrenOf(node).length; i > 0; --i)
            pending.push_back(child(node, i - 1));
    }
    // Children come after their parents in `order`, so walking it backwards settles them first.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const GumboNode* node = *it;
        const GumboNode* parent = node->parent;
        if (parent && isElement(parent)
            && (isBlockLevel(node->v.element.tag) || holdsBlocks.contains(node)))
            holdsBlocks.insert(parent);
        if (!holdsContent.contains(node) && (!isFormatting(node->v.element.tag) || isAnchorOrLink(node)))
            holdsContent.insert(node);
        for (unsigned i = 0; i < childrenOf(node).length && !holdsContent.contains(node); ++i)
            if (child(node, i)->type == GUMBO_NODE_TEXT || child(node, i)->type == GUMBO_NODE_WHITESPACE
                || child(node, i)->type == GUMBO_NODE_CDATA)
                holdsContent.insert(node);
        if (parent && isElement(parent) && holdsContent.contains(node))
            holdsContent.insert(parent);
    }
}

bool TreeFacts::isEmptyFormatting(const GumboNode* element) const
{
    return isElement(element) && element->v.element.tag_namespace == GUMBO_NAMESPACE_HTML
           && isFormatting(element->v.element.tag) && !holdsContent.contains(element);
}
