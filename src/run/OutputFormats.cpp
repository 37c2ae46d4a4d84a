#include "run/OutputFormats.h"

#include <algorithm>

const std::array<OutputFormat, 3>& outputFormats()
{
    static const std::array<OutputFormat, 3> formats{{
        {WebFormat::WebPage, QStringLiteral("Web Page (*.htm; *.html)"), QStringLiteral(".htm"),
         QStringLiteral(".html")},
        {WebFormat::FilteredWebPage, QStringLiteral("Web Page, Filtered (*.htm; *.html)"), QStringLiteral(".htm"),
         QStringLiteral(".html")},
        {WebFormat::SingleFileArchive, QStringLiteral("Single File Page (*.mht; *.mhtml)"), QStringLiteral(".mht"),
         QStringLiteral(".mhtml")},
    }};
    return formats;
}

const OutputFormat& outputFormat(WebFormat format)
{
    const auto& formats = outputFormats();
    const auto found = std::ranges::find(formats, format, &OutputFormat::format);
    return found == formats.end() ? formats.front() : *found;
}
