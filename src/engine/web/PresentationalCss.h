#pragma once

#include "engine/web/CssValues.h"

#include <QByteArrayView>

#include <gumbo.h>

// Adds to `css` the declarations that carry the look of the presentational attribute
// `name` (lower case) with `value` (trimmed) on an element with `tag`; attributes
// without a CSS counterpart add nothing.
void presentationalAsCss(GumboTag tag, QByteArrayView name, QByteArrayView value, Declarations& css);
