#include "engine/web/PresentationalCss.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

template <size_t count>
bool isAmong(GumboTag tag, const std::array<GumboTag, count>& tags)
{
    return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

// Elements that the old align attribute floats or lines up with the text around them.
constexpr std::array<GumboTag, 6> embeddedTags{GUMBO_TAG_IMG,    GUMBO_TAG_OBJECT, GUMBO_TAG_EMBED,
                                               GUMBO_TAG_IFRAME, GUMBO_TAG_INPUT,  GUMBO_TAG_APPLET};
// Elements whose colour, face and size attributes style their text (or, for a rule, itself).
constexpr std::array<GumboTag, 3> fontTags{GUMBO_TAG_FONT, GUMBO_TAG_HR, GUMBO_TAG_BASEFONT};

void alignEmbeddedAsCss(const QByteArray& align, Declarations& css)
{
    if (align == "left" || align == "right")
        css.add("float", align);
    else if (align == "top" || align == "bottom" || align == "middle")
        css.add("vertical-align", align == "bottom" ? QByteArray("baseline") : align);
    else if (align == "absmiddle" || align == "center")
        css.add("vertical-align", "middle");
    else if (align == "texttop")
        css.add("vertical-align", "text-top");
    else if (align == "absbottom")
        css.add("vertical-align", "bottom");
    else if (align == "baseline")
        css.add("vertical-align", "baseline");
}

void alignAsCss(GumboTag tag, QByteArrayView align, Declarations& css)
{
    if (align.isEmpty())
        return;
    const QByteArray lower = align.toByteArray().toLower();
    if (isAmong(tag, embeddedTags)) {
        alignEmbeddedAsCss(lower, css);
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

void valignAsCss(GumboTag, QByteArrayView value, Declarations& css)
{
    const QByteArray lower = value.toByteArray().toLower();
    if (lower == "top" || lower == "middle" || lower == "bottom" || lower == "baseline")
        css.add("vertical-align", lower);
}

void backgroundAsCss(GumboTag, QByteArrayView value, Declarations& css)
{
    if (!value.isEmpty() && !isScriptAddress(value))
        css.add("background-image", "url(" + cssString(value) + ")");
}

void borderAsCss(GumboTag tag, QByteArrayView value, Declarations& css)
{
    const int width = borderWidth(value);
    if (width > 0)
        css.add("border", QByteArray::number(width) + (tag == GUMBO_TAG_TABLE ? "px outset gray" : "px solid"));
}

void clearAsCss(GumboTag tag, QByteArrayView value, Declarations& css)
{
    if (tag != GUMBO_TAG_BR)
        return;
    const QByteArray side = value.toByteArray().toLower();
    css.add("clear", side == "left" || side == "right" ? side : QByteArray("both"));
}

void colorAsCss(GumboTag tag, QByteArrayView value, Declarations& css)
{
    if (!isAmong(tag, fontTags))
        return;
    css.add("color", cssColor(value));
    if (tag == GUMBO_TAG_HR)
        css.add("background-color", cssColor(value));
}

void sizeAsCss(GumboTag tag, QByteArrayView value, Declarations& css)
{
    if (tag == GUMBO_TAG_HR)
        css.add("height", cssLength(value));
    else if (isAmong(tag, fontTags))
        css.add("font-size", cssFontSize(value));
}

void noshadeAsCss(GumboTag tag, QByteArrayView, Declarations& css)
{
    if (!isAmong(tag, fontTags))
        return;
    css.add("border-style", "solid");
    css.add("background-color", "gray");
}

void bgcolorAsCss(GumboTag, QByteArrayView value, Declarations& css)
{
    css.add("background-color", cssColor(value));
}

void textAsCss(GumboTag tag, QByteArrayView value, Declarations& css)
{
    if (tag == GUMBO_TAG_BODY)
        css.add("color", cssColor(value));
}

void widthAsCss(GumboTag tag, QByteArrayView value, Declarations& css)
{
    if (tag != GUMBO_TAG_PRE)
        css.add("width", cssLength(value));
}

void heightAsCss(GumboTag tag, QByteArrayView value, Declarations& css)
{
    if (tag != GUMBO_TAG_PRE)
        css.add("height", cssLength(value));
}

void cellspacingAsCss(GumboTag tag, QByteArrayView value, Declarations& css)
{
    if (tag == GUMBO_TAG_TABLE)
        css.add("border-spacing", cssLength(value));
}

void hspaceAsCss(GumboTag, QByteArrayView value, Declarations& css)
{
    css.add("margin-left", cssLength(value));
    css.add("margin-right", cssLength(value));
}

void vspaceAsCss(GumboTag, QByteArrayView value, Declarations& css)
{
    css.add("margin-top", cssLength(value));
    css.add("margin-bottom", cssLength(value));
}

void nowrapAsCss(GumboTag, QByteArrayView, Declarations& css)
{
    css.add("white-space", "nowrap");
}

void typeAsCss(GumboTag tag, QByteArrayView value, Declarations& css)
{
    if (tag == GUMBO_TAG_UL || tag == GUMBO_TAG_LI || tag == GUMBO_TAG_DIR)
        css.add("list-style-type", listStyleType(value));
}

void faceAsCss(GumboTag tag, QByteArrayView value, Declarations& css)
{
    if (isAmong(tag, fontTags))
        css.add("font-family", cssFontFamilies(value));
}

void colsAsCss(GumboTag tag, QByteArrayView value, Declarations& css)
{
    if (tag == GUMBO_TAG_MULTICOL && isWholeNumber(value))
        css.add("column-count", value);
}

void frameborderAsCss(GumboTag, QByteArrayView value, Declarations& css)
{
    if (value == "0" || equalsIgnoringCase(value, "no"))
        css.add("border", "none");
}

using AttributeToCss = void (*)(GumboTag tag, QByteArrayView value, Declarations& css);

// Each presentational attribute by name, with what carries its look.
constexpr auto attributesToCss = std::to_array<std::pair<std::string_view, AttributeToCss>>({
    {"align", alignAsCss},
    {"valign", valignAsCss},
    {"bgcolor", bgcolorAsCss},
    {"background", backgroundAsCss},
    {"text", textAsCss},
    {"width", widthAsCss},
    {"height", heightAsCss},
    {"cellspacing", cellspacingAsCss},
    {"border", borderAsCss},
    {"hspace", hspaceAsCss},
    {"vspace", vspaceAsCss},
    {"nowrap", nowrapAsCss},
    {"clear", clearAsCss},
    {"type", typeAsCss},
    {"color", colorAsCss},
    {"face", faceAsCss},
    {"size", sizeAsCss},
    {"noshade", noshadeAsCss},
    {"cols", colsAsCss},
    {"frameborder", frameborderAsCss},
});

} // namespace

void presentationalAsCss(GumboTag tag, QByteArrayView name, QByteArrayView value, Declarations& css)
{
    const std::string_view wanted(name.data(), size_t(name.size()));
    const auto found = std::find_if(attributesToCss.begin(), attributesToCss.end(),
                                    [wanted](const auto& entry) { return entry.first == wanted; });
    if (found != attributesToCss.end())
        found->second(tag, value, css);
}
