#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertySetInfo.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPageSupplier.hpp>

#include "PictureAltText.h"

namespace css = com::sun::star;
using css::uno::Reference;

void useDescriptionsAsAltText(const Reference<css::lang::XComponent>& document)
{
    const rtl::OUString title("Title");
    const rtl::OUString description("Description");
    try {
        const Reference<css::drawing::XDrawPageSupplier> supplier(document, css::uno::UNO_QUERY);
        if (!supplier.is())
            return;
        // Writer documents have the one draw page, which the interface's newer sibling does not serve.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        const Reference<css::container::XIndexAccess> shapes(supplier->getDrawPage(), css::uno::UNO_QUERY);
#pragma GCC diagnostic pop
        if (!shapes.is())
            return;
        for (sal_Int32 i = 0; i < shapes->getCount(); ++i) {
            try {
                const Reference<css::beans::XPropertySet> shape(shapes->getByIndex(i), css::uno::UNO_QUERY);
                if (!shape.is())
                    continue;
                const Reference<css::beans::XPropertySetInfo> info = shape->getPropertySetInfo();
                if (!info.is() || !info->hasPropertyByName(title) || !info->hasPropertyByName(description))
                    continue;
                rtl::OUString text;
                shape->getPropertyValue(description) >>= text;
                if (!text.trim().isEmpty())
                    shape->setPropertyValue(title, css::uno::Any(text.trim()));
            } catch (const css::uno::Exception&) {
                // A shape that refuses keeps its title; the export goes on.
            }
        }
    } catch (const css::uno::Exception&) {
    }
}
