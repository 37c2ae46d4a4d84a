#include "engine/web/LegacyMarkup.h"

#include "engine/web/CssValues.h"
#include "engine/web/ParsedPage.h"
#include "engine/web/PresentationalCss.h"
#include "engine/web/ReaderText.h"
#include "engine/web/TableHeaders.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

using namespace std::string_view_literals;

template <typename Item, size_t count>
bool isAmong(const Item& item, const std::array<Item, count>& items)
{
    return std::find(items.begin(), items.end(), item) != items.end();
}

std::string_view asStringView(QByteArrayView bytes)
{
    return {bytes.data(), size_t(bytes.size())};
}

QByteArray asBytes(std::string_view text)
{
    return {text.data(), qsizetype(text.size())};
}

QByteArrayView valueOf(const GumboNode* node, const char* name)
{
    const char* value = attributeValue(node, name);
    return value ? QByteArrayView(value).trimmed() : QByteArrayView();
}

const GumboNode* enclosingTable(const GumboNode* cell)
{
    static constexpr std::array rowGroupTags{GUMBO_TAG_TR, GUMBO_TAG_TBODY, GUMBO_TAG_THEAD, GUMBO_TAG_TFOOT};
    for (const GumboNode* node = cell->parent; node && node->type == GUMBO_NODE_ELEMENT; node = node->parent) {
        if (node->v.element.tag == GUMBO_TAG_TABLE)
            return node;
        if (!isAmong(node->v.element.tag, rowGroupTags))
            return nullptr;
    }
    return nullptr;
}

bool isGlobalAttribute(QByteArrayView name)
{
    static constexpr std::array names{"id"sv, "class"sv, "style"sv, "lang"sv, "dir"sv, "title"sv, "hidden"sv,
                                      "tabindex"sv, "accesskey"sv, "translate"sv};
    return isAmong(asStringView(name), names) || name.startsWith("data-");
}

// The attributes HTML5 has for an element beyond the global ones (and beyond width
// and height, which are sorted out on their own).
struct ElementAttributes {
    GumboTag tag;
    std::array<std::string_view, 12> names; // the unused ones empty
};

constexpr auto elementAttributes = std::to_array<ElementAttributes>({
    {GUMBO_TAG_A, {"href", "target", "rel", "hreflang", "type", "download"}},
    {GUMBO_TAG_AREA, {"href", "target", "rel", "alt", "coords", "shape", "download"}},
    {GUMBO_TAG_IMG, {"src", "alt", "usemap", "ismap", "srcset", "sizes"}},
    {GUMBO_TAG_TD, {"colspan", "rowspan", "headers"}},
    {GUMBO_TAG_TH, {"colspan", "rowspan", "headers", "scope", "abbr"}},
    {GUMBO_TAG_COL, {"span"}},
    {GUMBO_TAG_COLGROUP, {"span"}},
    {GUMBO_TAG_OL, {"start", "reversed"}},
    {GUMBO_TAG_LI, {"value"}},
    {GUMBO_TAG_BLOCKQUOTE, {"cite"}},
    {GUMBO_TAG_Q, {"cite"}},
    {GUMBO_TAG_INS, {"cite", "datetime"}},
    {GUMBO_TAG_DEL, {"cite", "datetime"}},
    {GUMBO_TAG_TIME, {"datetime"}},
    {GUMBO_TAG_DATA, {"value"}},
    {GUMBO_TAG_MAP, {"name"}},
    {GUMBO_TAG_IFRAME, {"src", "name", "sandbox", "allow"}},
    {GUMBO_TAG_EMBED, {"src", "type"}},
    {GUMBO_TAG_OBJECT, {"data", "type", "name", "usemap"}},
    {GUMBO_TAG_PARAM, {"name", "value"}},
    {GUMBO_TAG_FORM, {"action", "method", "enctype", "name", "target", "accept-charset"}},
    {GUMBO_TAG_INPUT,
     {"type", "name", "value", "checked", "disabled", "readonly", "size", "maxlength", "src", "alt", "placeholder",
      "multiple"}},
    {GUMBO_TAG_BUTTON, {"type", "name", "value", "disabled"}},
    {GUMBO_TAG_SELECT, {"name", "size", "multiple", "disabled"}},
    {GUMBO_TAG_OPTION, {"value", "selected", "disabled", "label"}},
    {GUMBO_TAG_OPTGROUP, {"label", "disabled"}},
    {GUMBO_TAG_TEXTAREA, {"name", "rows", "cols", "wrap", "disabled", "readonly", "placeholder"}},
    {GUMBO_TAG_LABEL, {"for"}},
    {GUMBO_TAG_DETAILS, {"open"}},
});

bool isElementAttribute(GumboTag tag, QByteArrayView name)
{
    const auto found = std::find_if(elementAttributes.begin(), elementAttributes.end(),
                                    [tag](const ElementAttributes& entry) { return entry.tag == tag; });
    return found != elementAttributes.end() && !name.isEmpty() && isAmong(asStringView(name), found->names);
}

