#pragma once

#include <QByteArray>
#include <QString>

// LibreOffice's web page rewritten as clean HTML5 for publishing: the document's
// language on <html>, UTF-8 declared, a title (see ParsedPage::title), no metadata
// but description and keywords, legacy presentational markup carried by CSS that
// keeps the page's look (the same low precedence the old attributes had), elements
// only LibreOffice knows unwrapped with their text kept, its CSS properties dropped,
// scripts, event handlers and comments gone, and an alt on every picture. References
// to files are kept as they were, so pictures can be embedded afterwards.
QByteArray cleanPage(const QByteArray& html, const QString& fallbackTitle);
