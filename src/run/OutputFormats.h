#pragma once

#include "engine/word/WebFormat.h"

#include <QString>

#include <array>

// Which of a format's two extensions the outputs get: ".htm" or ".html", ".mht" or ".mhtml".
enum class ExtensionLength { Short, Long };

// One output format: how it is offered and which extensions its pages get.
struct OutputFormat {
    WebFormat format;
    QString entry; // the format's caption in the format list
    QString shortExtension;
    QString longExtension;

    const QString& extension(ExtensionLength length) const
    {
        return length == ExtensionLength::Long ? longExtension : shortExtension;
    }
};

// The formats in the order they are offered: web page, filtered web page, web archive.
const std::array<OutputFormat, 3>& outputFormats();

const OutputFormat& outputFormat(WebFormat format);
