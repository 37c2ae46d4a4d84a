#include "state/StateFolder.h"

#include "state/StateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace StateFile {

std::optional<QString> prepareFolder(const QString& folder, const QString& defaultsFolder)
{
    if (!QFileInfo(folder).isDir()) {
        if (!QDir().mkpath(folder))
            return QStringLiteral("The folder \"%1\" could not be created.").arg(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner);
    }

    for (const QString& name : {Settings, Sources, OutputFolders}) {
        const QString target = path(folder, name);
        const QFileInfo existing(target);
        if (existing.exists() || existing.isSymLink())
            continue;
        QByteArray content;
        QFile defaults(path(defaultsFolder, name));
        if (!defaultsFolder.isEmpty() && defaults.open(QIODevice::ReadOnly))
            content = defaults.readAll();
        // Written afresh rather than copied: the file is the user's, made with the
        // user's umask, whatever the package's copy is.
        QSaveFile out(target);
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size()
            || !out.commit())
            return QStringLiteral("The file \"%1\" could not be created: %2")
                .arg(target, out.errorString());
    }
    return std::nullopt;
}

} // namespace StateFile
