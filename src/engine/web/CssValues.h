#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Values of the old presentational attributes turned into CSS values. Each gives an
// empty value when the attribute's value is not one it can carry safely.

// A colour as the page wrote it, when it is a plain one: nothing that could end a rule.
QByteArray cssColor(QByteArrayView value);
// An HTML length (digits, maybe a fraction, maybe a percent sign) as CSS, or empty.
QByteArray cssLength(QByteArrayView value);
// A quoted CSS string that cannot end the rule or the <style> element holding it.
QByteArray cssString(QByteArrayView text);
// A font attribute's comma-separated faces, generic families kept bare.
QByteArray cssFontFamilies(QByteArrayView face);
// A font size 1 to 7 (or relative to 3) as the CSS keyword for it.
QByteArray cssFontSize(QByteArrayView size);
// A list's type attribute as a list-style-type.
QByteArray listStyleType(QByteArrayView type);
// The pixels of a border attribute: a bare attribute means 1.
int borderWidth(QByteArrayView value);

bool isWholeNumber(QByteArrayView value);
bool equalsIgnoringCase(QByteArrayView value, QByteArrayView word);
// An address that would run a script when followed (spaces and controls ignored, as browsers do).
bool isScriptAddress(QByteArrayView value);

// The declarations collected for one element, in the order they were added.
class Declarations {
public:
    // Values that came out empty add nothing.
    void add(QByteArrayView property, QByteArrayView value)
    {
        if (value.isEmpty())
            return;
        if (!text.isEmpty())
            text += "; ";
        text += property.toByteArray() + ": " + value.toByteArray();
    }
    QByteArray text;
};
