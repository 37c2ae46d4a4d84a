// Whether a Word package's markup shows its pictures as they are stored; see LightPackage.h.
//
// The markup is Office Open XML: pictures are DrawingML `pic:pic` elements (a `blip`
// naming the picture's part, inside a `pic:blipFill`) or, in older files, VML shapes
// with an `imagedata`. What would make LibreOffice change a picture's pixels before
// writing it, or draw it into something else, is refused; so is anything unknown
// inside a `blip`, which is where Word keeps a picture's colour and artistic effects.

#include "LightPackage.h"

#include <QRegularExpression>
#include <QSet>

namespace {

bool anyMatch(const QString& text, const QRegularExpression& expression)
{
    return expression.match(text).hasMatch();
}

// Every `blip` holds only the extensions Word adds to any picture.
bool blipsPlain(const QString& xml)
{
    static const QRegularExpression blip(QStringLiteral("<(?:\\w+:)?blip\\b[^>]*?(?:/>|>(.*?)</(?:\\w+:)?blip>)"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression child(QStringLiteral("<(?:\\w+:)?(\\w+)"));
    static const QSet<QString> plain{QStringLiteral("extLst"), QStringLiteral("ext"), QStringLiteral("useLocalDpi")};
    for (auto blips = blip.globalMatch(xml); blips.hasNext();) {
        const QString inside = blips.next().captured(1);
        for (auto children = child.globalMatch(inside); children.hasNext();)
            if (!plain.contains(children.next().captured(1)))
                return false;
    }
    return true;
}

// Pictures fill only picture frames (`pic:blipFill`), not shapes, charts or diagrams.
bool fillsOnlyPictures(const QString& xml)
{
    static const QRegularExpression fill(QStringLiteral("<(\\w+:)?blipFill\\b"));
    for (auto fills = fill.globalMatch(xml); fills.hasNext();)
        if (fills.next().captured(1) != QLatin1String("pic:"))
            return false;
    return true;
}

// No crop (a `srcRect` with a side other than 0), no turn and no mirror (an `xfrm` with
// `rot` or `flipH`/`flipV`).
bool uncroppedAndUpright(const QString& xml)
{
    static const QRegularExpression cropped(
        QStringLiteral("<(?:\\w+:)?srcRect\\b[^>]*\\b[ltrb]=\"-?0*[1-9]"));
    static const QRegularExpression turned(
        QStringLiteral("<(?:\\w+:)?xfrm\\b[^>]*\\b(?:rot=\"-?0*[1-9]|flip[HV]=\"(?:1|true)\")"));
    return !anyMatch(xml, cropped) && !anyMatch(xml, turned);
}

// The same in VML: an `imagedata` neither cropped nor recoloured, no shape turned or
// mirrored, no picture as a shape's or the page's fill.
bool vmlPlain(const QString& xml)
{
    static const QRegularExpression changedPicture(QStringLiteral(
        "<(?:\\w+:)?imagedata\\b[^>]*\\b(?:crop\\w*|gain|blacklevel|gamma|grayscale|bilevel|chromakey|embosscolor)="));
    static const QRegularExpression turnedShape(QStringLiteral("style=\"[^\"]*\\b(?:rotation|flip)\\s*:"));
    static const QRegularExpression pictureFill(QStringLiteral("<(?:\\w+:)?fill\\b[^>]*\\b(?:r:id|o:relid|src)="));
    return !anyMatch(xml, changedPicture) && !anyMatch(xml, turnedShape) && !anyMatch(xml, pictureFill);
}

// No picture that LibreOffice draws itself: previews of embedded objects and controls,
// picture bullets.
bool nothingDrawn(const QString& xml)
{
    static const QRegularExpression drawn(
        QStringLiteral("<(?:\\w+:)?(?:OLEObject|object|control|numPicBullet|buBlip)\\b"));
    return !anyMatch(xml, drawn);
}

} // namespace

bool picturesShownAsStored(const QByteArray& xml)
{
    const QString text = QString::fromUtf8(xml);
    return blipsPlain(text) && fillsOnlyPictures(text) && uncroppedAndUpright(text) && vmlPlain(text)
           && nothingDrawn(text);
}
