#include "engine/web/StyleSheet.h"

namespace {

bool isPrintOnly(QByteArrayView property)
{
    for (const char* name : {"widows", "orphans", "page-break-before", "page-break-after", "page-break-inside",
                             "break-before", "break-after", "break-inside"})
        if (property.compare(QByteArrayView(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool declaresInventedProperty(QByteArrayView segment)
{
    const QByteArrayView trimmed = segment.trimmed();
    qsizetype end = 0;
    while (end < trimmed.size() && (std::isalnum(uchar(trimmed[end])) || trimmed[end] == '-'))
        ++end;
    if (end == 0 || !trimmed.sliced(end).trimmed().startsWith(':'))
        return false;
    const QByteArrayView property = trimmed.first(end);
    return property.startsWith("so-") || isPrintOnly(property);
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

QList<QByteArray> declarationsOf(QByteArrayView style)
{
    QList<QByteArray> declarations;
    qsizetype start = 0;
    int depth = 0;
    char quote = 0;
    for (qsizetype at = 0; at <= style.size(); ++at) {
        const char c = at < style.size() ? style[at] : ';';
        if (quote) {
            if (c == '\\')
                ++at;
            else if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && depth > 0) {
            --depth;
        } else if (c == ';' && (depth == 0 || at == style.size())) {
            if (const QByteArrayView declaration = style.sliced(start, at - start).trimmed(); !declaration.isEmpty())
                declarations.append(declaration.toByteArray());
            start = at + 1;
        }
    }
    return declarations;
}
