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

    // `path` may hold bytes that are not UTF-8 (see LocalFileName).
    // `path` may be a private copy of the document at `documentPath`.
    OfficeResult open(const QByteArray& id, const QString& path, const QString& documentPath);
    OfficeResult saveAsHtml(const QByteArray& id, const QString& htmlPath);
    void close(const QByteArray& id);
    // Whether the process is sandboxed, so that LibreOffice can read no file a document
    // names; else known ways for a document to make it read one are disarmed first.
    void setConfined(bool confined) { this->confined = confined; }

private:
    struct Office; // LibreOffice's own objects, kept out of this header
    struct Document;

    explicit OfficeSession(std::unique_ptr<Office> office);
    QString loadablePath(const QByteArray& id, const QString& path);
    QString disarmedCopy(const QByteArray& id, const QString& path);

    std::unique_ptr<Office> office;
    std::map<QByteArray, std::unique_ptr<Document>> documents;
    // Plain-named links to documents whose names a file URL cannot carry.
    std::optional<QTemporaryDir> links;
    bool confined = false;
};
