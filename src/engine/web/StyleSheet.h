#pragma once

#include <QByteArray>
#include <QByteArrayView>

// `css` (a style sheet or the value of a style attribute) without the declarations
// of properties only LibreOffice knows (so-language, so-...), which browsers ignore
// and validators flag. Everything else is copied as it is.
QByteArray withoutInventedProperties(QByteArrayView css);
