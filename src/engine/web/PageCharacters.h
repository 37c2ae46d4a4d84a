#pragma once

#include <QByteArray>

// Characters of a LibreOffice page that no reader can read, put right before the page
// is made fit for its format, byte for byte elsewhere:
// - Word's field and content-control marks (control characters other than tab, line
//   feed and carriage return), raw or as character references, go: a browser shows
//   them as boxes, and a parser turns them into replacement characters;
// - characters of the Symbol and Wingdings fonts, which Word keeps in the private-use
//   area (U+F020 to U+F0FF) and only those fonts draw, become the Unicode characters
//   they show, where the page names the font around them.
QByteArray withReadableCharacters(const QByteArray& html);
