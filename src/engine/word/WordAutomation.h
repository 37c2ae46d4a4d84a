#pragma once

#include "engine/word/AutomationError.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

// One application object of the word processor, driven as Word's automation
// interface would be. Every call blocks until it is done and throws
// AutomationError when it fails.
class WordApplication {
public:
    virtual ~WordApplication() = default;
    // Documents.Open: the document becomes the active document.
    virtual void DocumentsOpen(const QString& documentPath) = 0;
    // ActiveDocument.SaveAs with FileFormat (8 web page, 9 web archive, 10 filtered).
    virtual void ActiveDocumentSaveAs(const QString& outputPath, int32_t FileFormat) = 0;
    // ActiveDocument.Close
    virtual void ActiveDocumentClose() = 0;
    // Quit: ends this application object and closes what it left open.
    virtual void Quit() = 0;
};

// Creates application objects ("Word.Application"): a new, independent one per call.
class WordAutomation {
public:
    virtual ~WordAutomation() = default;
    virtual std::unique_ptr<WordApplication> CreateObject() = 0;
    // A hint before a run: these documents will be converted in this order, each in
    // FileFormat. An implementation may start on them early; calls that follow must
    // behave exactly as without the hint. An empty list ends the plan.
    virtual void Announce(const QStringList& documentPaths, int32_t FileFormat)
    {
        Q_UNUSED(documentPaths);
        Q_UNUSED(FileFormat);
    }
    // The pages the run will write for its documents (`pagePaths[i]` for
    // `documentPaths[i]`), so that a link from one document to another leads to that
    // one's page. Empty lists end it.
    virtual void AnnouncePages(const QStringList& documentPaths, const QStringList& pagePaths)
    {
        Q_UNUSED(documentPaths);
        Q_UNUSED(pagePaths);
    }
};
