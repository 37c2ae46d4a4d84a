// LibreOffice's headers come first: Qt's keywords must not meet them.
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/task/PasswordRequest.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/XTypeDetection.hpp>
#include <com/sun/star/frame/XLoadable.hpp>
#include <cppuhelper/implbase1.hxx>

#include "HiddenLoad.h"
#include "UnoValues.h"
#include "LibreOfficeInternals.h"

#include "engine/files/LocalFileName.h"

#include <vector>

namespace css = com::sun::star;
using css::uno::Reference;

namespace {

// Any name, byte for byte: each byte that is not plain ASCII is percent-encoded.
rtl::OUString byteExactFileUrl(const QString& path)
{
    return toOUString(QString::fromLatin1("file://" + LocalFileName::encode(path).toPercentEncoding("/")));
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

std::vector<css::beans::PropertyValue> hiddenLoadProperties(const Reference<css::task::XInteractionHandler>& handler,
                                                            const QString& documentPath, const QString& filter)
{
    std::vector<css::beans::PropertyValue> properties{
        property("Hidden", css::uno::Any(true)),
        property("ReadOnly", css::uno::Any(true)),
        property("MacroExecutionMode", css::uno::Any(css::document::MacroExecMode::NEVER_EXECUTE)),
        property("UpdateDocMode", css::uno::Any(css::document::UpdateDocMode::NO_UPDATE)),
        property("InteractionHandler", css::uno::Any(handler)),
        // Relative links resolve from where the document itself lies, not from the copy.
        property("DocumentBaseURL", css::uno::Any(byteExactFileUrl(documentPath))),
    };
    if (!filter.isEmpty())
        properties.push_back(property("FilterName", css::uno::Any(toOUString(filter))));
    return properties;
}

rtl::OUString valueOf(const css::uno::Any& properties, const char* name)
{
    css::uno::Sequence<css::beans::PropertyValue> list;
    properties >>= list;
    rtl::OUString value;
    for (const css::beans::PropertyValue& property : list)
        if (property.Name.equalsAscii(name))
            property.Value >>= value;
    return value;
}

// The import filter LibreOffice's type detection chooses for the file at `url`.
rtl::OUString detectedFilter(const Reference<css::uno::XComponentContext>& context, const rtl::OUString& url)
{
    const Reference<css::document::XTypeDetection> detection(
        context->getServiceManager()->createInstanceWithContext("com.sun.star.document.TypeDetection", context),
        css::uno::UNO_QUERY_THROW);
    const css::beans::PropertyValue urlOnly[] = {property("URL", css::uno::Any(url))};
    css::uno::Sequence<css::beans::PropertyValue> descriptor(urlOnly, 1);
    const rtl::OUString type = detection->queryTypeByDescriptor(descriptor, true);
    if (const rtl::OUString filter = valueOf(css::uno::Any(descriptor), "FilterName"); !filter.isEmpty())
        return filter;
    const Reference<css::container::XNameAccess> types(detection, css::uno::UNO_QUERY_THROW);
    return type.isEmpty() ? rtl::OUString() : valueOf(types->getByName(type), "PreferredFilter");
}

// A text document loaded into its model alone: no frame, no view, so no layout of pages.
// Null when the file is no text document (the loader then takes it as it would).
Reference<css::lang::XComponent> loadModelOnly(const rtl::OUString& url, std::vector<css::beans::PropertyValue> properties)
{
    const Reference<css::uno::XComponentContext> context = LibreOfficeInternals::processComponentContext();
    rtl::OUString filter;
    for (const css::beans::PropertyValue& property : properties)
        if (property.Name == "FilterName")
            property.Value >>= filter;
    if (filter.isEmpty()) {
        filter = detectedFilter(context, url);
        properties.push_back(property("FilterName", css::uno::Any(filter)));
    }
    const Reference<css::container::XNameAccess> filters(
        context->getServiceManager()->createInstanceWithContext("com.sun.star.document.FilterFactory", context),
        css::uno::UNO_QUERY_THROW);
    if (filter.isEmpty() || !filters->hasByName(filter)
        || valueOf(filters->getByName(filter), "DocumentService") != "com.sun.star.text.TextDocument")
        return {};
    const Reference<css::frame::XLoadable> model(
        context->getServiceManager()->createInstanceWithContext("com.sun.star.text.TextDocument", context),
        css::uno::UNO_QUERY_THROW);
    properties.push_back(property("URL", css::uno::Any(url)));
    const Reference<css::lang::XComponent> component(model, css::uno::UNO_QUERY_THROW);
    try {
        model->load(css::uno::Sequence<css::beans::PropertyValue>(properties.data(), sal_Int32(properties.size())));
    } catch (const css::uno::Exception&) {
        component->dispose();
        return {};
    }
    return component;
}

} // namespace

HiddenLoad loadHidden(const Reference<css::frame::XDesktop2>& desktop, const QString& loadablePath,
                      const QString& documentPath, const QString& filter, PageLayout layout)
{
    auto* refuser = new RefusingInteractionHandler; // reference-counted by LibreOffice
    const Reference<css::task::XInteractionHandler> handler(refuser);
    const std::vector<css::beans::PropertyValue> properties = hiddenLoadProperties(handler, documentPath, filter);
    HiddenLoad loaded;
    try {
        // What the model alone cannot load (no text document, damaged) goes to the loader,
        // whose answer then stands.
        if (layout == PageLayout::NotNeeded)
            loaded.component = loadModelOnly(fileUrl(loadablePath), properties);
        if (!loaded.component.is() && !refuser->passwordRequested)
            loaded.component = desktop->loadComponentFromURL(
                fileUrl(loadablePath), rtl::OUString("_blank"), 0,
                css::uno::Sequence<css::beans::PropertyValue>(properties.data(), sal_Int32(properties.size())));
    } catch (const css::uno::Exception& exception) {
        loaded.error = toQString(exception.Message);
    }
    loaded.passwordRequested = refuser->passwordRequested;
    return loaded;
}
