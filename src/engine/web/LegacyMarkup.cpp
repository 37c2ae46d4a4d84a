#include "engine/web/LegacyMarkup.h"

#include "engine/web/ReaderText.h"
#include "engine/web/TableHeaders.h"

#include "engine/web/ParsedPage.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

using namespace std::string_view_literals;

QByteArrayView valueOf(const GumboNode* node, const char* name)
{
    const char* value = attributeValue(node, name);
    return value ? QByteArrayView(value).trimmed() : QByteArrayView();
}

bool is(QByteArrayView value, QByteArrayView word)
{
    return value.compare(word, Qt::CaseInsensitive) == 0;
}

bool isOneOf(GumboTag tag, std::initializer_list<GumboTag> tags)
{
    return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

// A colour as the page wrote it, when it is a plain one: nothing that could end a rule.
QByteArray cssColor(QByteArrayView value)
{
    const bool hex = value.startsWith('#') && value.size() >= 4 && value.size() <= 9
                     && std::all_of(value.begin() + 1, value.end(), [](char c) { return std::isxdigit(uchar(c)); });
    const bool named = !value.isEmpty() && value.size() <= 32
                       && std::all_of(value.begin(), value.end(), [](char c) { return std::isalpha(uchar(c)); });
    return hex || named ? value.toByteArray() : QByteArray();
}

// An HTML length (digits, maybe a fraction, maybe a percent sign) as CSS, or empty.
QByteArray cssLength(QByteArrayView value)
{
    qsizetype digits = 0;
    while (digits < value.size() && (std::isdigit(uchar(value[digits])) || value[digits] == '.'))
        ++digits;
    if (digits == 0 || digits > 12)
        return {};
    const bool percent = digits < value.size() && value[digits] == '%';
    return value.first(digits).toByteArray() + (percent ? "%" : "px");
}

bool isWholeNumber(QByteArrayView value)
{
    return !value.isEmpty() && std::all_of(value.begin(), value.end(), [](char c) { return std::isdigit(uchar(c)); });
}

QByteArray cssString(QByteArrayView text)
{
    QByteArray quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '<': quoted += "\\3c "; break;
        case '>': quoted += "\\3e "; break;
        case '\n': case '\r': case '\f': quoted += "\\a "; break;
        default: quoted += c;
        }
    }
    return quoted + '"';
}

QByteArray cssFontFamilies(QByteArrayView face)
{
    static constexpr std::array generic{"serif"sv, "sans-serif"sv, "monospace"sv, "cursive"sv, "fantasy"sv, "system-ui"sv};
    QList<QByteArray> families;
    for (const QByteArray& part : face.toByteArray().split(',')) {
        const QByteArray family = part.trimmed();
        if (family.isEmpty())
            continue;
        const bool isGeneric = std::find(generic.begin(), generic.end(), family.toLower().toStdString()) != generic.end();
        families.append(isGeneric ? family.toLower() : cssString(family));
    }
    return families.join(", ");
}

QByteArray cssFontSize(QByteArrayView size)
{
    static constexpr std::array names{"x-small"sv, "small"sv, "medium"sv, "large"sv, "x-large"sv, "xx-large"sv, "xxx-large"sv};
    bool ok = false;
    int value = size.trimmed().toByteArray().toInt(&ok);
    if (!ok)
        return {};
    if (size.startsWith('+') || size.startsWith('-'))
        value += 3; // relative to the default size, 3
    value = std::clamp(value, 1, 7);
    return QByteArray(names[size_t(value - 1)].data(), qsizetype(names[size_t(value - 1)].size()));
}

QByteArray listStyleType(QByteArrayView type)
{
    if (type == "1") return "decimal";
    if (type == "a") return "lower-alpha";
    if (type == "A") return "upper-alpha";
    if (type == "i") return "lower-roman";
    if (type == "I") return "upper-roman";
    if (is(type, "disc") || is(type, "circle") || is(type, "square"))
        return type.toByteArray().toLower();
    return {};
}

class Declarations {
public:
    void add(QByteArrayView property, QByteArrayView value)
    {
        if (value.isEmpty())
            return;
        if (!text.isEmpty())
            text += "; ";
        text += property.toByteArray() + ": " + value.toByteArray();
    }
    QByteArray text;
};

