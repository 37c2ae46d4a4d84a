#include "engine/web/HtmlEdits.h"

#include <algorithm>
#include <cctype>

QByteArray applyEdits(const QByteArray& html, const QList<HtmlEdit>& edits)
{
    // Reserved whole at once: pages with pictures inlined run to a hundred megabytes, and
    // growing them step by step copies them over and over.
    qsizetype size = html.size();
    for (const HtmlEdit& edit : edits)
        size += edit.text.size() - edit.length;
    QByteArray result;
    result.reserve(std::max(size, html.size()));
    qsizetype copied = 0;
    for (const HtmlEdit& edit : edits) {
        if (edit.offset < copied || edit.offset + edit.length > html.size())
            continue;
        result.append(html.constData() + copied, edit.offset - copied);
        result += edit.text;
        copied = edit.offset + edit.length;
    }
    result.append(html.constData() + copied, html.size() - copied);
    return result;
}

qsizetype SourceText::afterTagName(const GumboStringPiece& tag) const
{
    size_t at = 1;
    while (at < tag.length && std::isalnum(uchar(tag.data[at])))
        ++at;
    return offsetOf(tag.data + at);
}
