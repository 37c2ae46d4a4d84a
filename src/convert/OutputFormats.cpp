#include "convert/OutputFormats.h"

#include <array>

const OutputFormat& outputFormat(int listIndex)
{
    static const std::array<OutputFormat, OutputFormatCount> formats{{
        {QStringLiteral("Web Page (*.htm; *.html)"), QStringLiteral(".htm"),
         QStringLiteral(".html"), 8},
        {QStringLiteral("Web Page, Filtered (*.htm; *.html)"), QStringLiteral(".htm"),
         QStringLiteral(".html"), 10},
        {QStringLiteral("Single File Page (*.mht; *.mhtml)"), QStringLiteral(".mht"),
         QStringLiteral(".mhtml"), 9},
    }};
    if (listIndex < 0 || listIndex >= OutputFormatCount)
        listIndex = 0;
    return formats[static_cast<size_t>(listIndex)];
}
