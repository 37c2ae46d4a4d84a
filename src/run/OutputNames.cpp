#include "run/OutputNames.h"

#include "platform/FileSystem.h"

#include <utility>

OutputNames::OutputNames(QString outputFolder) : folder(std::move(outputFolder)) {}

QString OutputNames::removeBlanksAndDots(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char(' '));
    result.remove(QLatin1Char('.'));
    return result;
}

QString OutputNames::baseName(const QString& documentName)
{
    const qsizetype lastDot = documentName.lastIndexOf(QLatin1Char('.'));
    return removeBlanksAndDots(lastDot < 0 ? documentName : documentName.left(lastDot));
}

QString OutputNames::claim(const QString& documentName)
{
    QString path = folder + baseName(documentName);
    for (int collisionCounter = 1; isTaken(path); ++collisionCounter)
        path += QString::number(collisionCounter);
    claimed.insert(path);
    return path;
}

void OutputNames::reserve(const QString& name)
{
    claimed.insert(folder + name);
}

bool OutputNames::isTaken(const QString& path) const
{
    return claimed.contains(path) || FileSystem::visibleKindOf(path) == FileSystem::EntryKind::Folder;
}
