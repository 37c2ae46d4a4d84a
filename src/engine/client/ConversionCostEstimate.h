#pragma once

#include <QString>

// What converting a document is likely to cost, judged before it is converted from what
// is cheap to read: the file's size and, for a ZIP package (.docx, .docm), the unpacked
// sizes its directory gives for the text, the styles and the pictures, and the page count
// the package keeps in docProps/app.xml. Reading stops at bounds a hostile file cannot
// push: the directory's tail, a directory of a few megabytes, an app.xml of a few kilobytes.
class ConversionCostEstimate {
public:
    // What is read of a document.
    struct Measures {
        qint64 fileBytes = 0;
        bool package = false;     // a ZIP package whose directory could be read
        qint64 textBytes = 0;     // word/document.xml, unpacked
        qint64 styleBytes = 0;    // word/styles.xml, unpacked
        qint64 pictureBytes = 0;  // word/media/*, unpacked
        qint64 unpackedBytes = 0; // every part, unpacked
        int pages = 0;            // as the package says; 0 when it does not
        qint64 largestPictureBytes = 0; // the largest of word/media/*, unpacked
    };

    static Measures measure(const QString& documentPath);

    explicit ConversionCostEstimate(const Measures& measures) : measures(measures) {}
    explicit ConversionCostEstimate(const QString& documentPath) : measures(measure(documentPath)) {}

    // The processor time one helper is likely to take over it, in milliseconds.
    double milliseconds() const;
    // The bytes its staged copy and page are likely to take together: the copy, and a
    // page about as large as the package unpacked (a .doc's about twice its size).
    qint64 stagedBytes() const;
    // The memory a helper is likely to need for it beyond its own: the pictures' bytes
    // and the few last written held decoded, text as layout.
    qint64 memoryBytes() const;
    // Whether it is too large to stage in memory, so that it is staged on disk.
    bool stagedOnDisk() const;

private:
    Measures measures;
};
