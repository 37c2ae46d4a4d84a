#include "OfficeSession.h"

#include "DocumentSniffer.h"

#include <LibreOfficeKit/LibreOfficeKitInit.h>
#include <LibreOfficeKit/LibreOfficeKit.h>
#include <LibreOfficeKit/LibreOfficeKitEnums.h>

#include <QFile>
#include <QUrl>

namespace {

// Batch: no dialog ever; macros: never executed, whatever the document or profile says.
constexpr char LoadOptions[] = "Batch=true,EnableMacrosExecution=false";

QByteArray fileUrl(const QString& path)
{
    return QUrl::fromLocalFile(path).toEncoded(QUrl::FullyEncoded);
}

} // namespace

std::unique_ptr<OfficeSession> OfficeSession::start(const QString& programFolder,
                                                    const QString& profileFolder, QString& error)
{
    const QByteArray program = QFile::encodeName(programFolder);
    const QByteArray profile = fileUrl(profileFolder);
    LibreOfficeKit* kit = lok_init_2(program.constData(), profile.constData());
    if (!kit) {
        error = QStringLiteral("LibreOfficeKit could not be loaded from %1").arg(programFolder);
        return nullptr;
    }
    std::unique_ptr<OfficeSession> session(new OfficeSession(kit));
    // Asked for a password, the session refuses at once instead of waiting for one.
    kit->pClass->registerCallback(kit, &OfficeSession::callback, session.get());
    kit->pClass->setOptionalFeatures(kit, LOK_FEATURE_DOCUMENT_PASSWORD | LOK_FEATURE_DOCUMENT_PASSWORD_TO_MODIFY);
    return session;
}

OfficeSession::OfficeSession(LibreOfficeKit* kit) : kit(kit) {}

OfficeSession::~OfficeSession() = default;

void OfficeSession::DocumentDeleter::operator()(LibreOfficeKitDocument* document) const
{
    document->pClass->destroy(document);
}

void OfficeSession::callback(int type, const char*, void* data)
{
    // The payload names the document by its file name only, but LibreOffice finds the
    // waiting load by the URL it was given: answer with that one.
    auto* session = static_cast<OfficeSession*>(data);
    if (type == LOK_CALLBACK_DOCUMENT_PASSWORD) {
        session->passwordRequested = true;
        session->kit->pClass->setDocumentPassword(session->kit, session->loadingUrl.constData(), nullptr);
    } else if (type == LOK_CALLBACK_DOCUMENT_PASSWORD_TO_MODIFY) {
        // Read-only is all a conversion needs.
        session->kit->pClass->setDocumentPassword(session->kit, session->loadingUrl.constData(), nullptr);
    }
}

QString OfficeSession::takeError()
{
    char* text = kit->pClass->getError(kit);
    if (!text)
        return {};
    QString error = QString::fromUtf8(text).trimmed();
    kit->pClass->freeError(text);
    return error;
}

OfficeResult OfficeSession::open(const QByteArray& id, const QString& path)
{
    documents.erase(id);
    releaseMainThreadWhenIdle();
    const SniffResult sniffed = sniffDocument(path);
    switch (sniffed.kind) {
    case DocumentKind::Missing: return {"missing", {}};
    case DocumentKind::Unreadable: return {"unreadable", sniffed.detail};
    case DocumentKind::Empty: return {"empty", {}};
    case DocumentKind::NotWord: return {"notword", {}};
    case DocumentKind::WordLike: break;
    }

    passwordRequested = false;
    if (!mainThreadHold)
        mainThreadHold.emplace();
    const QByteArray url = fileUrl(path);
    loadingUrl = url;
    DocumentHandle document(kit->pClass->documentLoadWithOptions(kit, url.constData(), LoadOptions));
    const QString error = takeError();
    OfficeResult result;
    if (passwordRequested)
        result = {"password", {}};
    else if (!document)
        result = {"damaged", error};
    else if (document->pClass->getDocumentType(document.get()) != LOK_DOCTYPE_TEXT)
        result = {"notext", {}};
    else
        documents.emplace(id, std::move(document));
    document.reset();
    releaseMainThreadWhenIdle();
    return result;
}

OfficeResult OfficeSession::saveAsHtml(const QByteArray& id, const QString& htmlPath)
{
    auto found = documents.find(id);
    if (found == documents.end())
        return {"nodocument", {}};
    LibreOfficeKitDocument* document = found->second.get();
    const QByteArray url = fileUrl(htmlPath);
    if (!document->pClass->saveAs(document, url.constData(), "html", nullptr))
        return {"savefailed", takeError()};
    return {};
}

void OfficeSession::close(const QByteArray& id)
{
    documents.erase(id);
    releaseMainThreadWhenIdle();
}

void OfficeSession::releaseMainThreadWhenIdle()
{
    // Between documents the main thread may tidy up; it has nothing to lay out.
    if (documents.empty())
        mainThreadHold.reset();
}
