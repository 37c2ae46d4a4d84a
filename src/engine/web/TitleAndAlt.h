#pragma once

#include <QByteArray>
#include <QString>

// `html` with a title that is not empty (see ParsedPage::title) and an alt on every
// picture (an empty one where the page gives none), without comments or hidden
// elements (see isHiddenElement), changed in place: every other
// byte stays as LibreOffice wrote it.
QByteArray withTitleAndAlt(const QByteArray& html, const QString& fallbackTitle);
