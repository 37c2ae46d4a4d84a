// LibreOffice's headers come first: Qt's keywords must not meet them.
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/task/PasswordRequest.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <cppuhelper/implbase1.hxx>

#include "HiddenLoad.h"
#include "UnoValues.h"

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

} // namespace

HiddenLoad loadHidden(const Reference<css::frame::XDesktop2>& desktop, const QString& loadablePath,
                      const QString& documentPath, const QString& filter)
{
    auto* refuser = new RefusingInteractionHandler; // reference-counted by LibreOffice
    const Reference<css::task::XInteractionHandler> handler(refuser);
    const std::vector<css::beans::PropertyValue> properties = hiddenLoadProperties(handler, documentPath, filter);
    HiddenLoad loaded;
    try {
        loaded.component = desktop->loadComponentFromURL(
            fileUrl(loadablePath), rtl::OUString("_blank"), 0,
            css::uno::Sequence<css::beans::PropertyValue>(properties.data(), sal_Int32(properties.size())));
    } catch (const css::uno::Exception& exception) {
        loaded.error = toQString(exception.Message);
    }
    loaded.passwordRequested = refuser->passwordRequested;
    return loaded;
}
