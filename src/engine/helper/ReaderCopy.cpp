#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertySetInfo.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/XRedlinesSupplier.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/text/XParagraphCursor.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextFieldsSupplier.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextSectionsSupplier.hpp>

#include "ReaderCopy.h"

#include <vector>

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

template<typename T>
T propertyOr(const Reference<css::beans::XPropertySet>& object, const char* name, T fallback)
{
    try {
        const rtl::OUString property = rtl::OUString::createFromAscii(name);
        const Reference<css::beans::XPropertySetInfo> info = object->getPropertySetInfo();
        if (info.is() && info->hasPropertyByName(property))
            object->getPropertyValue(property) >>= fallback;
    } catch (const css::uno::Exception&) {
    }
    return fallback;
}

// The text from `start` to `end` removed; false when they lie in different texts.
bool removeBetween(const Reference<css::text::XTextRange>& start, const Reference<css::text::XTextRange>& end)
{
    try {
        const Reference<css::text::XTextCursor> cursor = start->getText()->createTextCursorByRange(start);
        cursor->gotoRange(end, true);
        cursor->setString(rtl::OUString());
        return true;
    } catch (const css::uno::Exception&) {
        return false;
    }
}

// Accepting a change keeps what it inserted and the formatting it applied, both already
// the document's text: what it deleted is what must go. Read-only documents refuse
// the accept command, not the API.
void acceptTrackedChanges(const Reference<css::lang::XComponent>& document)
{
    const Reference<css::beans::XPropertySet> settings(document, UNO_QUERY);
    if (settings.is())
        settings->setPropertyValue("RecordChanges", css::uno::Any(false));
    const Reference<css::document::XRedlinesSupplier> supplier(document, UNO_QUERY);
    const Reference<css::container::XEnumerationAccess> redlines(supplier.is() ? supplier->getRedlines() : nullptr,
                                                                 UNO_QUERY);
    if (!redlines.is())
        return;
    // Collected first: each removal changes the list.
    std::vector<std::pair<Reference<css::text::XTextRange>, Reference<css::text::XTextRange>>> deletions;
    for (const Reference<css::container::XEnumeration> all = redlines->createEnumeration(); all->hasMoreElements();) {
        const Reference<css::beans::XPropertySet> redline(all->nextElement(), UNO_QUERY);
        if (!redline.is())
            continue;
        const rtl::OUString type = propertyOr(redline, "RedlineType", rtl::OUString());
        if (type != "Delete" && type != "TableRowDelete" && type != "TableCellDelete")
            continue;
        deletions.emplace_back(propertyOr(redline, "RedlineStart", Reference<css::text::XTextRange>()),
                               propertyOr(redline, "RedlineEnd", Reference<css::text::XTextRange>()));
    }
    for (const auto& [start, end] : deletions)
        if (start.is() && end.is())
            removeBetween(start, end);
}

bool deletionsLeft(const Reference<css::lang::XComponent>& document)
{
    const Reference<css::document::XRedlinesSupplier> supplier(document, UNO_QUERY);
    const Reference<css::container::XEnumerationAccess> redlines(supplier.is() ? supplier->getRedlines() : nullptr,
                                                                 UNO_QUERY);
    if (!redlines.is())
        return false;
    for (const Reference<css::container::XEnumeration> all = redlines->createEnumeration(); all->hasMoreElements();) {
        const Reference<css::beans::XPropertySet> redline(all->nextElement(), UNO_QUERY);
        if (redline.is() && propertyOr(redline, "RedlineType", rtl::OUString()) == "Delete")
            return true;
    }
    return false;
}

// The paragraph holding `anchor`, emptied and then removed where the text allows it
// (a table cell or a text keeps its last paragraph).
void removeParagraphAt(const Reference<css::text::XTextRange>& anchor)
{
    try {
        const Reference<css::text::XTextCursor> cursor = anchor->getText()->createTextCursorByRange(anchor);
        const Reference<css::text::XParagraphCursor> paragraph(cursor, UNO_QUERY_THROW);
        paragraph->gotoStartOfParagraph(false);
        paragraph->gotoEndOfParagraph(true);
        const Reference<css::container::XEnumerationAccess> paragraphs(cursor, UNO_QUERY_THROW);
        const Reference<css::container::XEnumeration> found = paragraphs->createEnumeration();
        const Reference<css::text::XTextRange> whole(found->hasMoreElements() ? found->nextElement() : css::uno::Any(),
                                                     UNO_QUERY);
        cursor->setString(rtl::OUString());
        if (whole.is())
            removeEmptiedParagraph(whole);
    } catch (const css::uno::Exception&) {
    }
}

