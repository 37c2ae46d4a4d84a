#pragma once

#include "engine/client/Conversion.h"
#include "engine/client/HelperPool.h"
#include "engine/client/LibreOfficeSettings.h"
#include "engine/client/LookAhead.h"
#include "engine/client/AnnouncedRun.h"

#include <QHash>
#include <QStringList>

#include <memory>

// The documents of all application objects, converted by a pool of LibreOffice
// helpers. Opening a document takes its conversion: the one started ahead for the
// announced run, or one started then. Saving writes the user's web output from it;
// closing lets it go. Every operation throws AutomationError with a description for
// the user, at the same call and with the same text whether the work was done ahead
// or not.
class LibreOfficeService {
public:
    explicit LibreOfficeService(const LibreOfficeSettings& settings);

    // Makes sure a helper is ready (the first one starts here).
    void start();
    // The run's documents, in order; an empty list ends the plan.
    void announce(const QStringList& documentPaths);
    // Where the run writes each document's page, by the document's absolute path.
    void setPageOfDocument(QHash<QString, QString> pages) { pageOfDocument = std::move(pages); }
    void open(const QByteArray& id, const QString& path);
    void saveAs(const QByteArray& id, const QString& outputPath, int32_t format);
    void close(const QByteArray& id);
    // Lets go quietly of what an application object leaves open when it quits.
    void release(const QByteArray& id);
    // Ends the helpers; later calls fail as a gone server's would.
    void shutDown();
    // From any thread: the run stops now. The helpers are ended and every call from
    // here on fails, the one waiting included, with EngineErrors::stopped.
    void requestStop() { stopRequested.store(true); }

    QByteArray newDocumentId() { return QByteArray::number(++lastDocumentId); }
    void setCallTimeout(std::chrono::milliseconds timeout) { pool->setCallTimeout(timeout); }
    qint64 helperProcessId() { return pool ? pool->firstProcessId() : 0; }
    int helperStarts() const { return pool ? pool->starts() : 0; }

private:
    [[noreturn]] void fail(const Conversion& conversion, const QString& doing) const;

    const LibreOfficeSettings settings;
    std::atomic<bool> stopRequested{false}; // before `pool`, which watches it
    LookAhead lookAhead;                    // before `pool`, which follows it
    std::unique_ptr<HelperPool> pool;
    AnnouncedRun announcedRun{lookAhead}; // after `pool`, whose conversions it holds
    QHash<QByteArray, std::shared_ptr<Conversion>> openDocuments;
    QHash<QString, QString> pageOfDocument;
    quint64 lastDocumentId = 0;
    bool libreOfficeFound = false;
};
