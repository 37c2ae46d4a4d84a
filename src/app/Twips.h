#pragma once

#include <QRect>
#include <QtMath>

class QWidget;

// Layout is given in twips (1/1440 inch); the screen's logical dots per inch turn
// them into pixels.
inline int twipsToPixels(int twips, qreal dotsPerInch)
{
    return qRound(twips * dotsPerInch / 1440.0);
}

QRect twipsRect(const QWidget& widget, int left, int top, int width, int height);
int twipsWidth(const QWidget& widget, int twips);