const GumboNode* enclosingTable(const GumboNode* cell)
{
    for (const GumboNode* node = cell->parent; node && node->type == GUMBO_NODE_ELEMENT; node = node->parent) {
        if (node->v.element.tag == GUMBO_TAG_TABLE)
            return node;
        if (!isOneOf(node->v.element.tag, {GUMBO_TAG_TR, GUMBO_TAG_TBODY, GUMBO_TAG_THEAD, GUMBO_TAG_TFOOT}))
            return nullptr;
    }
    return nullptr;
}

int borderWidth(QByteArrayView value)
{
    if (value.isEmpty())
        return 1; // a bare border attribute
    qsizetype digits = 0;
    while (digits < value.size() && digits < 6 && std::isdigit(uchar(value[digits])))
        ++digits;
    return digits == 0 ? 0 : value.first(digits).toInt();
}

void alignAsCss(GumboTag tag, QByteArrayView align, Declarations& css)
{
    if (align.isEmpty())
        return;
    const QByteArray lower = align.toByteArray().toLower();
    if (isOneOf(tag, {GUMBO_TAG_IMG, GUMBO_TAG_OBJECT, GUMBO_TAG_EMBED, GUMBO_TAG_IFRAME, GUMBO_TAG_INPUT,
                      GUMBO_TAG_APPLET})) {
        if (lower == "left" || lower == "right")
            css.add("float", lower);
        else if (lower == "top" || lower == "bottom" || lower == "middle")
            css.add("vertical-align", lower == "bottom" ? QByteArray("baseline") : lower);
        else if (lower == "absmiddle" || lower == "center")
            css.add("vertical-align", "middle");
        else if (lower == "texttop")
            css.add("vertical-align", "text-top");
        else if (lower == "absbottom")
            css.add("vertical-align", "bottom");
        else if (lower == "baseline")
            css.add("vertical-align", "baseline");
    } else if (tag == GUMBO_TAG_TABLE) {
        if (lower == "left" || lower == "right") {
            css.add("float", lower);
        } else if (lower == "center") {
            css.add("margin-left", "auto");
            css.add("margin-right", "auto");
        }
    } else if (tag == GUMBO_TAG_HR) {
        css.add("margin-left", lower == "left" ? "0" : "auto");
        css.add("margin-right", lower == "right" ? "0" : "auto");
    } else if (tag == GUMBO_TAG_CAPTION && (lower == "top" || lower == "bottom")) {
        css.add("caption-side", lower);
    } else if (lower == "left" || lower == "right" || lower == "center" || lower == "justify") {
        css.add("text-align", lower);
    }
}

bool isGlobalAttribute(QByteArrayView name)
{
    static constexpr std::array names{"id"sv, "class"sv, "style"sv, "lang"sv, "dir"sv, "title"sv, "hidden"sv,
                                      "tabindex"sv, "accesskey"sv, "translate"sv};
    return std::find(names.begin(), names.end(), std::string_view(name.data(), size_t(name.size()))) != names.end()
           || name.startsWith("data-");
}

