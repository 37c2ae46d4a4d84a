#pragma once

#include "run/OutputFormats.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// A page this program wrote, and what it was made from.
struct ManifestEntry {
    QString subfolder; // "" for the output folder itself, or "a/b" below it
    QString page;      // the page's file name, "ab.htm"
    QString source;    // the document's absolute path
    qint64 size = 0;
    qint64 modifiedNanoseconds = 0;
    QByteArray hash; // of the document's content (SHA-256, hex)
    WebFormat format = WebFormat::WebPage;
    ExtensionLength extension = ExtensionLength::Short;

    QString path() const { return subfolder.isEmpty() ? page : subfolder + QLatin1Char('/') + page; }
    // The page's name without its extension, below the output folder ("a/b/ab").
    QString name() const { return path().left(path().lastIndexOf(QLatin1Char('.'))); }
    bool sameDocument(const ManifestEntry& other) const
    {
        return source == other.source && subfolder == other.subfolder;
    }
};

// The record of the pages this program wrote into an output folder and its mirrored
// sub-folders, kept in the output folder itself as a text file (one page a line, each
// field percent-encoded, so that any file name survives). A later run reads it to tell
// which documents changed, which name each document was given, and which pages it may
// remove. Entries that could lead out of the folder make the whole file unusable.
class RunManifest {
public:
    // Beside the pages. Not under the run's temporary prefix ".varnello-", whose
    // unlocked files a run sweeps away.
    static constexpr char FileName[] = ".varnello.manifest";

    const QList<ManifestEntry>& entries() const { return pageEntries; }
    // Takes the place of the entry of the same page, or of the same document and format.
    void record(const ManifestEntry& entry);
    void forget(const QString& path);

    QByteArray toText() const;
    // Nothing when the text is not a manifest of this program, is damaged, or names
    // a page or folder outside the output folder.
    static std::optional<RunManifest> fromText(const QByteArray& text);

private:
    QList<ManifestEntry> pageEntries;
};