// Elements whose width and height attributes HTML5 keeps, as whole numbers of pixels.
bool keepsDimensions(GumboTag tag)
{
    static constexpr std::array tags{GUMBO_TAG_IMG,    GUMBO_TAG_IFRAME, GUMBO_TAG_EMBED, GUMBO_TAG_OBJECT,
                                     GUMBO_TAG_VIDEO,  GUMBO_TAG_CANVAS, GUMBO_TAG_INPUT};
    return isAmong(tag, tags);
}

// Elements that go with their text kept: LibreOffice's own (unknown to the parser,
// such as sdfield) and obsolete ones that only wrapped or decorated text.
constexpr std::array unwrappedTags{GUMBO_TAG_UNKNOWN, GUMBO_TAG_APPLET,  GUMBO_TAG_NOFRAMES, GUMBO_TAG_FRAMESET,
                                   GUMBO_TAG_BLINK,   GUMBO_TAG_MARQUEE, GUMBO_TAG_RTC};
// Elements that go with everything in them: scripts, the head and obsolete machinery.
constexpr std::array droppedTags{GUMBO_TAG_SCRIPT,  GUMBO_TAG_NOSCRIPT, GUMBO_TAG_TEMPLATE, GUMBO_TAG_BASEFONT,
                                 GUMBO_TAG_BGSOUND, GUMBO_TAG_SPACER,   GUMBO_TAG_ISINDEX,  GUMBO_TAG_NEXTID,
                                 GUMBO_TAG_NOEMBED, GUMBO_TAG_FRAME,    GUMBO_TAG_KEYGEN,   GUMBO_TAG_MENUITEM,
                                 GUMBO_TAG_BASE,    GUMBO_TAG_LINK,     GUMBO_TAG_META,     GUMBO_TAG_TITLE,
                                 GUMBO_TAG_STYLE,   GUMBO_TAG_HEAD};

// A legacy element kept as its HTML5 counterpart, with a declaration for the look
// the old element had.
struct Renaming {
    GumboTag tag;
    std::string_view name;
    bool mayHoldBlocks = false;
    std::string_view property = {};
    std::string_view value = {};
};

constexpr auto renamings = std::to_array<Renaming>({
    {GUMBO_TAG_FONT, "span", true},
    {GUMBO_TAG_BIG, "span", true, "font-size", "larger"},
    {GUMBO_TAG_TT, "span", true, "font-family", "monospace"},
    {GUMBO_TAG_NOBR, "span", true, "white-space", "nowrap"},
    {GUMBO_TAG_CENTER, "div", false, "text-align", "center"},
    {GUMBO_TAG_MULTICOL, "div"},
    {GUMBO_TAG_STRIKE, "s"},
    {GUMBO_TAG_ACRONYM, "abbr"},
    {GUMBO_TAG_DIR, "ul"},
    {GUMBO_TAG_LISTING, "pre"},
    {GUMBO_TAG_XMP, "pre"},
    {GUMBO_TAG_PLAINTEXT, "pre"},
    {GUMBO_TAG_IMAGE, "img"},
});

// What the element itself turns into, before its attributes.
void renameLegacy(GumboTag tag, CleanElement& out, Declarations& css)
{
    if (isAmong(tag, unwrappedTags)) {
        out.fate = CleanElement::Fate::Unwrap;
        return;
    }
    if (isAmong(tag, droppedTags)) {
        out.fate = CleanElement::Fate::Drop;
        return;
    }
    const auto found = std::find_if(renamings.begin(), renamings.end(),
                                    [tag](const Renaming& renaming) { return renaming.tag == tag; });
    if (found == renamings.end())
        return;
    out.name = asBytes(found->name);
    out.mayHoldBlocks = found->mayHoldBlocks;
    css.add(asBytes(found->property), asBytes(found->value));
}

// A table in a centring parent is centred as a block, as browsers do for the old markup.
bool inCentringParent(const GumboNode* table)
{
    static constexpr std::array aligningTags{GUMBO_TAG_DIV, GUMBO_TAG_TD, GUMBO_TAG_TH, GUMBO_TAG_P};
    const GumboNode* parent = table->parent;
    if (!parent || parent->type != GUMBO_NODE_ELEMENT)
        return false;
    return parent->v.element.tag == GUMBO_TAG_CENTER
           || (isAmong(parent->v.element.tag, aligningTags) && equalsIgnoringCase(valueOf(parent, "align"), "center"));
}

// What the element's table and parent say of its look, which the old markup applied to it.
void addInheritedLook(const GumboNode* node, Declarations& css)
{
    const GumboTag tag = node->v.element.tag;
    if (tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH) {
        if (const GumboNode* table = enclosingTable(node)) {
            if (const char* padding = attributeValue(table, "cellpadding"))
                css.add("padding", cssLength(QByteArrayView(padding).trimmed()));
            if (const char* border = attributeValue(table, "border"); border && borderWidth(QByteArrayView(border).trimmed()) > 0)
                css.add("border", "1px inset gray");
        }
    }
    if (tag == GUMBO_TAG_TABLE && inCentringParent(node)) {
        css.add("margin-left", "auto");
        css.add("margin-right", "auto");
    }
}

