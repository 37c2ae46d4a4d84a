#pragma once

#include "MainThreadHold.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>
#include <optional>

struct _LibreOfficeKit;
struct _LibreOfficeKitDocument;

// The outcome of one operation: empty kind on success, else the protocol's
// error kind and LibreOffice's own words.
struct OfficeResult {
    QByteArray kind;
    QString detail;
    bool ok() const { return kind.isEmpty(); }
};

// LibreOffice loaded into this process through LibreOfficeKit, with the documents
// it holds open, each under the id the program gave it.
class OfficeSession {
public:
    // Loads LibreOffice from its program folder with the given profile folder.
    // Returns null and sets `error` when LibreOffice cannot be loaded.
    static std::unique_ptr<OfficeSession> start(const QString& programFolder,
                                                const QString& profileFolder, QString& error);
    ~OfficeSession();
    OfficeSession(const OfficeSession&) = delete;
    OfficeSession& operator=(const OfficeSession&) = delete;

    OfficeResult open(const QByteArray& id, const QString& path);
    OfficeResult saveAsHtml(const QByteArray& id, const QString& htmlPath);
    void close(const QByteArray& id);

private:
    explicit OfficeSession(_LibreOfficeKit* kit);
    QString takeError();
    static void callback(int type, const char* payload, void* data);

    struct DocumentDeleter {
        void operator()(_LibreOfficeKitDocument* document) const;
    };
    using DocumentHandle = std::unique_ptr<_LibreOfficeKitDocument, DocumentDeleter>;

    // Not destroyed on exit on purpose: LibreOffice's shutdown is slow and may hang,
    // and the process ends right after.
    _LibreOfficeKit* kit;
    std::map<QByteArray, DocumentHandle> documents;
    bool passwordRequested = false;
    QByteArray loadingUrl; // the document being loaded, as LibreOffice was given it
    // Taken before a load, given back once no document is open.
    std::optional<MainThreadHold> mainThreadHold;
    void releaseMainThreadWhenIdle();
};
