#include "engine/web/CleanPage.h"

#include "engine/web/LegacyMarkup.h"
#include "engine/web/ParsedPage.h"
#include "engine/web/StyleSheet.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

namespace {

// One class per distinct set of declarations, each rule wrapped in :where() so that
// it weighs nothing: like the presentational attributes it replaces, any rule of
// the page's own style sheet still wins over it.
class HintClasses {
public:
    QByteArray classFor(const QByteArray& declarations)
    {
        auto found = classes.constFind(declarations);
        if (found != classes.constEnd())
            return *found;
        const QByteArray name = "s" + QByteArray::number(classes.size() + 1);
        classes.insert(declarations, name);
        rules += ":where(." + name + ") { " + declarations + " }\n";
        return name;
    }
    QByteArray rules;

private:
    QHash<QByteArray, QByteArray> classes;
};

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

bool isVoid(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_AREA: case GUMBO_TAG_BR: case GUMBO_TAG_COL: case GUMBO_TAG_EMBED: case GUMBO_TAG_HR:
    case GUMBO_TAG_IMG: case GUMBO_TAG_IMAGE: case GUMBO_TAG_INPUT: case GUMBO_TAG_PARAM: case GUMBO_TAG_SOURCE:
    case GUMBO_TAG_TRACK: case GUMBO_TAG_WBR:
        return true;
    default:
        return false;
    }
}

QByteArray languageTag(const char* value)
{
    QByteArray tag = QByteArray(value ? value : "").trimmed();
    const bool plain = tag.size() <= 35 && std::all_of(tag.begin(), tag.end(), [](char c) {
        return std::isalnum(uchar(c)) || c == '-';
    });
    return plain ? tag : QByteArray();
}

// What the whole tree says before it is written: the ids in use, the style sheets,
// and which elements hold block-level content somewhere below them.
struct TreeFacts {
    QSet<QByteArray> ids;
    QList<const GumboNode*> styleSheets;
    QSet<const GumboNode*> holdsBlocks;

    explicit TreeFacts(const GumboNode* root)
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
        }
    }
};

class BodyWriter {
public:
    BodyWriter(TreeFacts& facts, HintClasses& hints) : facts(facts), hints(hints) {}

    // Written with a stack of its own: pages nest deeply enough to matter.
    QByteArray write(const GumboNode* body)
    {
        pending.push_back({body, {}});
        while (!pending.empty()) {
            Item item = std::move(pending.back());
            pending.pop_back();
            if (item.node)
                writeNode(item.node);
            else
                out += item.text;
        }
        return std::move(out);
    }

private:
    struct Item {
        const GumboNode* node; // to write, or null to emit `text` as it is
        QByteArray text;
    };

    void writeNode(const GumboNode* node)
    {
        switch (node->type) {
        case GUMBO_NODE_TEXT: case GUMBO_NODE_WHITESPACE: case GUMBO_NODE_CDATA:
            out += escapeHtml(node->v.text.text);
            return;
        case GUMBO_NODE_ELEMENT: case GUMBO_NODE_TEMPLATE:
            if (node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML)
                writeElement(node);
            else
                pushChildren(node); // foreign markup: its text only
            return;
        default:
            return; // comments and the like
        }
    }

    void writeElement(const GumboNode* node)
    {
        if (isHiddenElement(node))
            return;
        const GumboElement& element = node->v.element;
        CleanElement clean = cleanElement(node);
        if (clean.fate == CleanElement::Fate::Drop)
            return;
        if (clean.fate == CleanElement::Fate::Unwrap || (clean.mayHoldBlocks && element.children.length == 0)) {
            pushChildren(node);
            return;
        }
        if (clean.mayHoldBlocks && facts.holdsBlocks.contains(node))
            clean.name = "div";

        out += '<' + clean.name;
        QByteArray classes;
        bool hasId = false;
        for (const auto& [name, value] : std::as_const(clean.attributes)) {
            if (name == "class")
                classes = value;
            else if (name == "id")
                hasId = true;
        }
        for (const auto& [name, value] : std::as_const(clean.attributes)) {
            if (name == "class")
                continue;
            if (name == "name") {
                // An anchor's name becomes its id, unless that would repeat one.
                if (hasId || value.isEmpty() || facts.ids.contains(value))
                    continue;
                facts.ids.insert(value);
                out += " id=\"" + escapeHtml(value) + '"';
                continue;
            }
            if (name == "style") {
                if (const QByteArray style = withoutInventedProperties(value); !style.trimmed().isEmpty())
                    out += " style=\"" + escapeHtml(style) + '"';
                continue;
            }
            out += ' ' + name + "=\"" + escapeHtml(value) + '"';
        }
        if (!clean.declarations.isEmpty())
            classes = (classes.trimmed() + ' ' + hints.classFor(clean.declarations)).trimmed();
        if (!classes.isEmpty())
            out += " class=\"" + escapeHtml(classes) + '"';
        out += '>';
        if (isVoid(element.tag))
            return;
        // The parser drops a newline right after <pre>: one more keeps the text's own.
        if ((clean.name == "pre" || clean.name == "textarea") && element.children.length > 0) {
            const GumboNode* first = child(node, 0);
            if ((first->type == GUMBO_NODE_TEXT || first->type == GUMBO_NODE_WHITESPACE)
                && first->v.text.text[0] == '\n')
                out += '\n';
        }
        pending.push_back({nullptr, "</" + clean.name + '>'});
        if (clean.name == "ul" || clean.name == "ol" || clean.name == "menu")
            pushListChildren(node);
        else
            pushChildren(node);
    }

