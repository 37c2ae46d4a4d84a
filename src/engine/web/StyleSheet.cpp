#include "engine/web/StyleSheet.h"

namespace {

bool declaresInventedProperty(QByteArrayView segment)
{
    const QByteArrayView trimmed = segment.trimmed();
    if (!trimmed.startsWith("so-"))
        return false;
    qsizetype end = 3;
    while (end < trimmed.size() && (std::isalnum(uchar(trimmed[end])) || trimmed[end] == '-'))
        ++end;
    return trimmed.sliced(end).trimmed().startsWith(':');
}

} // namespace

QByteArray withoutInventedProperties(QByteArrayView css)
{
    QByteArray result;
    result.reserve(css.size());
    qsizetype segmentStart = 0;
    char quote = 0;
    for (qsizetype at = 0; at < css.size(); ++at) {
        const char c = css[at];
        if (quote) {
            if (c == '\\')
                ++at;
            else if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '/' && at + 1 < css.size() && css[at + 1] == '*') {
            const qsizetype close = css.indexOf("*/", at + 2);
            at = close < 0 ? css.size() : close + 1;
        } else if (c == '{' || c == '}' || c == ';') {
            const QByteArrayView segment = css.sliced(segmentStart, at - segmentStart);
            if (c != '{' && declaresInventedProperty(segment)) {
                // Dropped with its semicolon; a closing brace stays.
                if (c == '}')
                    result += '}';
            } else {
                result += segment;
                result += c;
            }
            segmentStart = at + 1;
        }
    }
    const QByteArrayView rest = css.sliced(segmentStart);
    if (!declaresInventedProperty(rest))
        result += rest;
    return result;
}
