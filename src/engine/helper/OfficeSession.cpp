// LibreOffice's headers come first: Qt's keywords must not meet them.
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/task/PasswordRequest.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/implbase1.hxx>

#include "OfficeSession.h"

#include "DocumentSniffer.h"
#include "PictureAltText.h"

#include <LibreOfficeKit/LibreOfficeKitInit.h>

#include <QFile>
#include <QUrl>

#include <dlfcn.h>

namespace css = com::sun::star;
using css::uno::Reference;

namespace {

rtl::OUString toOUString(const QString& text)
{
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), text.size());
}

QString toQString(const rtl::OUString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

rtl::OUString fileUrl(const QString& path)
{
    return toOUString(QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded(QUrl::FullyEncoded)));
}

css::beans::PropertyValue property(const char* name, const css::uno::Any& value)
{
    css::beans::PropertyValue result;
    result.Name = rtl::OUString::createFromAscii(name);
    result.Value = value;
    return result;
}

// Answers every question a document asks while it loads with "cancel", as no
// one is there to answer; notes whether it asked for a password.
class RefusingInteractionHandler : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
public:
    bool passwordRequested = false;

    void SAL_CALL handle(const Reference<css::task::XInteractionRequest>& request) override
    {
        if (request->getRequest().isExtractableTo(cppu::UnoType<css::task::PasswordRequest>::get()))
            passwordRequested = true;
        const auto continuations = request->getContinuations();
        for (sal_Int32 i = 0; i < continuations.getLength(); ++i) {
            Reference<css::task::XInteractionAbort> abort(continuations[i], css::uno::UNO_QUERY);
            if (abort.is()) {
                abort->select();
                return;
            }
        }
    }
};

// LibreOffice's component context, from the instance LibreOfficeKit started in this
// process (comphelper::getProcessComponentContext).
Reference<css::uno::XComponentContext> processContext()
{
    using Getter = Reference<css::uno::XComponentContext> (*)();
    void* library = dlopen("libmergedlo.so", RTLD_NOW | RTLD_NOLOAD);
    auto getter = library ? reinterpret_cast<Getter>(
                      dlsym(library, "_ZN10comphelper26getProcessComponentContextEv"))
                          : nullptr;
    return getter ? getter() : Reference<css::uno::XComponentContext>();
}

void closeQuietly(const Reference<css::lang::XComponent>& component)
{
    if (!component.is())
        return;
    try {
        Reference<css::util::XCloseable> closeable(component, css::uno::UNO_QUERY);
        if (closeable.is())
            closeable->close(true);
        else
            component->dispose();
    } catch (const css::uno::Exception&) {
        try {
            component->dispose();
        } catch (const css::uno::Exception&) {
        }
    }
}

} // namespace

struct OfficeSession::Office {
    _LibreOfficeKit* kit; // not destroyed: LibreOffice's shutdown is slow, the process ends anyway
    Reference<css::frame::XDesktop2> desktop;
};

struct OfficeSession::Document {
    Reference<css::lang::XComponent> component;
    ~Document() { closeQuietly(component); }
};

std::unique_ptr<OfficeSession> OfficeSession::start(const QString& programFolder,
                                                    const QString& profileFolder, QString& error)
{
    const QByteArray program = QFile::encodeName(programFolder);
    const QByteArray profile = QUrl::fromLocalFile(profileFolder).toEncoded(QUrl::FullyEncoded);
    _LibreOfficeKit* kit = lok_init_2(program.constData(), profile.constData());
    if (!kit) {
        error = QStringLiteral("LibreOfficeKit could not be loaded from %1").arg(programFolder);
        return nullptr;
    }
    const MainThreadHold hold;
    auto office = std::make_unique<Office>(Office{kit, {}});
    try {
        const Reference<css::uno::XComponentContext> context = processContext();
        if (context.is())
            office->desktop = css::frame::Desktop::create(context);
    } catch (const css::uno::Exception& exception) {
        error = toQString(exception.Message);
    }
    if (!office->desktop.is()) {
        if (error.isEmpty())
            error = QStringLiteral("LibreOffice's document loader cannot be reached");
        return nullptr;
    }
    return std::unique_ptr<OfficeSession>(new OfficeSession(std::move(office)));
}

OfficeSession::OfficeSession(std::unique_ptr<Office> office) : office(std::move(office)) {}

OfficeSession::~OfficeSession() = default;

// Documents load hidden, as LibreOffice's own batch converter loads them: no window,
// no toolbars, no layout for a screen; read-only; macros never run; nobody asked.
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

    if (!mainThreadHold)
        mainThreadHold.emplace();
    auto* refuser = new RefusingInteractionHandler; // reference-counted by LibreOffice
    const Reference<css::task::XInteractionHandler> handler(refuser);
    const css::beans::PropertyValue properties[] = {
        property("Hidden", css::uno::Any(true)),
        property("ReadOnly", css::uno::Any(true)),
        property("MacroExecutionMode", css::uno::Any(css::document::MacroExecMode::NEVER_EXECUTE)),
        property("InteractionHandler", css::uno::Any(handler)),
    };
    auto document = std::make_unique<Document>();
    QString error;
    try {
        document->component = office->desktop->loadComponentFromURL(
            fileUrl(path), rtl::OUString("_blank"), 0,
            css::uno::Sequence<css::beans::PropertyValue>(properties, std::size(properties)));
    } catch (const css::uno::Exception& exception) {
        error = toQString(exception.Message);
    }

    OfficeResult result;
    const Reference<css::lang::XServiceInfo> info(document->component, css::uno::UNO_QUERY);
    if (refuser->passwordRequested)
        result = {"password", {}};
    else if (!document->component.is())
        result = {"damaged", error};
    else if (!info.is() || !info->supportsService(rtl::OUString("com.sun.star.text.TextDocument")))
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
    const css::beans::PropertyValue properties[] = {
        property("FilterName", css::uno::Any(rtl::OUString("HTML (StarWriter)"))),
        property("Overwrite", css::uno::Any(true)),
    };
    try {
        useDescriptionsAsAltText(found->second->component);
        const Reference<css::frame::XStorable> storable(found->second->component, css::uno::UNO_QUERY_THROW);
        storable->storeToURL(fileUrl(htmlPath),
                             css::uno::Sequence<css::beans::PropertyValue>(properties, std::size(properties)));
    } catch (const css::uno::Exception& exception) {
        return {"savefailed", toQString(exception.Message)};
    }
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
