#include "engine/web/ReaderText.h"

#include <QRegularExpression>
#include <QString>

namespace {

using Option = QRegularExpression::PatternOption;

} // namespace

bool isGeneratedAltText(QByteArrayView alt)
{
    // The names Word and LibreOffice give objects, in the languages they are most often
    // met in, followed by a number.
    static const QRegularExpression generatedName(
        QStringLiteral("\\A(?:picture|image|graphics?|shape|drawobject|frame|object|text ?box|rectangle|rounded "
                       "rectangle|oval|group|chart|diagram|canvas|line|freeform|straight (?:arrow )?connector|"
                       "wordart|ole ?object|grafik|bild|imagen|immagine|afbeelding|obraz|рисунок|изображение)"
                       "\\s*\\d+\\z"),
        Option::CaseInsensitiveOption | Option::UseUnicodePropertiesOption);
    static const QRegularExpression fileName(
        QStringLiteral("(?:\\A(?:[a-z]:)?[\\\\/]|\\A(?:file|https?):|\\.(?:png|jpe?g|gif|bmp|dib|emf|wmf|tiff?|svg|"
                       "pcx|pict?|eps|webp)\\z)"),
        Option::CaseInsensitiveOption);
    const QString text = QString::fromUtf8(alt).trimmed();
    return !text.isEmpty() && (generatedName.match(text).hasMatch() || fileName.match(text).hasMatch());
}

bool isScreenTipTarget(QByteArrayView target)
{
    const QByteArrayView name = target.trimmed();
    if (name.isEmpty())
        return false;
    for (const char* known : {"_blank", "_self", "_parent", "_top"})
        if (name.compare(QByteArrayView(known), Qt::CaseInsensitive) == 0)
            return false;
    return true;
}
