#pragma once

#include <QString>
#include <cstdint>

// One entry of the format drop-down: what it offers and what the word processor
// is asked to write.
struct OutputFormat {
    QString entry;
    QString shortExtension; // with Option1
    QString longExtension;  // with Option2
    int32_t wordFormatCode; // passed to SaveAs unchanged
};

inline constexpr int OutputFormatCount = 3;

// The format at `listIndex` of Combo1 (0 web page, 1 filtered, 2 web archive);
// any other index gives the first.
const OutputFormat& outputFormat(int listIndex);
