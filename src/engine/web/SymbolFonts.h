#pragma once

#include <QByteArray>

// Word keeps characters of its symbol fonts as private-use code points, U+F020 to
// U+F0FF: the font's own code plus U+F000. Only that font draws them.
enum class SymbolFont { None, Symbol, Wingdings };

// The symbol font a CSS font-family list or a face attribute starts with.
SymbolFont symbolFontNamed(const QByteArray& families);

// The Unicode character `privateUse` shows in `font`, or 0 when there is none (or the
// table does not know it): then it stays as it is.
char32_t unicodeForSymbol(SymbolFont font, char32_t privateUse);
