#include "app/Module1.h"

namespace Module1 {

QString RemoveBlanksAndDots(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char(' '));
    result.remove(QLatin1Char('.'));
    return result;
}

} // namespace Module1
