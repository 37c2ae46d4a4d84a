#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <QtMath>

// Layout is given in twips (1/1440 inch); the screen's logical dots per inch turn
// them into pixels.
inline int twipsToPixels(int twips, qreal dotsPerInch)
{
    return qRound(twips * dotsPerInch / 1440.0);
}

QRect twipsRect(const QWidget& widget, int left, int top, int width, int height);
int twipsWidth(const QWidget& widget, int twips);

// A named control at a position given in twips, owned by its parent.
template <typename Control>
Control* placeControl(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(twipsRect(*parent, left, top, width, height));
    return control;
}

template <typename Control>
Control* placeControl(QWidget* parent, const char* name, const QString& caption, int left,
                      int top, int width, int height)
{
    auto* control = placeControl<Control>(parent, name, left, top, width, height);
    control->setText(caption);
    return control;
}
