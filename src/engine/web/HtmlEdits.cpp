#include "engine/web/HtmlEdits.h"

QByteArray applyEdits(const QByteArray& html, const QList<HtmlEdit>& edits)
{
    QByteArray result;
    result.reserve(html.size());
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
