#pragma once

#include "engine/files/ZipDirectory.h"

#include <QByteArray>
#include <QString>

#include <vector>

class PackageParts;

// A Word package (.docx, .docm, ...) whose large photographs are swapped for stand-ins
// (see StandInPictures.h) before LibreOffice loads it, and put back into its page
// afterwards: LibreOffice then makes the same page in a fraction of the time.
//
// A swap is made only where the page must show a picture's own bytes: pictures in
// frames of their own, neither cropped, turned, mirrored, recoloured nor drawn into
// a shape, an embedded object or the page's background. A package that uses a picture
// otherwise anywhere, or whose parts cannot all be read, is loaded as it is.
class LightPackage {
public:
    struct StandIn {
        QByteArray bytes;
        ZipDirectory::Entry original;
    };

    // Pictures smaller than this are not worth a swap. Even pictures of some 15 KB (a
    // chart, a logo) took a fifth of a helper's time on office documents.
    static constexpr quint64 smallestSwapped = 4 << 10;

    // Writes the light copy of `package` (the one at `packagePath`) to `lightPath`; an
    // empty result, and no file, when it would not be lighter or the swap is not safe.
    static LightPackage write(PackageParts& package, const QString& packagePath, const QString& lightPath);

    bool isEmpty() const { return standIns.empty(); }

    // Puts the photographs back into the page folder `pageFolder`, in the files that hold
    // a stand-in's bytes. False when the page shows a stand-in changed (a picture the
    // page does not show as stored after all) or a photograph cannot be put back: the
    // page must then be made from the package itself.
    bool restore(const QString& pageFolder) const;

private:
    QString packagePath;
    std::vector<StandIn> standIns;
};

// Whether the package's markup `xml` uses its pictures only in frames of their own, as
// they are stored (see LightPackage).
bool picturesShownAsStored(const QByteArray& xml);