// The attributes HTML5 has for an element beyond the global ones (and beyond width
// and height, which are sorted out on their own).
bool isElementAttribute(GumboTag tag, QByteArrayView name)
{
    const auto among = [&name](std::initializer_list<std::string_view> names) {
        return std::find(names.begin(), names.end(), std::string_view(name.data(), size_t(name.size()))) != names.end();
    };
    switch (tag) {
    case GUMBO_TAG_A: return among({"href", "target", "rel", "hreflang", "type", "download"});
    case GUMBO_TAG_AREA: return among({"href", "target", "rel", "alt", "coords", "shape", "download"});
    case GUMBO_TAG_IMG: return among({"src", "alt", "usemap", "ismap", "srcset", "sizes"});
    case GUMBO_TAG_TD: return among({"colspan", "rowspan", "headers"});
    case GUMBO_TAG_TH: return among({"colspan", "rowspan", "headers", "scope", "abbr"});
    case GUMBO_TAG_COL: case GUMBO_TAG_COLGROUP: return among({"span"});
    case GUMBO_TAG_OL: return among({"start", "reversed"});
    case GUMBO_TAG_LI: return among({"value"});
    case GUMBO_TAG_BLOCKQUOTE: case GUMBO_TAG_Q: return among({"cite"});
    case GUMBO_TAG_INS: case GUMBO_TAG_DEL: return among({"cite", "datetime"});
    case GUMBO_TAG_TIME: return among({"datetime"});
    case GUMBO_TAG_DATA: return among({"value"});
    case GUMBO_TAG_MAP: return among({"name"});
    case GUMBO_TAG_IFRAME: return among({"src", "name", "sandbox", "allow"});
    case GUMBO_TAG_EMBED: return among({"src", "type"});
    case GUMBO_TAG_OBJECT: return among({"data", "type", "name", "usemap"});
    case GUMBO_TAG_PARAM: return among({"name", "value"});
    case GUMBO_TAG_FORM: return among({"action", "method", "enctype", "name", "target", "accept-charset"});
    case GUMBO_TAG_INPUT:
        return among({"type", "name", "value", "checked", "disabled", "readonly", "size", "maxlength", "src", "alt",
                      "placeholder", "multiple"});
    case GUMBO_TAG_BUTTON: return among({"type", "name", "value", "disabled"});
    case GUMBO_TAG_SELECT: return among({"name", "size", "multiple", "disabled"});
    case GUMBO_TAG_OPTION: return among({"value", "selected", "disabled", "label"});
    case GUMBO_TAG_OPTGROUP: return among({"label", "disabled"});
    case GUMBO_TAG_TEXTAREA: return among({"name", "rows", "cols", "wrap", "disabled", "readonly", "placeholder"});
    case GUMBO_TAG_LABEL: return among({"for"});
    case GUMBO_TAG_DETAILS: return among({"open"});
    default: return false;
    }
}

bool isScriptAddress(QByteArrayView value)
{
    QByteArray compact;
    for (const char c : value)
        if (uchar(c) > ' ')
            compact += char(std::tolower(uchar(c)));
    return compact.startsWith("javascript:") || compact.startsWith("vbscript:");
}

// Elements whose width and height attributes HTML5 keeps, as whole numbers of pixels.
bool keepsDimensions(GumboTag tag)
{
    return isOneOf(tag, {GUMBO_TAG_IMG, GUMBO_TAG_IFRAME, GUMBO_TAG_EMBED, GUMBO_TAG_OBJECT, GUMBO_TAG_VIDEO,
                         GUMBO_TAG_CANVAS, GUMBO_TAG_INPUT});
}

