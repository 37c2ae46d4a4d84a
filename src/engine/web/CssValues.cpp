#include "engine/web/CssValues.h"

#include <QList>

#include <algorithm>
#include <array>
#include <string_view>

QByteArray cssColor(QByteArrayView value)
{
    const bool hex = value.startsWith('#') && value.size() >= 4 && value.size() <= 9
                     && std::all_of(value.begin() + 1, value.end(), [](char c) { return std::isxdigit(uchar(c)); });
    const bool named = !value.isEmpty() && value.size() <= 32
                       && std::all_of(value.begin(), value.end(), [](char c) { return std::isalpha(uchar(c)); });
    return hex || named ? value.toByteArray() : QByteArray();
}

QByteArray cssLength(QByteArrayView value)
{
    qsizetype digits = 0;
    while (digits < value.size() && (std::isdigit(uchar(value[digits])) || value[digits] == '.'))
        ++digits;
    if (digits == 0 || digits > 12)
        return {};
    const bool percent = digits < value.size() && value[digits] == '%';
    return value.first(digits).toByteArray() + (percent ? "%" : "px");
}

bool isWholeNumber(QByteArrayView value)
{
    return !value.isEmpty() && std::all_of(value.begin(), value.end(), [](char c) { return std::isdigit(uchar(c)); });
}

bool equalsIgnoringCase(QByteArrayView value, QByteArrayView word)
{
    return value.compare(word, Qt::CaseInsensitive) == 0;
}

QByteArray cssString(QByteArrayView text)
{
    QByteArray quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '<': quoted += "\\3c "; break;
        case '>': quoted += "\\3e "; break;
        case '\n': case '\r': case '\f': quoted += "\\a "; break;
        default: quoted += c;
        }
    }
    return quoted + '"';
}

QByteArray cssFontFamilies(QByteArrayView face)
{
    using namespace std::string_view_literals;
    static constexpr std::array generic{"serif"sv, "sans-serif"sv, "monospace"sv, "cursive"sv, "fantasy"sv, "system-ui"sv};
    QList<QByteArray> families;
    for (const QByteArray& part : face.toByteArray().split(',')) {
        const QByteArray family = part.trimmed();
        if (family.isEmpty())
            continue;
        const bool isGeneric = std::find(generic.begin(), generic.end(), family.toLower().toStdString()) != generic.end();
        families.append(isGeneric ? family.toLower() : cssString(family));
    }
    return families.join(", ");
}

QByteArray cssFontSize(QByteArrayView size)
{
    using namespace std::string_view_literals;
    static constexpr std::array names{"x-small"sv, "small"sv, "medium"sv, "large"sv, "x-large"sv, "xx-large"sv, "xxx-large"sv};
    bool ok = false;
    int value = size.trimmed().toByteArray().toInt(&ok);
    if (!ok)
        return {};
    if (size.startsWith('+') || size.startsWith('-'))
        value += 3; // relative to the default size, 3
    value = std::clamp(value, 1, 7);
    return QByteArray(names[size_t(value - 1)].data(), qsizetype(names[size_t(value - 1)].size()));
}

QByteArray listStyleType(QByteArrayView type)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> numberings{
        {{"1", "decimal"}, {"a", "lower-alpha"}, {"A", "upper-alpha"}, {"i", "lower-roman"}, {"I", "upper-roman"}}};
    for (const auto& [letter, numbering] : numberings) {
        if (type == QByteArrayView(letter.data(), qsizetype(letter.size())))
            return QByteArray(numbering.data(), qsizetype(numbering.size()));
    }
    if (equalsIgnoringCase(type, "disc") || equalsIgnoringCase(type, "circle") || equalsIgnoringCase(type, "square"))
        return type.toByteArray().toLower();
    return {};
}

int borderWidth(QByteArrayView value)
{
    if (value.isEmpty())
        return 1; // a bare border attribute
    qsizetype digits = 0;
    while (digits < value.size() && digits < 6 && std::isdigit(uchar(value[digits])))
        ++digits;
    return digits == 0 ? 0 : value.first(digits).toInt();
}

bool isScriptAddress(QByteArrayView value)
{
    QByteArray compact;
    for (const char c : value)
        if (uchar(c) > ' ')
            compact += char(std::tolower(uchar(c)));
    return compact.startsWith("javascript:") || compact.startsWith("vbscript:");
}
