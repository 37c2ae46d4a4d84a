#pragma once

#include <QString>

// What a ZIP package (.docx, .docm, ...) says about itself before anything is unpacked.
// A small file that unpacks to gigabytes would take all the memory LibreOffice can get
// before it fails; its own directory tells in advance.
struct PackageLimits {
    qint64 largestPart = qint64(1) << 30;    // bytes one part may unpack to
    qint64 total = qint64(2) << 30;          // bytes all parts together may unpack to
    qint64 suspectPartSize = 32 << 20;       // a part this large must not also be
    qint64 suspectRatio = 100;               // packed more tightly than this (real XML: 5-30)
    qint64 maximumParts = 100000;
};

// An empty string when the file is no ZIP package or a sane one; else why it is refused,
// as a sentence's end ("its parts would unpack to ...").
QString checkPackageSize(const QString& path, const PackageLimits& limits = {});
