#pragma once

#include "engine/protocol/HelperProtocol.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <optional>

// The outcome of one operation: no error on success, else the protocol's error
// and LibreOffice's own words.
struct OfficeResult {
    std::optional<LibreOfficeHelperProtocol::HelperError> error;
    QString detail;
    bool ok() const { return !error; }
};

// LibreOffice started in this process through LibreOfficeKit, with the documents
// it holds open, each under the id the program gave it. Documents are opened through
// LibreOffice's own loader, hidden: a LibreOfficeKit load builds a view for a screen
// (toolbars, layout) that a conversion never shows, and takes half as long again.
class OfficeSession {
public:
    // Loads LibreOffice from its program folder with the given profile folder.
    // Returns null and sets `failure` when LibreOffice cannot be loaded.
    static std::unique_ptr<OfficeSession> start(const QString& programFolder,
                                                const QString& profileFolder, OfficeResult& failure);
    ~OfficeSession();
    OfficeSession(const OfficeSession&) = delete;
    OfficeSession& operator=(const OfficeSession&) = delete;

    // Takes the document handed over on `documentSocket`, copies it to `copyPath` (in
    // this helper's work folder) and loads that copy; the copy's folders go with the
    // document. `documentPath` is where the document itself lies. Both may hold bytes
    // that are not UTF-8 (see LocalFileName).
    OfficeResult open(const QByteArray& id, int documentSocket, const QString& copyPath, const QString& documentPath);
    // Saves the page in the document's work folder, then moves the page's folder (the
    // page and its pictures) to the folder of `htmlPath`, out of this helper's reach.
    OfficeResult saveAsHtml(const QByteArray& id, const QString& htmlPath);
    void close(const QByteArray& id);

private:
    struct Office; // LibreOffice's own objects, kept out of this header
    struct Document;

    explicit OfficeSession(std::unique_ptr<Office> office);
    QString loadablePath(const QByteArray& id, const QString& path);
    QString disarmedCopy(const QByteArray& id, const QString& path);
    OfficeResult prepareLoadable(const QByteArray& id, bool webArchive, const QString& path,
                                 const QString& documentPath, Document& document, QString& loadable);
    static QString lightened(Document& document, const QString& copyPath, const QString& loadable);
    OfficeResult load(Document& document, const QString& loadable, const QString& documentPath,
                      const QString& filter);
    OfficeResult store(Document& document, const QString& htmlPath);
    OfficeResult storeRestoringPictures(Document& document, const QString& htmlPath, const QString& pageFolder);

    std::unique_ptr<Office> office;
    std::map<QByteArray, std::unique_ptr<Document>> documents;
    // Plain-named links to documents whose names a file URL cannot carry.
    std::optional<QTemporaryDir> links;
};
