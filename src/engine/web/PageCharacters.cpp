#include "engine/web/PageCharacters.h"

#include "engine/web/HtmlEdits.h"
#include "engine/web/ParsedPage.h"
#include "engine/web/SymbolFonts.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

bool isMarker(uint code)
{
    return code < 0x20 && code != '\t' && code != '\n' && code != '\r';
}

QByteArray withoutMarkers(const QByteArray& html)
{
    if (!html.contains("&#") && std::none_of(html.begin(), html.end(), [](char c) { return isMarker(uchar(c)); }))
        return html;
    QByteArray out;
    out.reserve(html.size());
    static const QRegularExpression reference(QStringLiteral("\\A&#(?:[xX]0*([0-9a-fA-F]{1,2})|0*([0-9]{1,2}));"));
    for (qsizetype at = 0; at < html.size(); ++at) {
        const char c = html[at];
        if (isMarker(uchar(c)))
            continue;
        if (c == '&' && at + 2 < html.size() && html[at + 1] == '#') {
            const auto match = reference.match(QString::fromLatin1(html.mid(at, 12)));
            if (match.hasMatch()) {
                const uint code = match.hasCaptured(1) ? match.captured(1).toUInt(nullptr, 16) : match.captured(2).toUInt();
                if (isMarker(code)) {
                    at += match.capturedLength() - 1;
                    continue;
                }
            }
        }
        out += c;
    }
    return out;
}

// The symbol font an element names, by its face attribute or its style.
SymbolFont fontOf(const GumboNode* element)
{
    static const QRegularExpression family(QStringLiteral("font-family\\s*:\\s*([^;]*)"), QRegularExpression::CaseInsensitiveOption);
    if (const char* face = attributeValue(element, "face"))
        return symbolFontNamed(QByteArray(face));
    if (const char* style = attributeValue(element, "style"))
        if (const auto match = family.match(QString::fromUtf8(style)); match.hasMatch())
            return symbolFontNamed(match.captured(1).toUtf8());
    return SymbolFont::None;
}

// Each private-use character of a text node under a symbol font, replaced.
void editSymbols(const GumboNode* node, SymbolFont font, const QByteArray& html, QList<HtmlEdit>& edits)
{
    if (node->type == GUMBO_NODE_ELEMENT) {
        const SymbolFont own = fontOf(node);
        const GumboVector& children = node->v.element.children;
        for (unsigned i = 0; i < children.length; ++i)
            editSymbols(static_cast<const GumboNode*>(children.data[i]), own == SymbolFont::None ? font : own, html, edits);
        return;
    }
    if (font == SymbolFont::None || node->type != GUMBO_NODE_TEXT)
        return;
    const GumboStringPiece& text = node->v.text.original_text;
    if (!text.data || text.data < html.constData() || text.data + text.length > html.constData() + html.size())
        return;
    const qsizetype start = text.data - html.constData();
    // U+F020 to U+F0FF in UTF-8: EF 80 A0 to EF 83 BF.
    for (qsizetype at = start; at + 2 < start + qsizetype(text.length); ++at) {
        if (uchar(html[at]) != 0xEF || (uchar(html[at + 1]) & 0xFC) != 0x80)
            continue;
        const char32_t code = 0xF000 | (uchar(html[at + 1]) & 0x03) << 6 | (uchar(html[at + 2]) & 0x3F);
        if (const char32_t unicode = unicodeForSymbol(font, code))
            edits.append({at, 3, QString::fromUcs4(&unicode, 1).toUtf8()});
        at += 2;
    }
}

} // namespace

QByteArray withReadableCharacters(const QByteArray& html)
{
    const QByteArray clean = withoutMarkers(html);
    if (!clean.contains("\xEF\x80") && !clean.contains("\xEF\x81") && !clean.contains("\xEF\x82") && !clean.contains("\xEF\x83"))
        return clean;
    const ParsedPage page(clean);
    if (!page.root())
        return clean;
    QList<HtmlEdit> edits;
    editSymbols(page.root(), SymbolFont::None, clean, edits);
    return applyEdits(clean, edits);
}
