#pragma once

#include <QByteArray>
#include <QList>

#include <gumbo.h>

// A change to a page at a byte offset: `length` bytes replaced by `text` (0 inserts).
struct HtmlEdit {
    qsizetype offset = 0;
    qsizetype length = 0;
    QByteArray text;
};

// `html` with `edits` applied; they must be sorted by offset. One that overlaps an
// earlier one is skipped.
QByteArray applyEdits(const QByteArray& html, const QList<HtmlEdit>& edits);

// Where the pieces of a page parsed from `html` lie in it. Only pieces the parser
// took from the page itself can be edited: implied elements have none.
class SourceText {
public:
    explicit SourceText(const QByteArray& html) : html(html) {}

    bool contains(const GumboStringPiece& piece) const
    {
        return piece.data && piece.length > 0 && piece.data >= html.constData()
               && piece.data + piece.length <= html.constData() + html.size();
    }
    qsizetype offsetOf(const char* data) const { return qsizetype(data - html.constData()); }
    qsizetype endOf(const GumboStringPiece& piece) const { return offsetOf(piece.data) + qsizetype(piece.length); }

    // Right after a start tag's name, where an attribute can always go.
    qsizetype afterTagName(const GumboStringPiece& tag) const;

private:
    const QByteArray& html;
};
