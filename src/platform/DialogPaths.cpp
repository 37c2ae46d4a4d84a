#include "platform/DialogPaths.h"

#include "engine/files/LocalFileName.h"

#include <QList>

#include <dirent.h>
#include <memory>

namespace {

constexpr QChar replacementCharacter(0xFFFD);

struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};

// The one name in `folder` that Qt would show as `shownName`, if there is exactly one.
std::optional<QByteArray> uniqueMatch(const QByteArray& folder, const QString& shownName)
{
    std::unique_ptr<DIR, DirectoryCloser> directory(opendir(folder.isEmpty() ? "/" : folder.constData()));
    if (!directory)
        return std::nullopt;
    std::optional<QByteArray> found;
    while (const dirent* entry = readdir(directory.get())) {
        const QByteArray name(entry->d_name);
        if (QString::fromUtf8(name) != shownName)
            continue;
        if (found)
            return std::nullopt;
        found = name;
    }
    return found;
}

} // namespace

QString recoverDialogPath(const QString& shownPath)
{
    if (!shownPath.contains(replacementCharacter) || !shownPath.startsWith(QLatin1Char('/')))
        return shownPath;
    QByteArray recovered;
    const QStringList parts = shownPath.split(QLatin1Char('/'));
    for (qsizetype index = 1; index < parts.size(); ++index) {
        const QString& part = parts[index];
        QByteArray bytes = LocalFileName::encode(part);
        if (part.contains(replacementCharacter)) {
            const auto match = uniqueMatch(recovered, part);
            if (!match)
                return shownPath;
            bytes = *match;
        }
        recovered += '/' + bytes;
    }
    return LocalFileName::decode(recovered);
}
