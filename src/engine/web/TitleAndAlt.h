#pragma once

#include <QByteArray>
#include <QString>

// `html` with a title that is not empty (see ParsedPage::title), an alt on every
// picture (an empty one where the page gives none or a generated one), ScreenTips
// as link titles (see ReaderText.h), header rows' cells as heading cells (see
// TableHeaders.h) and the language most of its text is in (see PageLanguage.h),
// without comments or hidden elements (see isHiddenElement), changed in place:
// every other byte stays as LibreOffice wrote it.
QByteArray withTitleAndAlt(const QByteArray& html, const QString& fallbackTitle);
