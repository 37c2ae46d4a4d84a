#pragma once

// What makes a page fit to publish, checked on the page as a browser would parse it,
// independent of the code that wrote it.

#include <gumbo.h>

#include <QByteArray>
#include <QSet>
#include <QStringList>

#include <memory>
#include <vector>

namespace publishing {

struct GumboDeleter {
    void operator()(GumboOutput* output) const { gumbo_destroy_output(&kGumboDefaultOptions, output); }
};
using Tree = std::unique_ptr<GumboOutput, GumboDeleter>;

inline Tree parse(const QByteArray& html)
{
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    return Tree(gumbo_parse_with_options(&options, html.constData(), size_t(html.size())));
}

template<typename Visit>
void forEachNode(const GumboNode* root, Visit visit)
{
    std::vector<const GumboNode*> pending{root};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        visit(node);
        if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE)
            for (unsigned i = node->v.element.children.length; i > 0; --i)
                pending.push_back(static_cast<const GumboNode*>(node->v.element.children.data[i - 1]));
    }
}

inline QByteArray tagName(const GumboNode* node)
{
    if (node->v.element.tag != GUMBO_TAG_UNKNOWN)
        return gumbo_normalized_tagname(node->v.element.tag);
    GumboStringPiece original = node->v.element.original_tag;
    gumbo_tag_from_original_text(&original);
    return QByteArray(original.data, qsizetype(original.length)).toLower();
}

// Elements HTML5 dropped, and attributes it dropped (on any element, or on the ones named).
inline bool isDroppedElement(const QByteArray& name)
{
    static const QSet<QByteArray> dropped{"applet", "acronym", "basefont", "bgsound", "big", "blink", "center",
                                          "dir", "font", "frame", "frameset", "isindex", "keygen", "listing",
                                          "marquee", "multicol", "nextid", "nobr", "noembed", "noframes",
                                          "plaintext", "spacer", "strike", "tt", "xmp"};
    return dropped.contains(name);
}

inline bool isDroppedAttribute(const QByteArray& element, const QByteArray& attribute)
{
    static const QSet<QByteArray> anywhere{"align", "valign", "bgcolor", "background", "cellpadding", "cellspacing",
                                           "hspace", "vspace", "nowrap", "clear", "link", "vlink", "alink",
                                           "text", "face", "noshade", "frame", "rules", "summary", "compact",
                                           "char", "charoff", "axis", "language", "longdesc", "marginwidth",
                                           "marginheight", "frameborder", "scrolling"};
    if (anywhere.contains(attribute) || attribute.startsWith("sd") || attribute.startsWith("on"))
        return true;
    if (attribute == "border" || attribute == "width" || attribute == "height")
        return QSet<QByteArray>{"table", "td", "th", "tr", "col", "colgroup", "hr", "pre"}.contains(element)
               || (attribute == "border" && element == "img");
    if (attribute == "name")
        return element == "a" || element == "img";
    if (attribute == "type")
        return element == "ul" || element == "li";
    if (attribute == "color" || attribute == "size")
        return element == "hr" || element == "font";
    return false;
}

inline bool isPersonalMetadata(const QByteArray& name)
{
    return !name.isEmpty() && name != "description" && name != "keywords" && name != "generator"
           && name != "viewport";
}

inline QByteArray text(const GumboNode* root)
{
    QByteArray text;
    forEachNode(root, [&text](const GumboNode* node) {
        if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE)
            text += node->v.text.text;
        else if (node->type == GUMBO_NODE_ELEMENT)
            text += ' ';
    });
    return text;
}

// The words a reader sees in the body.
inline QStringList words(const QByteArray& html)
{
    const Tree tree = parse(html);
    const GumboNode* body = nullptr;
    forEachNode(tree->root, [&body](const GumboNode* node) {
        if (!body && node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == GUMBO_TAG_BODY)
            body = node;
    });
    return body ? QString::fromUtf8(text(body)).simplified().split(' ', Qt::SkipEmptyParts) : QStringList();
}

struct Findings {
    QStringList droppedMarkup;   // "element" or "element@attribute"
    int picturesWithoutAlt = 0;
    QString title;
    QByteArray language;
    QStringList personalMetadata;
    bool charsetDeclared = false;
};

inline Findings inspect(const QByteArray& html)
{
    Findings findings;
    const Tree tree = parse(html);
    findings.language = gumbo_get_attribute(&tree->root->v.element.attributes, "lang")
                            ? gumbo_get_attribute(&tree->root->v.element.attributes, "lang")->value
                            : "";
    forEachNode(tree->root, [&findings](const GumboNode* node) {
        if (node->type != GUMBO_NODE_ELEMENT || node->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
            return;
        const QByteArray name = tagName(node);
        const GumboVector& attributes = node->v.element.attributes;
        if (node->v.element.tag == GUMBO_TAG_UNKNOWN || isDroppedElement(name))
            findings.droppedMarkup << QString::fromUtf8(name);
        for (unsigned i = 0; i < attributes.length; ++i) {
            const QByteArray attribute = static_cast<const GumboAttribute*>(attributes.data[i])->name;
            if (isDroppedAttribute(name, attribute))
                findings.droppedMarkup << QString::fromUtf8(name + '@' + attribute);
        }
        if (node->v.element.tag == GUMBO_TAG_IMG && !gumbo_get_attribute(&attributes, "alt"))
            ++findings.picturesWithoutAlt;
        if (node->v.element.tag == GUMBO_TAG_TITLE)
            findings.title = QString::fromUtf8(text(node)).simplified();
        if (node->v.element.tag == GUMBO_TAG_META) {
            const GumboAttribute* metaName = gumbo_get_attribute(&attributes, "name");
            if (metaName && isPersonalMetadata(QByteArray(metaName->value).toLower()))
                findings.personalMetadata << QString::fromUtf8(metaName->value);
            const GumboAttribute* charset = gumbo_get_attribute(&attributes, "charset");
            if (charset && qstricmp(charset->value, "utf-8") == 0)
                findings.charsetDeclared = true;
        }
    });
    return findings;
}

} // namespace publishing
