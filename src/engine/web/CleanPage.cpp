#include "engine/web/CleanPage.h"

#include "engine/web/PageTree.h"

#include "engine/web/LegacyMarkup.h"
#include "engine/web/PageLanguage.h"
#include "engine/web/ParsedPage.h"
#include "engine/web/StyleSheet.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

namespace {

// One class per distinct set of declarations. Hints (the presentational attributes'
// replacements) weigh nothing, each rule wrapped in :where(), so that any rule of the
// page's own style sheet still wins over them, as over the attributes. A style
// attribute's declarations are said once as a class too, each marked important and
// written after the page's style sheets, so that they still win over every rule of
// those, as the attribute did.
class HintClasses {
public:
    enum class Weight { None, OfStyleAttribute };
    explicit HintClasses(Weight weight = Weight::None) : weight(weight) {}

    QByteArray classFor(const QByteArray& declarations)
    {
        auto found = classes.constFind(declarations);
        if (found != classes.constEnd())
            return *found;
        const QByteArray name = (weight == Weight::None ? "s" : "c") + QByteArray::number(classes.size() + 1);
        classes.insert(declarations, name);
        if (weight == Weight::None) {
            rules += ":where(." + name + ") { " + declarations + " }\n";
            return name;
        }
        QList<QByteArray> important;
        for (const QByteArray& declaration : declarationsOf(declarations))
            important.append(declaration.contains("!important") ? declaration : declaration + " !important");
        rules += "." + name + " { " + important.join("; ") + " }\n";
        return name;
    }
    QByteArray rules;

private:
    const Weight weight;
    QHash<QByteArray, QByteArray> classes;
};

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

class BodyWriter {
public:
    BodyWriter(TreeFacts& facts, HintClasses& hints, HintClasses& styles, const PageLanguage& language)
        : facts(facts), hints(hints), styles(styles), language(language)
    {
    }

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
            if (language.marked.contains(node))
                out += "<span lang=\"" + language.kept + "\">" + escapeHtml(node->v.text.text) + "</span>";
            else
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
        if (clean.fate == CleanElement::Fate::Drop || facts.isEmptyFormatting(node))
            return;
        if (clean.fate == CleanElement::Fate::Unwrap || (clean.mayHoldBlocks && element.children.length == 0)) {
            pushChildren(node);
            return;
        }
        if (clean.mayHoldBlocks && facts.holdsBlocks.contains(node))
            clean.name = "div";

        out += '<' + clean.name;
        writeAttributes(node, clean);
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

    void writeAttributes(const GumboNode* node, const CleanElement& clean)
    {
        QByteArray classes;
        QByteArray styleClass;
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
                if (const QByteArray style = declarationsOf(withoutInventedProperties(value)).join("; "); !style.isEmpty())
                    styleClass = styles.classFor(style);
                continue;
            }
            const bool pageLanguage = name == "lang" && node->v.element.tag == GUMBO_TAG_BODY && !language.page.isEmpty();
            out += ' ' + name + "=\"" + escapeHtml(pageLanguage ? language.page : value) + '"';
        }
        if (language.marked.contains(node))
            out += " lang=\"" + language.kept + '"';
        if (!clean.declarations.isEmpty())
            classes = (classes.trimmed() + ' ' + hints.classFor(clean.declarations)).trimmed();
        if (!styleClass.isEmpty())
            classes = (classes.trimmed() + ' ' + styleClass).trimmed();
        if (!classes.isEmpty())
            out += " class=\"" + escapeHtml(classes) + '"';
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
                              || isHtmlElement(node, GUMBO_TAG_SCRIPT) || isHtmlElement(node, GUMBO_TAG_TEMPLATE)
                              || facts.isEmptyFormatting(node); // written as nothing: no item to wrap it
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
    HintClasses& styles;
    const PageLanguage& language;
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
    HintClasses styles(HintClasses::Weight::OfStyleAttribute);
    // Only elements the page keeps can carry a language; the text of the others is marked below them.
    const PageLanguage languages = pageLanguage(root, body, [](const GumboNode* node) {
        return node->type != GUMBO_NODE_ELEMENT
               || (node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML
                   && fateOf(node->v.element.tag) == CleanElement::Fate::Keep);
    });
    const QByteArray bodyHtml = body ? BodyWriter(facts, hints, styles, languages).write(body) : QByteArray("<body></body>");

    QByteArray language = languages.page;
    if (language.isEmpty() && body)
        language = languageTag(attributeValue(body, "lang"));
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
    if (!styles.rules.isEmpty())
        result += "<style>\n" + styles.rules + "</style>\n";
    result += "</head>\n" + bodyHtml + "\n</html>\n";
    return result;
}
