#pragma once

#include <cstdint>
#include <optional>

// The web formats a document can be saved in, by Word's save-format numbers
// (SaveAs FileFormat), which callers pass on unchanged.
enum class WebFormat : int32_t {
    WebPage = 8,           // page + pictures in <name>_files/
    SingleFileArchive = 9, // one RFC 2557 MIME archive
    FilteredWebPage = 10,  // one page, pictures as data: URIs
};

// The format a save-format number names; nothing for any other number.
inline std::optional<WebFormat> webFormatFromCode(int32_t code)
{
    switch (WebFormat(code)) {
    case WebFormat::WebPage:
    case WebFormat::SingleFileArchive:
    case WebFormat::FilteredWebPage: return WebFormat(code);
    }
    return std::nullopt;
}