void presentationalAsCss(const GumboNode* node, QByteArrayView name, QByteArrayView value, Declarations& css)
{
    const GumboTag tag = node->v.element.tag;
    if (name == "align") {
        alignAsCss(tag, value, css);
    } else if (name == "valign") {
        const QByteArray lower = value.toByteArray().toLower();
        if (lower == "top" || lower == "middle" || lower == "bottom" || lower == "baseline")
            css.add("vertical-align", lower);
    } else if (name == "bgcolor") {
        css.add("background-color", cssColor(value));
    } else if (name == "background" && !value.isEmpty() && !isScriptAddress(value)) {
        css.add("background-image", "url(" + cssString(value) + ")");
    } else if (name == "text" && tag == GUMBO_TAG_BODY) {
        css.add("color", cssColor(value));
    } else if (name == "width" || name == "height") {
        if (tag != GUMBO_TAG_PRE)
            css.add(name, cssLength(value));
    } else if (name == "cellspacing" && tag == GUMBO_TAG_TABLE) {
        css.add("border-spacing", cssLength(value));
    } else if (name == "border") {
        const int width = borderWidth(value);
        if (tag == GUMBO_TAG_TABLE && width > 0)
            css.add("border", QByteArray::number(width) + "px outset gray");
        else if (tag != GUMBO_TAG_TABLE && width > 0)
            css.add("border", QByteArray::number(width) + "px solid");
    } else if (name == "hspace") {
        css.add("margin-left", cssLength(value));
        css.add("margin-right", cssLength(value));
    } else if (name == "vspace") {
        css.add("margin-top", cssLength(value));
        css.add("margin-bottom", cssLength(value));
    } else if (name == "nowrap") {
        css.add("white-space", "nowrap");
    } else if (name == "clear" && tag == GUMBO_TAG_BR) {
        const QByteArray side = value.toByteArray().toLower();
        css.add("clear", side == "left" || side == "right" ? side : QByteArray("both"));
    } else if (name == "type" && (tag == GUMBO_TAG_UL || tag == GUMBO_TAG_LI || tag == GUMBO_TAG_DIR)) {
        css.add("list-style-type", listStyleType(value));
    } else if (tag == GUMBO_TAG_FONT || tag == GUMBO_TAG_HR || tag == GUMBO_TAG_BASEFONT) {
        if (name == "color") {
            css.add("color", cssColor(value));
            if (tag == GUMBO_TAG_HR)
                css.add("background-color", cssColor(value));
        } else if (name == "face") {
            css.add("font-family", cssFontFamilies(value));
        } else if (name == "size" && tag == GUMBO_TAG_HR) {
            css.add("height", cssLength(value));
        } else if (name == "size") {
            css.add("font-size", cssFontSize(value));
        } else if (name == "noshade") {
            css.add("border-style", "solid");
            css.add("background-color", "gray");
        }
    } else if (name == "cols" && tag == GUMBO_TAG_MULTICOL && isWholeNumber(value)) {
        css.add("column-count", value);
    } else if (name == "frameborder" && (value == "0" || is(value, "no"))) {
        css.add("border", "none");
    }
}

// What the element itself turns into, before its attributes.
void renameLegacy(GumboTag tag, CleanElement& out, Declarations& css)
{
    using Fate = CleanElement::Fate;
    switch (tag) {
    case GUMBO_TAG_UNKNOWN: // LibreOffice's own, such as sdfield: the text stays
    case GUMBO_TAG_APPLET: case GUMBO_TAG_NOFRAMES: case GUMBO_TAG_FRAMESET: case GUMBO_TAG_BLINK:
    case GUMBO_TAG_MARQUEE: case GUMBO_TAG_RTC:
        out.fate = Fate::Unwrap;
        break;
    case GUMBO_TAG_SCRIPT: case GUMBO_TAG_NOSCRIPT: case GUMBO_TAG_TEMPLATE: case GUMBO_TAG_BASEFONT:
    case GUMBO_TAG_BGSOUND: case GUMBO_TAG_SPACER: case GUMBO_TAG_ISINDEX: case GUMBO_TAG_NEXTID:
    case GUMBO_TAG_NOEMBED: case GUMBO_TAG_FRAME: case GUMBO_TAG_KEYGEN: case GUMBO_TAG_MENUITEM:
    case GUMBO_TAG_BASE: case GUMBO_TAG_LINK: case GUMBO_TAG_META: case GUMBO_TAG_TITLE: case GUMBO_TAG_STYLE:
    case GUMBO_TAG_HEAD:
        out.fate = Fate::Drop;
        break;
    case GUMBO_TAG_FONT:
        out.name = "span";
        out.mayHoldBlocks = true;
        break;
    case GUMBO_TAG_BIG:
        out.name = "span";
        out.mayHoldBlocks = true;
        css.add("font-size", "larger");
        break;
    case GUMBO_TAG_TT:
        out.name = "span";
        out.mayHoldBlocks = true;
        css.add("font-family", "monospace");
        break;
    case GUMBO_TAG_NOBR:
        out.name = "span";
        out.mayHoldBlocks = true;
        css.add("white-space", "nowrap");
        break;
    case GUMBO_TAG_CENTER:
        out.name = "div";
        css.add("text-align", "center");
        break;
    case GUMBO_TAG_MULTICOL: out.name = "div"; break;
    case GUMBO_TAG_STRIKE: out.name = "s"; break;
    case GUMBO_TAG_ACRONYM: out.name = "abbr"; break;
    case GUMBO_TAG_DIR: out.name = "ul"; break;
    case GUMBO_TAG_LISTING: case GUMBO_TAG_XMP: case GUMBO_TAG_PLAINTEXT: out.name = "pre"; break;
    case GUMBO_TAG_IMAGE: out.name = "img"; break;
    default: break;
    }
}

