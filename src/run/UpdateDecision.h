#pragma once

#include "engine/files/PlainDescriptor.h"
#include "run/ConversionRun.h"
#include "run/RunManifest.h"

#include <QByteArray>
#include <QList>
#include <QMultiHash>

#include <map>
#include <optional>

// What a document was when it was looked at.
struct DocumentFingerprint {
    qint64 size = 0;
    qint64 modifiedNanoseconds = 0;
    QByteArray hash; // SHA-256 in hex; empty until read
};

// The size and modification time of the file at `path` (followed, as its document is
// read), and its content hash when `withHash`; nothing when it cannot be read.
std::optional<DocumentFingerprint> fingerprintOf(const QString& path, bool withHash);

// A document whose page is up to date.
struct UpToDateDocument {
    PlannedDocument document;
    ManifestEntry entry; // its page, with the document as it is now
};

// A run split into what needs converting and what does not.
struct UpdatePlan {
    QList<PlannedDocument> toConvert; // each with the name an earlier run gave it, if any
    QList<DocumentFingerprint> fingerprints; // of `toConvert`, in its order ({} for one that cannot be read)
    QList<UpToDateDocument> upToDate;
    QList<ManifestEntry> refreshed; // of `upToDate`: touched, the same content, a new time
    QStringList takenNames; // every name the manifest holds (see RunPlan::takenNames)
    WebFormat format = WebFormat::WebPage; // of the pages the conversion writes
    ExtensionLength extension = ExtensionLength::Short;
};

// Decides which documents of a run to convert against the manifest of its output
// folder (open at `root`). A document is up to date when the manifest has its page in
// this format and extension, that page is still there, and the document has the
// recorded size and modification time, or, when only its time differs, the recorded
// content. With `skipUpToDate` false every document is converted, but names stay.
class UpdateDecision {
public:
    UpdateDecision(const RunManifest& manifest, int root, WebFormat format, ExtensionLength extension);

    UpdatePlan decide(const QList<PlannedDocument>& documents, bool skipUpToDate);

    // The document's path as the manifest keeps it: absolute, by text alone.
    static QString absolutePath(const QString& path);

private:
    // The recorded page entry, brought up to date, when the document needs no conversion.
    std::optional<ManifestEntry> unchangedEntry(const PlannedDocument& document, const QString& source,
                                                DocumentFingerprint& now);
    bool pageExists(const ManifestEntry& entry);
    // The entry of the document's page in this run's format, if any.
    const ManifestEntry* recordedPage(const QString& source, const QString& subfolder) const;
    // The name the document was given in `subfolder` by any run, "" if none.
    QString recordedName(const QString& source, const QString& subfolder) const;

    const RunManifest& manifest;
    QMultiHash<QString, const ManifestEntry*> entriesBySource;
    int root;
    WebFormat format;
    ExtensionLength extension;
    std::map<QString, PlainDescriptor> folders; // by sub-folder, opened as they are needed
};