bool supports(const Reference<css::lang::XServiceInfo>& info, const char* service)
{
    return info.is() && info->supportsService(rtl::OUString::createFromAscii(service));
}

// Comments with their ranges, text fields hidden by their condition, and paragraphs a
// field hides.
void removeHiddenFields(const Reference<css::lang::XComponent>& document)
{
    const Reference<css::text::XTextFieldsSupplier> supplier(document, UNO_QUERY);
    if (!supplier.is())
        return;
    std::vector<Reference<css::lang::XComponent>> fields;
    std::vector<Reference<css::text::XTextRange>> hiddenParagraphs;
    for (const Reference<css::container::XEnumeration> all = supplier->getTextFields()->createEnumeration();
         all->hasMoreElements();) {
        const Reference<css::lang::XServiceInfo> field(all->nextElement(), UNO_QUERY);
        const Reference<css::beans::XPropertySet> properties(field, UNO_QUERY);
        if (supports(field, "com.sun.star.text.textfield.Annotation")
            || supports(field, "com.sun.star.text.textfield.AnnotationEnd")
            || (supports(field, "com.sun.star.text.textfield.HiddenText") && propertyOr(properties, "IsHidden", false)))
            fields.emplace_back(field, UNO_QUERY);
        else if (supports(field, "com.sun.star.text.textfield.HiddenParagraph") && propertyOr(properties, "IsHidden", false))
            if (const Reference<css::text::XTextContent> content{field, UNO_QUERY}; content.is())
                hiddenParagraphs.push_back(content->getAnchor());
    }
    for (const Reference<css::lang::XComponent>& field : fields) {
        try {
            field->dispose();
        } catch (const css::uno::Exception&) {
        }
    }
    for (const Reference<css::text::XTextRange>& anchor : hiddenParagraphs)
        if (anchor.is())
            removeParagraphAt(anchor);
}

// Hidden as Writer decides it: "hide" chosen, and the condition true if there is one.
// A section without a condition never counts as currently visible, so that alone
// hides nothing: an index's section, a table of contents among them, reads so too.
bool isHiddenSection(const Reference<css::beans::XPropertySet>& section)
{
    return section.is() && !propertyOr(section, "IsVisible", true) && !propertyOr(section, "IsCurrentlyVisible", true);
}

// Sections shown to no one, by choice or by their condition, with what they hold.
void removeHiddenSections(const Reference<css::lang::XComponent>& document)
{
    const Reference<css::text::XTextSectionsSupplier> supplier(document, UNO_QUERY);
    const Reference<css::container::XIndexAccess> sections(supplier.is() ? supplier->getTextSections() : nullptr,
                                                           UNO_QUERY);
    if (!sections.is())
        return;
    std::vector<Reference<css::text::XTextContent>> hidden;
    for (sal_Int32 i = 0; i < sections->getCount(); ++i) {
        const Reference<css::beans::XPropertySet> section(sections->getByIndex(i), UNO_QUERY);
        if (isHiddenSection(section))
            hidden.emplace_back(section, UNO_QUERY);
    }
    for (const Reference<css::text::XTextContent>& section : hidden) {
        try {
            if (!section.is())
                continue;
            const Reference<css::text::XTextRange> content = section->getAnchor();
            content->setString(rtl::OUString());
            // The section's range goes with the section: where it was is kept apart.
            const Reference<css::text::XTextCursor> where
                = content->getText()->createTextCursorByRange(content->getStart());
            section->dispose();
            removeEmptiedParagraph(Reference<css::text::XTextRange>(where, UNO_QUERY));
        } catch (const css::uno::Exception&) {
            // A section inside one already removed went with it.
        }
    }
}

} // namespace

bool keepOnlyWhatReadersSee(const Reference<css::lang::XComponent>& document, HiddenFormatting hiddenFormatting)
{
    try {
        acceptTrackedChanges(document);
        if (deletionsLeft(document))
            return false;
    } catch (const css::uno::Exception&) {
        return false;
    }
    try {
        removeHiddenFields(document);
    } catch (const css::uno::Exception&) {
    }
    try {
        removeHiddenSections(document);
    } catch (const css::uno::Exception&) {
    }
    if (hiddenFormatting == HiddenFormatting::Possible)
        removeHiddenText(document);
    return true;
}
