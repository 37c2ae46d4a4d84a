#include "app/Twips.h"

#include <QWidget>

QRect twipsRect(const QWidget& widget, int left, int top, int width, int height)
{
    const qreal dpiX = widget.logicalDpiX();
    const qreal dpiY = widget.logicalDpiY();
    return {twipsToPixels(left, dpiX), twipsToPixels(top, dpiY), twipsToPixels(width, dpiX),
            twipsToPixels(height, dpiY)};
}

int twipsWidth(const QWidget& widget, int twips)
{
    return twipsToPixels(twips, widget.logicalDpiX());
}
