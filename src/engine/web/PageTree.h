#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>

#include <gumbo.h>

// Walking a parsed page, and what the filtered page's writer needs to know of the
// whole tree before it writes any of it.

bool isElement(const GumboNode* node);
bool isHtmlElement(const GumboNode* node, GumboTag tag);
const GumboVector& childrenOf(const GumboNode* node);
const GumboNode* child(const GumboNode* node, unsigned index);

// The ids in use, the style sheets, which elements hold block-level content somewhere
// below them, and which hold anything a reader meets at all: LibreOffice leaves many
// formatting elements around nothing (a span for a run that was deleted or moved),
// which only weigh the page down.
struct TreeFacts {
    QSet<QByteArray> ids;
    QList<const GumboNode*> styleSheets;
    QSet<const GumboNode*> holdsBlocks;
    QSet<const GumboNode*> holdsContent;

    explicit TreeFacts(const GumboNode* root);
    // A formatting element that holds nothing: no text (a blank counts, it parts
    // words), no picture or break, no anchor a link may lead to.
    bool isEmptyFormatting(const GumboNode* element) const;
};
