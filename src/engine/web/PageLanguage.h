#pragma once

#include "engine/web/HtmlEdits.h"

#include <QByteArray>
#include <QList>
#include <QSet>

#include <gumbo.h>

#include <functional>

class ParsedPage;

// The language of a page is the one most of its text is in, not the document's
// default: LibreOffice marks the default on <body> and every other language on the
// paragraphs and runs that have it. Each text's language is that of its nearest
// ancestor with a lang, weighed by its characters that are not blank.
//
// When most of the text is in another language than the default, that language
// goes on <html> and on <body> (a lang on <body> would otherwise still say the
// default for all it holds). Text that took the default from <body> is given it
// back: its outermost element below <body> with no lang of its own gets the
// default, or a <span> with it when the text stands bare in <body>. An element
// with no lang of its own passes the default on to all it holds but what marks a
// language itself, so marking it changes the language of no text.
struct PageLanguage {
    QByteArray page;                 // empty when the page keeps the default
    QByteArray kept;                 // the default, for the text that took it
    QSet<const GumboNode*> marked;   // elements to give `kept`, and bare text to wrap
};

// `canMark` says whether an element can carry a lang, or a text node be wrapped, in
// the page as it will be written; the text of one that cannot is looked for below it.
PageLanguage pageLanguage(const GumboNode* root, const GumboNode* body,
                          const std::function<bool(const GumboNode*)>& canMark);

// The edits that give a page LibreOffice wrote its language, none when it has it already.
QList<HtmlEdit> pageLanguageEdits(const ParsedPage& page, const SourceText& source);

// A lang value fit to be written as it is, or empty.
QByteArray languageTag(const char* value);