bool isAddressAttribute(QByteArrayView name)
{
    return name == "href" || name == "src" || name == "action" || name == "data";
}

// Keeps, renames or drops one attribute, or carries its look into `css`.
void cleanAttribute(const GumboNode* node, const GumboAttribute& attribute, CleanElement& out, Declarations& css)
{
    const GumboTag tag = node->v.element.tag;
    const QByteArrayView name(attribute.name);
    const QByteArrayView value = QByteArrayView(attribute.value).trimmed();
    if (name.startsWith("on"))
        return; // event handlers: the page is for reading
    if (tag == GUMBO_TAG_A && name == "target" && isScreenTipTarget(value)) {
        if (!attributeValue(node, "title"))
            out.attributes.append({"title", value.toByteArray()});
    } else if (tag == GUMBO_TAG_IMG && name == "alt" && isGeneratedAltText(value)) {
        out.attributes.append({"alt", QByteArray()});
    } else if (isGlobalAttribute(name) || isElementAttribute(tag, name)) {
        if (!(isAddressAttribute(name) && isScriptAddress(value)))
            out.attributes.append({name.toByteArray(), QByteArray(attribute.value)});
    } else if (tag == GUMBO_TAG_OL && name == "type" && !listStyleType(value).isEmpty() && value.size() == 1) {
        out.attributes.append({"type", value.toByteArray()});
    } else if ((name == "width" || name == "height") && keepsDimensions(tag) && isWholeNumber(value)) {
        out.attributes.append({name.toByteArray(), value.toByteArray()});
    } else if (name == "name" && tag == GUMBO_TAG_A) {
        out.attributes.append({"name", QByteArray(attribute.value)}); // the writer makes it an id
    } else {
        presentationalAsCss(tag, name, value, css);
    }
}

} // namespace

CleanElement::Fate fateOf(GumboTag tag)
{
    CleanElement out;
    Declarations css;
    renameLegacy(tag, out, css);
    return out.fate;
}

CleanElement cleanElement(const GumboNode* node)
{
    const GumboElement& element = node->v.element;
    CleanElement out;
    out.name = gumbo_normalized_tagname(element.tag);
    Declarations css;
    renameLegacy(element.tag, out, css);
    if (out.fate != CleanElement::Fate::Keep)
        return out;

    if (isHeaderRowCell(node)) {
        out.name = "th";
        out.attributes.append({QByteArray("scope"), QByteArray("col")});
    }
    addInheritedLook(node, css);
    for (unsigned i = 0; i < element.attributes.length; ++i)
        cleanAttribute(node, *static_cast<const GumboAttribute*>(element.attributes.data[i]), out, css);
    if (element.tag == GUMBO_TAG_IMG && !attributeValue(node, "alt"))
        out.attributes.append({QByteArray("alt"), QByteArray()});
    out.declarations = css.text;
    return out;
}

QByteArray bodyLinkRules(const GumboNode* body)
{
    QByteArray rules;
    for (const auto& [attribute, selector] : {std::pair{"link", "a:link"}, std::pair{"vlink", "a:visited"},
                                              std::pair{"alink", "a:active"}}) {
        if (const QByteArray color = cssColor(valueOf(body, attribute)); !color.isEmpty())
            rules += QByteArray(":where(") + selector + ") { color: " + color + " }\n";
    }
    return rules;
}

bool isBlockLevel(GumboTag tag)
{
    static constexpr std::array blockTags{
        GUMBO_TAG_P,      GUMBO_TAG_DIV,     GUMBO_TAG_TABLE,   GUMBO_TAG_UL,        GUMBO_TAG_OL,
        GUMBO_TAG_DL,     GUMBO_TAG_PRE,     GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_HR,     GUMBO_TAG_CENTER,
        GUMBO_TAG_ADDRESS, GUMBO_TAG_FORM,   GUMBO_TAG_FIELDSET, GUMBO_TAG_SECTION,  GUMBO_TAG_ARTICLE,
        GUMBO_TAG_ASIDE,  GUMBO_TAG_HEADER,  GUMBO_TAG_FOOTER,  GUMBO_TAG_NAV,       GUMBO_TAG_MAIN,
        GUMBO_TAG_FIGURE, GUMBO_TAG_DETAILS, GUMBO_TAG_LISTING, GUMBO_TAG_XMP,       GUMBO_TAG_PLAINTEXT,
        GUMBO_TAG_DIR,    GUMBO_TAG_MENU,    GUMBO_TAG_MULTICOL, GUMBO_TAG_LI,       GUMBO_TAG_DD,
        GUMBO_TAG_DT};
    return isHeading(tag) || isAmong(tag, blockTags);
}
