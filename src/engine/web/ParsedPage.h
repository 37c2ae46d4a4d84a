#pragma once

#include <QByteArray>
#include <QString>

#include <gumbo.h>

#include <functional>
#include <memory>

// A page parsed by gumbo, the way a browser would build it. The tree points into
// `html`, which must outlive it.
class ParsedPage {
public:
    explicit ParsedPage(const QByteArray& html);

    const GumboNode* root() const { return output ? output->root : nullptr; }
    const GumboNode* document() const { return output ? output->document : nullptr; }

    // The first element with `tag` in document order, or null.
    const GumboNode* first(GumboTag tag) const;

    // The title the page should show: its own, else its first heading's text, else `fallback`.
    QString title(const QString& fallback) const;

private:
    struct Deleter {
        void operator()(GumboOutput* output) const { gumbo_destroy_output(&kGumboDefaultOptions, output); }
    };
    std::unique_ptr<GumboOutput, Deleter> output;
};

// The first node at or below `node`, in document order, for which `match` is true, or null.
const GumboNode* findNode(const GumboNode* node, const std::function<bool(const GumboNode*)>& match);

// The value of an element's attribute, or null when it has none.
const char* attributeValue(const GumboNode* element, const char* name);

// The text inside `node`, runs of white space collapsed to one blank, trimmed.
QString textOf(const GumboNode* node);

bool isHeading(GumboTag tag);

// An element no reader sees: hidden by its own style (as LibreOffice writes hidden
// text) or by the hidden attribute. Publishing drops it with what it holds.
bool isHiddenElement(const GumboNode* element);

// Text made safe for an HTML text node or a double-quoted attribute value.
QByteArray escapeHtml(QByteArrayView text);
