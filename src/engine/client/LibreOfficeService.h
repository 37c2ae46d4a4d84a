#pragma once

#include "engine/client/HelperProcess.h"
#include "engine/client/LibreOfficeWordAutomation.h"
#include "engine/client/Profile.h"

#include <QSet>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// The warm LibreOffice helper shared by all application objects, the documents open
// in it, and the rules for replacing it. Application objects hold only the id and
// path of their document and the generation of the helper that opened it.
// Every operation throws AutomationError with a description for the user.
class LibreOfficeService {
public:
    explicit LibreOfficeService(const LibreOfficeSettings& settings);
    ~LibreOfficeService();

    // Makes sure a helper is ready (the first one starts here).
    void start();
    // Opens `path` under `id`; returns the generation of the helper that holds it.
    quint64 open(const QByteArray& id, const QString& path);
    void saveAs(const QByteArray& id, quint64 generation, const QString& documentPath,
                const QString& outputPath, int32_t format);
    void close(const QByteArray& id, quint64 generation, const QString& documentPath);
    // Closes quietly what an application object leaves open when it quits.
    void release(const QByteArray& id, quint64 generation);
    // Ends the helpers; later calls fail as a gone server's would.
    void shutDown();

    QByteArray newDocumentId() { return QByteArray::number(++lastDocumentId); }
    void setCallTimeout(std::chrono::milliseconds timeout) { settings.callTimeout = timeout; }
    qint64 helperProcessId();
    int helperStarts() const { return starts; }

private:
    LibreOfficeHelperProcess& readyHelper();
    std::unique_ptr<LibreOfficeHelperProcess> launch();
    void dropHelper();
    // Throws unless the helper that opened the document still runs.
    void checkHelperHolds(quint64 generation, const QString& documentPath);
    QList<QByteArray> request(const QList<QByteArray>& words, const QString& doing, const QString& documentPath);
    QString newStagingFolder();

    LibreOfficeSettings settings;
    std::optional<LibreOfficeProfile> profile;
    std::optional<QTemporaryDir> staging;
    std::unique_ptr<LibreOfficeHelperProcess> helper;
    std::unique_ptr<LibreOfficeHelperProcess> successor; // already loading, takes over next
    quint64 generation = 0;
    int documentsInHelper = 0;             // opened by the current helper so far
    QSet<QByteArray> openDocuments;        // in the current helper
    quint64 lastDocumentId = 0;
    quint64 lastStagingId = 0;
    int starts = 0;
    bool ended = false;
};
