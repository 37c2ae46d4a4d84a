#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// `css` (a style sheet or the value of a style attribute) without the declarations
// a published page has no use for: of properties only LibreOffice knows (so-language,
// so-...), which browsers ignore and validators flag, and of those only print uses
// (widows, orphans, page breaks). Everything else is copied as it is.
QByteArray withoutInventedProperties(QByteArrayView css);

// The declarations of a style attribute's value, each as it stands, trimmed; a
// semicolon inside quotes or parentheses (a data: address) separates nothing.
QList<QByteArray> declarationsOf(QByteArrayView style);
