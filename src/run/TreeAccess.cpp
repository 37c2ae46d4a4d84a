#include "run/TreeAccess.h"

#include "engine/files/LocalFileName.h"
#include "engine/files/ReplacementFile.h"
#include "engine/web/OutputFiles.h"

#include <QRandomGenerator>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace TreeAccess {

bool isPlainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

bool isPlainSubfolder(const QString& subfolder)
{
    if (subfolder.isEmpty())
        return true;
    const QStringList names = subfolder.split(QLatin1Char('/'));
    return std::all_of(names.begin(), names.end(), isPlainName);
}

PlainDescriptor openFolderBelow(int root, const QString& subfolder)
{
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    PlainDescriptor folder(openat(root, ".", flags));
    if (subfolder.isEmpty())
        return folder;
    for (const QString& name : subfolder.split(QLatin1Char('/'))) {
        if (!folder.isValid() || !isPlainName(name))
            return {};
        folder = PlainDescriptor(openat(folder.get(), LocalFileName::encode(name).constData(), flags));
    }
    return folder;
}

std::optional<QByteArray> readStart(int folder, const QByteArray& name, qint64 limit)
{
    const PlainDescriptor file(openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!file.isValid() || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    QByteArray bytes(qMin<qint64>(limit, status.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(filled);
    return bytes;
}

QString replaceFile(int folder, const QByteArray& name, const QByteArray& bytes)
{
    // Under the prefix of the run's temporaries, so that a crash leaves nothing a later
    // run would not sweep away; locked, so that no other run sweeps it meanwhile.
    ReplacementFile file(folder, [] {
        return QByteArray(TemporaryOutputPrefix) + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    }, true);
    int failure = file.isValid() ? file.write(bytes) : file.error();
    if (failure == 0)
        failure = file.close(true);
    if (failure == 0)
        failure = file.replace(name);
    return failure == 0 ? QString() : QString::fromLocal8Bit(std::strerror(failure));
}

} // namespace TreeAccess
