#include "sources/DocumentNames.h"

#include <algorithm>
#include <vector>

namespace DocumentNames {

bool isWordDocument(std::string_view utf8Name)
{
    const size_t dot = utf8Name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string_view extension = utf8Name.substr(dot + 1);
    if (extension.size() < 3)
        return false;
    // No other character folds to these three letters, so ASCII case is the whole rule.
    auto lower = [](char letter) { return static_cast<char>(letter | 0x20); };
    return lower(extension[0]) == 'd' && lower(extension[1]) == 'o' && lower(extension[2]) == 'c';
}

void sortIgnoringCase(QStringList& names)
{
    struct Keyed {
        QString key;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<size_t>(names.size()));
    for (QString& name : names)
        keyed.push_back({name.toCaseFolded(), std::move(name)});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& left, const Keyed& right) {
        if (const int order = QString::compare(left.key, right.key); order != 0)
            return order < 0;
        return left.name < right.name;
    });
    names.clear();
    for (Keyed& entry : keyed)
        names.append(std::move(entry.name));
}

} // namespace DocumentNames