// A table in a centring parent is centred as a block, as browsers do for the old markup.
bool inCentringParent(const GumboNode* table)
{
    const GumboNode* parent = table->parent;
    if (!parent || parent->type != GUMBO_NODE_ELEMENT)
        return false;
    return parent->v.element.tag == GUMBO_TAG_CENTER
           || (isOneOf(parent->v.element.tag, {GUMBO_TAG_DIV, GUMBO_TAG_TD, GUMBO_TAG_TH, GUMBO_TAG_P})
               && is(valueOf(parent, "align"), "center"));
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
    if (element.tag == GUMBO_TAG_TD || element.tag == GUMBO_TAG_TH) {
        if (const GumboNode* table = enclosingTable(node)) {
            if (const char* padding = attributeValue(table, "cellpadding"))
                css.add("padding", cssLength(QByteArrayView(padding).trimmed()));
            if (const char* border = attributeValue(table, "border"); border && borderWidth(QByteArrayView(border).trimmed()) > 0)
                css.add("border", "1px inset gray");
        }
    }
    if (element.tag == GUMBO_TAG_TABLE && inCentringParent(node)) {
        css.add("margin-left", "auto");
        css.add("margin-right", "auto");
    }

    for (unsigned i = 0; i < element.attributes.length; ++i) {
        const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
        const QByteArrayView name(attribute->name);
        const QByteArrayView value = QByteArrayView(attribute->value).trimmed();
        if (name.startsWith("on"))
            continue; // event handlers: the page is for reading
        if (element.tag == GUMBO_TAG_A && name == "target" && isScreenTipTarget(value)) {
            if (!attributeValue(node, "title"))
                out.attributes.append({"title", value.toByteArray()});
        } else if (element.tag == GUMBO_TAG_IMG && name == "alt" && isGeneratedAltText(value)) {
            out.attributes.append({"alt", QByteArray()});
        } else if (isGlobalAttribute(name) || isElementAttribute(element.tag, name)) {
            if (!((name == "href" || name == "src" || name == "action" || name == "data") && isScriptAddress(value)))
                out.attributes.append({name.toByteArray(), QByteArray(attribute->value)});
        } else if (element.tag == GUMBO_TAG_OL && name == "type" && !listStyleType(value).isEmpty()
                   && value.size() == 1) {
            out.attributes.append({"type", value.toByteArray()});
        } else if ((name == "width" || name == "height") && keepsDimensions(element.tag) && isWholeNumber(value)) {
            out.attributes.append({name.toByteArray(), value.toByteArray()});
        } else if (name == "name" && element.tag == GUMBO_TAG_A) {
            out.attributes.append({"name", QByteArray(attribute->value)}); // the writer makes it an id
        } else {
            presentationalAsCss(node, name, value, css);
        }
    }
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
    return isHeading(tag)
           || isOneOf(tag, {GUMBO_TAG_P, GUMBO_TAG_DIV, GUMBO_TAG_TABLE, GUMBO_TAG_UL, GUMBO_TAG_OL, GUMBO_TAG_DL,
                            GUMBO_TAG_PRE, GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_HR, GUMBO_TAG_CENTER, GUMBO_TAG_ADDRESS,
                            GUMBO_TAG_FORM, GUMBO_TAG_FIELDSET, GUMBO_TAG_SECTION, GUMBO_TAG_ARTICLE, GUMBO_TAG_ASIDE,
                            GUMBO_TAG_HEADER, GUMBO_TAG_FOOTER, GUMBO_TAG_NAV, GUMBO_TAG_MAIN, GUMBO_TAG_FIGURE,
                            GUMBO_TAG_DETAILS, GUMBO_TAG_LISTING, GUMBO_TAG_XMP, GUMBO_TAG_PLAINTEXT, GUMBO_TAG_DIR,
                            GUMBO_TAG_MENU, GUMBO_TAG_MULTICOL, GUMBO_TAG_LI, GUMBO_TAG_DD, GUMBO_TAG_DT});
}
