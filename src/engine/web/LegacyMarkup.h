#pragma once

#include <QByteArray>
#include <QList>

#include <gumbo.h>

#include <utility>

// What one element of LibreOffice's page becomes in clean HTML5.
struct CleanElement {
    enum class Fate { Keep, Unwrap, Drop };
    Fate fate = Fate::Keep;
    QByteArray name;                                     // the element to write
    QList<std::pair<QByteArray, QByteArray>> attributes; // kept and renamed ones, in order
    QByteArray declarations; // CSS carrying the look of the presentational attributes dropped
    bool mayHoldBlocks = false; // it became a span: a div if it holds blocks
};

// Maps `element` (an HTML element, not foreign content): legacy and invented elements
// become their HTML5 counterparts or go, presentational attributes become CSS, and
// only attributes that HTML5 knows for the element stay. Event handlers and script
// addresses never stay.
CleanElement cleanElement(const GumboNode* element);
// What becomes of an element with `tag`, without the work of mapping it.
CleanElement::Fate fateOf(GumboTag tag);

// The CSS for the link colours of a <body>, as whole rules (they address links, not the body).
QByteArray bodyLinkRules(const GumboNode* body);

bool isBlockLevel(GumboTag tag);
