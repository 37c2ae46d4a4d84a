#include "engine/web/PageLanguage.h"

#include "engine/web/ParsedPage.h"

#include <QHash>

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

bool isElement(const GumboNode* node)
{
    return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

bool isText(const GumboNode* node)
{
    return node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_CDATA;
}

// Scripts and style sheets are not read.
bool holdsUnreadText(const GumboNode* element)
{
    switch (element->v.element.tag) {
    case GUMBO_TAG_SCRIPT: case GUMBO_TAG_STYLE: case GUMBO_TAG_NOSCRIPT: case GUMBO_TAG_TEMPLATE:
        return true;
    default:
        return false;
    }
}

// Characters of UTF-8 text that are neither white space nor no-break spaces, which
// LibreOffice writes into empty paragraphs.
qsizetype readableCharacters(const char* text)
{
    qsizetype count = 0;
    for (const char* c = text; *c; ++c) {
        const uchar byte = uchar(*c);
        if (byte == 0xC2 && uchar(c[1]) == 0xA0)
            ++c;
        else if (byte > ' ' && (byte & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

const GumboNode* childAt(const GumboNode* node, unsigned index)
{
    return static_cast<const GumboNode*>(node->v.element.children.data[index]);
}

// How much text each language has, and which elements pass the default on to some.
class LanguageTally {
public:
    LanguageTally(const GumboNode* body, const QByteArray& defaultLanguage)
    {
        struct Walk {
            const GumboNode* node;
            QByteArray language;
            bool takesDefault; // no lang between it and <body>
        };
        std::vector<Walk> pending{{body, defaultLanguage, true}};
        while (!pending.empty()) {
            const Walk walk = std::move(pending.back());
            pending.pop_back();
            const GumboNode* node = walk.node;
            if (isText(node)) {
                const qsizetype weight = readableCharacters(node->v.text.text);
                if (weight > 0 && !walk.language.isEmpty())
                    weights[walk.language.toLower()] += weight;
                if (weight > 0 && walk.takesDefault)
                    passesDefault(node->parent, body);
                continue;
            }
            if (!isElement(node) || holdsUnreadText(node))
                continue;
            const char* own = node == body ? nullptr : attributeValue(node, "lang");
            const char* alt = node->v.element.tag == GUMBO_TAG_IMG ? attributeValue(node, "alt") : nullptr;
            if (walk.takesDefault && !own && alt && readableCharacters(alt) > 0)
                passesDefault(node, body);
            const QByteArray language = own ? languageTag(own) : walk.language;
            for (unsigned i = 0; i < node->v.element.children.length; ++i)
                pending.push_back({childAt(node, i), language, walk.takesDefault && !own});
        }
    }

    // The language with the most text (lower case), the default's on a tie with it.
    QByteArray mostUsed(const QByteArray& defaultLanguage) const
    {
        const QByteArray fallback = defaultLanguage.toLower();
        QByteArray best = fallback;
        qsizetype bestWeight = weights.value(best);
        for (auto it = weights.cbegin(); it != weights.cend(); ++it) {
            // Of others used as much, the first in alphabetical order: a page always comes out the same.
            const bool tie = it.value() == bestWeight && best != fallback && it.key() < best;
            if (it.value() > bestWeight || tie) {
                best = it.key();
                bestWeight = it.value();
            }
        }
        return best;
    }

    QSet<const GumboNode*> passingDefault;

private:
    void passesDefault(const GumboNode* node, const GumboNode* body)
    {
        for (; node && node != body && !passingDefault.contains(node); node = node->parent)
            passingDefault.insert(node);
    }

    QHash<QByteArray, qsizetype> weights;
};

// The tag as the page spells it somewhere, for a lower-case one.
QByteArray spelledAsInPage(const GumboNode* root, const QByteArray& lower)
{
    QByteArray spelling = lower;
    findNode(root, [&](const GumboNode* node) {
        const QByteArray tag = languageTag(attributeValue(node, "lang"));
        if (tag.toLower() == lower)
            spelling = tag;
        return tag.toLower() == lower;
    });
    return spelling;
}

} // namespace

QByteArray languageTag(const char* value)
{
    QByteArray tag = QByteArray(value ? value : "").trimmed();
    const bool plain = tag.size() <= 35 && std::all_of(tag.begin(), tag.end(), [](char c) {
        return std::isalnum(uchar(c)) || c == '-';
    });
    return plain ? tag : QByteArray();
}

PageLanguage pageLanguage(const GumboNode* root, const GumboNode* body,
                          const std::function<bool(const GumboNode*)>& canMark)
{
    PageLanguage result;
    if (!root || !body)
        return result;
    result.kept = languageTag(attributeValue(body, "lang"));
    if (result.kept.isEmpty())
        result.kept = languageTag(attributeValue(root, "lang"));
    if (result.kept.isEmpty())
        return result; // no default: no text says which language it is in
    const LanguageTally tally(body, result.kept);
    const QByteArray mostUsed = tally.mostUsed(result.kept);
    if (mostUsed == result.kept.toLower())
        return result;
    result.page = spelledAsInPage(root, mostUsed);

    std::vector<const GumboNode*> holders{body};
    while (!holders.empty()) {
        const GumboNode* holder = holders.back();
        holders.pop_back();
        for (unsigned i = 0; i < holder->v.element.children.length; ++i) {
            const GumboNode* node = childAt(holder, i);
            const bool needsDefault = isText(node) ? readableCharacters(node->v.text.text) > 0
                                                   : tally.passingDefault.contains(node);
            if (needsDefault && canMark(node))
                result.marked.insert(node);
            else if (needsDefault && isElement(node))
                holders.push_back(node);
        }
    }
    return result;
}

QList<HtmlEdit> pageLanguageEdits(const ParsedPage& page, const SourceText& source)
{
    const GumboNode* body = page.first(GUMBO_TAG_BODY);
    const PageLanguage language = pageLanguage(page.root(), body, [&source](const GumboNode* node) {
        return source.contains(isElement(node) ? node->v.element.original_tag : node->v.text.original_text);
    });
    QList<HtmlEdit> edits;
    if (language.page.isEmpty())
        return edits;
    for (const GumboNode* element : {page.root(), body}) {
        const GumboAttribute* lang = gumbo_get_attribute(&element->v.element.attributes, "lang");
        if (lang && source.contains(lang->original_value))
            edits.append({source.offsetOf(lang->original_value.data), qsizetype(lang->original_value.length),
                          '"' + language.page + '"'});
    }
    const QByteArray attribute = " lang=\"" + language.kept + '"';
    for (const GumboNode* node : language.marked) {
        if (isElement(node)) {
            edits.append({source.afterTagName(node->v.element.original_tag), 0, attribute});
        } else {
            edits.append({source.offsetOf(node->v.text.original_text.data), 0, "<span" + attribute + '>'});
            edits.append({source.endOf(node->v.text.original_text), 0, "</span>"});
        }
    }
    return edits;
}
