#include "engine/web/TableHeaders.h"

bool isHeaderRowCell(const GumboNode* node)
{
    if (node->type != GUMBO_NODE_ELEMENT || node->v.element.tag != GUMBO_TAG_TD
        || node->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
        return false;
    const GumboNode* row = node->parent;
    const GumboNode* group = row ? row->parent : nullptr;
    return row && row->type == GUMBO_NODE_ELEMENT && row->v.element.tag == GUMBO_TAG_TR && group
           && group->type == GUMBO_NODE_ELEMENT && group->v.element.tag == GUMBO_TAG_THEAD;
}
