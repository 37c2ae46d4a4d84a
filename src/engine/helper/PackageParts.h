#pragma once

#include "engine/files/PlainDescriptor.h"
#include "engine/files/ZipDirectory.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <initializer_list>
#include <optional>

// A Word package (.docx, .docm, ...) as the helper reads it before LibreOffice does:
// its parts, and the text of its markup, unpacked once for every question asked of it.
// Only a package that can be written again as it is read is opened: no ZIP64, no
// encryption, no name twice, only stored or deflated parts.
class PackageParts {
public:
    static std::optional<PackageParts> open(const QString& path);

    int descriptor() const { return file.get(); }
    const QList<ZipDirectory::Entry>& entries() const { return parts; }
    // Every XML part's text, or nothing when one cannot be read whole or they are
    // too large together.
    const std::optional<QList<QByteArray>>& markup();

    // Whether any part holds a field (page numbers, counts, references): their values
    // come from the layout of pages, which a document loaded without a view has not.
    bool holdsFields();
    // Whether any part may format text hidden (`vanish`, `specVanish`, `webHidden`).
    bool mayHideText();
    // LibreOffice's import filter for a plain Word document (.docx, transitional markup,
    // no macros, no template) named with `suffix`, or nothing for any other package: its
    // own detection would open the package once more to read the same two parts.
    QString importFilter(const QString& suffix) const;

private:
    QByteArray part(const char* name, quint64 largest) const;
    // Whether any markup part holds one of `words`; true when the markup cannot be read.
    bool anyMarkupContains(std::initializer_list<const char*> words);
    PackageParts(PlainDescriptor file, QList<ZipDirectory::Entry> parts) : file(std::move(file)), parts(std::move(parts)) {}

    PlainDescriptor file;
    QList<ZipDirectory::Entry> parts;
    bool markupRead = false;
    std::optional<QList<QByteArray>> markupText;
};
