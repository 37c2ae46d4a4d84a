#include "convert/OutputNames.h"

#include "app/Module1.h"

#include <utility>

OutputNames::OutputNames(QString outputFolder) : folder(std::move(outputFolder)) {}

QString OutputNames::baseName(const QString& documentName)
{
    const qsizetype lastDot = documentName.lastIndexOf(QLatin1Char('.'));
    return Module1::RemoveBlanksAndDots(lastDot < 0 ? documentName : documentName.left(lastDot));
}

QString OutputNames::claim(const QString& documentName)
{
    QString path = folder + baseName(documentName);
    for (int32_t collisionCounter = 1; isTaken(path); ++collisionCounter)
        path += QString::number(collisionCounter);
    claimed.insert(path);
    return path;
}

bool OutputNames::isTaken(const QString& path) const
{
    return claimed.contains(path) || Module1::GetPathKind(path) == Module1::PathKind::Folder;
}
