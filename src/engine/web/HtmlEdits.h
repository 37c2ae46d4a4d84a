#pragma once

#include <QByteArray>
#include <QList>

// A change to a page at a byte offset: `length` bytes replaced by `text` (0 inserts).
struct HtmlEdit {
    qsizetype offset = 0;
    qsizetype length = 0;
    QByteArray text;
};

// `html` with `edits` applied; they must be sorted by offset. One that overlaps an
// earlier one is skipped.
QByteArray applyEdits(const QByteArray& html, const QList<HtmlEdit>& edits);
