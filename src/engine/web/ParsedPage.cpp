#include "engine/web/ParsedPage.h"

#include <vector>

namespace {

GumboOptions parseOptions()
{
    GumboOptions options = kGumboDefaultOptions;
    // Gumbo copies its stack of open elements into every error it records, which
    // costs time and memory by the square of the nesting: the tree is all we need.
    options.max_errors = 0;
    return options;
}

const GumboVector* childrenOf(const GumboNode* node)
{
    if (node->type == GUMBO_NODE_DOCUMENT)
        return &node->v.document.children;
    if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE)
        return &node->v.element.children;
    return nullptr;
}

} // namespace

const GumboNode* findNode(const GumboNode* node, const std::function<bool(const GumboNode*)>& visit)
{
    std::vector<const GumboNode*> pending{node};
    while (!pending.empty()) {
        const GumboNode* current = pending.back();
        pending.pop_back();
        if (visit(current))
            return current;
        if (const GumboVector* children = childrenOf(current))
            for (unsigned i = children->length; i > 0; --i)
                pending.push_back(static_cast<const GumboNode*>(children->data[i - 1]));
    }
    return nullptr;
}

ParsedPage::ParsedPage(const QByteArray& html)
{
    const GumboOptions options = parseOptions();
    output.reset(gumbo_parse_with_options(&options, html.constData(), size_t(html.size())));
}

const GumboNode* ParsedPage::first(GumboTag tag) const
{
    if (!root())
        return nullptr;
    return findNode(root(), [tag](const GumboNode* node) {
        return node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == tag;
    });
}

QString ParsedPage::title(const QString& fallback) const
{
    if (const GumboNode* title = first(GUMBO_TAG_TITLE)) {
        if (QString text = textOf(title); !text.isEmpty())
            return text;
    }
    QString heading;
    if (root())
        findNode(root(), [&heading](const GumboNode* node) {
            if (node->type != GUMBO_NODE_ELEMENT || !isHeading(node->v.element.tag))
                return false;
            heading = textOf(node);
            return !heading.isEmpty();
        });
    return heading.isEmpty() ? fallback.simplified() : heading;
}

const char* attributeValue(const GumboNode* element, const char* name)
{
    if (element->type != GUMBO_NODE_ELEMENT && element->type != GUMBO_NODE_TEMPLATE)
        return nullptr;
    const GumboAttribute* attribute = gumbo_get_attribute(&element->v.element.attributes, name);
    return attribute ? attribute->value : nullptr;
}

QString textOf(const GumboNode* node)
{
    QByteArray text;
    findNode(node, [&text](const GumboNode* current) {
        if (current->type == GUMBO_NODE_TEXT || current->type == GUMBO_NODE_WHITESPACE
            || current->type == GUMBO_NODE_CDATA) {
            text += current->v.text.text;
        } else if (current->type == GUMBO_NODE_ELEMENT && current->v.element.tag == GUMBO_TAG_BR) {
            text += ' ';
        }
        return false;
    });
    return QString::fromUtf8(text).simplified();
}

bool isHeading(GumboTag tag)
{
    return tag >= GUMBO_TAG_H1 && tag <= GUMBO_TAG_H6;
}

QByteArray escapeHtml(QByteArrayView text)
{
    QByteArray escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

bool isHiddenElement(const GumboNode* element)
{
    if (element->type != GUMBO_NODE_ELEMENT)
        return false;
    if (attributeValue(element, "hidden"))
        return true;
    QByteArray style = QByteArray(attributeValue(element, "style")).toLower();
    style.removeIf([](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
    return style.contains("display:none") || style.contains("visibility:hidden");
}
