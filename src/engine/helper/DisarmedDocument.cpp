#include "DisarmedDocument.h"

#include "RtfPictureFields.h"
#include "SvgReferences.h"

#include <QFile>

QByteArray disarmedDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.peek(64).trimmed();
    const bool rtf = isRtf(head);
    if (!rtf && !head.startsWith('<'))
        return {};
    QByteArray content = file.readAll();
    if (rtf)
        return disarmPictureInclusions(content) > 0 ? content : QByteArray();
    QByteArray safe = withSafeSvgDataUris(content);
    return safe == content ? QByteArray() : safe;
}
