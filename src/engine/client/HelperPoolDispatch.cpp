// How the pool hands documents to its helpers: queued, copies asked for ahead, then
// each handed over in the order the look-ahead rule chooses.
#include "engine/client/HelperPool.h"

#include "engine/client/DocumentCopy.h"
#include "engine/protocol/HelperProtocol.h"

#include <QLocale>

using LibreOfficeHelperProtocol::HelperError;
using LibreOfficeHelperProtocol::wireWord;

std::shared_ptr<Conversion> HelperPool::enqueue(const QString& documentPath, bool first)
{
    const QByteArray id = QByteArray::number(++lastId);
    auto conversion =
        std::make_shared<Conversion>(documentPath, staging.folderFor(documentPath, id), id, staging.worker());
    if (first)
        waiting.push_front(conversion);
    else
        waiting.push_back(conversion);
    return conversion;
}

void HelperPool::forget(const std::shared_ptr<Conversion>& conversion)
{
    std::erase(waiting, conversion);
}

void HelperPool::prepareCopies()
{
    for (const std::shared_ptr<Conversion>& conversion : waiting)
        if (!conversion->copy && !conversion->folder.isEmpty())
            conversion->copy = staging.worker()->copy(conversion->documentPath, conversion->folder);
}

void HelperPool::dispatch()
{
    // One document a helper at a time, round the helpers, so that the first helper ready
    // does not take two documents another could convert at the same time.
    for (bool handed = true; handed;) {
        handed = false;
        for (HelperConnection& helper : helpers)
            if (helper.process().poll() == HelperProcess::State::Ready)
                handed = dispatchOne(helper) || handed;
    }
}

bool HelperPool::dispatchOne(HelperConnection& helper)
{
    if (!helper.hasRoom())
        return false;
    LookAhead::Elsewhere elsewhere;
    for (const HelperConnection& other : helpers)
        if (&other != &helper)
            for (const std::shared_ptr<Conversion>& conversion : other.held()) {
                elsewhere.memory += conversion->expectedMemory;
                elsewhere.convertingLong = elsewhere.convertingLong || conversion->expectedLong;
            }
    const auto next = lookAhead.next(waiting, helper.held(), elsewhere);
    if (next == waiting.end())
        return false;
    std::shared_ptr<Conversion> conversion = std::move(*next);
    waiting.erase(next);
    if (!failUnsendable(*conversion, helper))
        helper.send(std::move(conversion), callTimeout);
    return true;
}

bool HelperPool::failUnsendable(Conversion& conversion, const HelperConnection& helper) const
{
    const QString root = conversion.folder.isEmpty() ? staging.scratch() : conversion.folder.section(QLatin1Char('/'), 0, -2);
    if (conversion.copy && conversion.copy->document.noRoom) {
        conversion.errorKind = wireWord(HelperError::NoRoom);
        conversion.detail = root;
        conversion.finish(Conversion::Outcome::OpenFailed);
        return true;
    }
    if (conversion.folder.isEmpty() || !conversion.copy || conversion.copy->noFolder || !helper.worksIn(root)) {
        conversion.errorKind = wireWord(HelperError::SaveFailed);
        conversion.detail = QStringLiteral("no temporary folder can be made in %1").arg(root);
        conversion.finish(Conversion::Outcome::SaveFailed);
        return true;
    }
    const HelperDocument& document = conversion.copy->document;
    if (document.tooLarge()) {
        conversion.errorKind = wireWord(HelperError::TooLarge);
        conversion.detail =
            QStringLiteral("it is %1, larger than Word itself opens (%2)")
                .arg(QLocale::c().formattedDataSize(document.size, 1, QLocale::DataSizeTraditionalFormat),
                     QLocale::c().formattedDataSize(largestDocumentBytes, 0, QLocale::DataSizeTraditionalFormat));
        conversion.finish(Conversion::Outcome::OpenFailed);
        return true;
    }
    return false;
}