    void pushChildren(const GumboNode* node)
    {
        for (unsigned i = childrenOf(node).length; i > 0; --i)
            pending.push_back({child(node, i - 1), {}});
    }

    // A list holds list items only: whatever else LibreOffice put straight into one
    // (a nested list, a paragraph) goes into an item that shows no marker and
    // takes no number.
    void pushListChildren(const GumboNode* list)
    {
        std::vector<Item> items;
        bool wrapped = false;
        for (unsigned i = 0; i < childrenOf(list).length; ++i) {
            const GumboNode* node = child(list, i);
            const bool isItem = isHtmlElement(node, GUMBO_TAG_LI);
            const bool fits = isItem || node->type == GUMBO_NODE_WHITESPACE || node->type == GUMBO_NODE_COMMENT
                              || isHtmlElement(node, GUMBO_TAG_SCRIPT) || isHtmlElement(node, GUMBO_TAG_TEMPLATE);
            if (!fits && !wrapped) {
                items.push_back({nullptr, "<li class=\"" + hints.classFor("display: block") + "\">"});
                wrapped = true;
            } else if (isItem && wrapped) {
                items.push_back({nullptr, "</li>"});
                wrapped = false;
            }
            items.push_back({node, {}});
        }
        if (wrapped)
            items.push_back({nullptr, "</li>"});
        std::move(items.rbegin(), items.rend(), std::back_inserter(pending));
    }

    TreeFacts& facts;
    HintClasses& hints;
    std::vector<Item> pending;
    QByteArray out;
};

QByteArray styleSheetText(const GumboNode* style)
{
    QByteArray text;
    for (unsigned i = 0; i < style->v.element.children.length; ++i) {
        const GumboNode* node = child(style, i);
        if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE)
            text += node->v.text.text;
    }
    return text;
}

// Only what describes the document's content: never who wrote or edited it, when,
// or for which company.
QByteArray keptMetadata(const GumboNode* head)
{
    QByteArray kept;
    if (!head)
        return kept;
    for (unsigned i = 0; i < head->v.element.children.length; ++i) {
        const GumboNode* node = child(head, i);
        if (!isHtmlElement(node, GUMBO_TAG_META))
            continue;
        const QByteArray name = QByteArray(attributeValue(node, "name")).trimmed().toLower();
        const char* content = attributeValue(node, "content");
        if ((name == "description" || name == "keywords") && content && *content)
            kept += "<meta name=\"" + name + "\" content=\"" + escapeHtml(content) + "\">\n";
    }
    return kept;
}

} // namespace

QByteArray cleanPage(const QByteArray& html, const QString& fallbackTitle)
{
    const ParsedPage page(html);
    const GumboNode* root = page.root();
    const GumboNode* body = page.first(GUMBO_TAG_BODY);
    TreeFacts facts(root ? root : page.document());
    HintClasses hints;
    const QByteArray bodyHtml = body ? BodyWriter(facts, hints).write(body) : QByteArray("<body></body>");

    QByteArray language = body ? languageTag(attributeValue(body, "lang")) : QByteArray();
    if (language.isEmpty() && root)
        language = languageTag(attributeValue(root, "lang"));

    QByteArray result = "<!DOCTYPE html>\n<html";
    if (!language.isEmpty())
        result += " lang=\"" + language + '"';
    result += ">\n<head>\n<meta charset=\"utf-8\">\n<title>" + escapeHtml(page.title(fallbackTitle).toUtf8())
              + "</title>\n" + keptMetadata(page.first(GUMBO_TAG_HEAD));
    const QByteArray hintRules = hints.rules + (body ? bodyLinkRules(body) : QByteArray());
    if (!hintRules.isEmpty())
        result += "<style>\n" + hintRules + "</style>\n";
    for (const GumboNode* style : std::as_const(facts.styleSheets)) {
        result += "<style";
        if (const char* media = attributeValue(style, "media"))
            result += " media=\"" + escapeHtml(media) + '"';
        result += '>' + withoutInventedProperties(styleSheetText(style)) + "</style>\n";
    }
    result += "</head>\n" + bodyHtml + "\n</html>\n";
    return result;
}
