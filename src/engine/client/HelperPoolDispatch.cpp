// How the pool hands documents to its helpers: copies asked for ahead, then each
// document handed over in the queue's order.
#include "engine/client/HelperPool.h"

#include "engine/client/DocumentCopy.h"
#include "engine/files/LocalFileName.h"
#include "engine/protocol/HelperProtocol.h"

#include <QLocale>

using LibreOfficeHelperProtocol::HelperError;
using LibreOfficeHelperProtocol::wireWord;

void HelperPool::prepareCopies()
{
    for (const std::shared_ptr<Conversion>& conversion : waiting)
        if (!conversion->copy && !conversion->folder.isEmpty())
            conversion->copy = worker->copy(conversion->documentPath, conversion->folder);
}

void HelperPool::dispatch(Helper& helper)
{
    while (helper.sent.size() < conversionsPerHelper && !waiting.empty()) {
        // In the queue's order: the run waits for the first.
        if (waiting.front()->copy && !waiting.front()->copy->ready.load(std::memory_order_acquire))
            return;
        std::shared_ptr<Conversion> conversion = std::move(waiting.front());
        waiting.pop_front();
        const QString root = conversion->folder.isEmpty() ? scratch : conversion->folder.section(QLatin1Char('/'), 0, -2);
        if (conversion->copy && conversion->copy->document.noRoom) {
            conversion->errorKind = wireWord(HelperError::NoRoom);
            conversion->detail = root;
            finish(*conversion, Conversion::Outcome::OpenFailed);
            continue;
        }
        if (conversion->folder.isEmpty() || !conversion->copy || conversion->copy->noFolder
            || helper.process->workFolderIn(root).isEmpty()) {
            conversion->errorKind = wireWord(HelperError::SaveFailed);
            conversion->detail = QStringLiteral("no temporary folder can be made in %1").arg(root);
            finish(*conversion, Conversion::Outcome::SaveFailed);
            continue;
        }
        const HelperDocument& document = conversion->copy->document;
        if (document.tooLarge()) {
            conversion->errorKind = wireWord(HelperError::TooLarge);
            conversion->detail = QStringLiteral("it is %1, larger than Word itself opens (%2)")
                                     .arg(QLocale::c().formattedDataSize(document.size, 1,
                                                                         QLocale::DataSizeTraditionalFormat),
                                          QLocale::c().formattedDataSize(largestDocumentBytes, 0,
                                                                         QLocale::DataSizeTraditionalFormat));
            finish(*conversion, Conversion::Outcome::OpenFailed);
            continue;
        }
        if (!sendConversion(helper, *conversion))
            continue;
        conversion->stage = Conversion::Stage::Sent;
        helper.sent.push_back(std::move(conversion));
    }
}

// The helper is handed the document itself, not its name, and makes a copy of its own
// in its work folder, where no other document of the run lies; the page it makes is
// moved into the conversion's folder, which it may not read. Links inside the document
// resolve from the document's own address.
bool HelperPool::sendConversion(Helper& helper, Conversion& conversion)
{
    const QString root = conversion.folder.section(QLatin1Char('/'), 0, -2);
    const QString workFolder = helper.process->workFolderIn(root) + QLatin1Char('/') + QString::fromLatin1(conversion.id);
    conversion.loadedCopyFolder = documentCopyFolder(workFolder);
    const QString loadedCopy = conversion.loadedCopyFolder + QLatin1Char('/')
                               + conversion.copy->document.path.section(QLatin1Char('/'), -1);
    if (!helper.process->handOver(conversion.copy->document.path)) {
        conversion.errorKind = wireWord(HelperError::Unreadable);
        conversion.detail = QStringLiteral("it cannot be handed to LibreOffice");
        finish(conversion, Conversion::Outcome::OpenFailed);
        return false;
    }
    if (helper.sent.empty())
        startDeadline(helper);
    helper.process->send({LibreOfficeHelperProtocol::Word::Open, conversion.id, LocalFileName::encode(loadedCopy),
                          LocalFileName::encode(conversion.documentPath)});
    helper.process->send({LibreOfficeHelperProtocol::Word::Save, conversion.id, LocalFileName::encode(conversion.stagedPage())});
    helper.process->send({LibreOfficeHelperProtocol::Word::Close, conversion.id});
    return true;
}
