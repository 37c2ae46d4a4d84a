#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/XEndnotesSupplier.hpp>
#include <com/sun/star/text/XFootnotesSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextFramesSupplier.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextTable.hpp>

#include "ReaderCopy.h"

#include <vector>

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

bool isHidden(const Reference<css::beans::XPropertySet>& object)
{
    bool hidden = false;
    try {
        if (object.is())
            object->getPropertyValue("CharHidden") >>= hidden;
    } catch (const css::uno::Exception&) {
    }
    return hidden;
}

// Every text in the document, each once: the body, table cells, frames, headers and
// footers of every page style, footnotes and endnotes.
class DocumentTexts {
public:
    explicit DocumentTexts(const Reference<css::lang::XComponent>& document)
    {
        if (const Reference<css::text::XTextDocument> text{document, UNO_QUERY}; text.is())
            texts.push_back(text->getText());
        if (const Reference<css::text::XTextFramesSupplier> frames{document, UNO_QUERY}; frames.is())
            addAll(Reference<css::container::XIndexAccess>(frames->getTextFrames(), UNO_QUERY));
        if (const Reference<css::text::XFootnotesSupplier> notes{document, UNO_QUERY}; notes.is())
            addAll(notes->getFootnotes());
        if (const Reference<css::text::XEndnotesSupplier> notes{document, UNO_QUERY}; notes.is())
            addAll(notes->getEndnotes());
        addHeadersAndFooters(document);
    }

    std::vector<Reference<css::text::XText>> texts;

private:
    void addAll(const Reference<css::container::XIndexAccess>& list)
    {
        for (sal_Int32 i = 0; list.is() && i < list->getCount(); ++i)
            if (const Reference<css::text::XText> text{list->getByIndex(i), UNO_QUERY}; text.is())
                texts.push_back(text);
    }

    void addHeadersAndFooters(const Reference<css::lang::XComponent>& document)
    {
        const Reference<css::style::XStyleFamiliesSupplier> families(document, UNO_QUERY);
        if (!families.is() || !families->getStyleFamilies()->hasByName("PageStyles"))
            return;
        const Reference<css::container::XIndexAccess> styles(families->getStyleFamilies()->getByName("PageStyles"),
                                                             UNO_QUERY);
        for (sal_Int32 i = 0; styles.is() && i < styles->getCount(); ++i) {
            const Reference<css::beans::XPropertySet> style(styles->getByIndex(i), UNO_QUERY);
            for (const char* name : {"HeaderText", "HeaderTextLeft", "HeaderTextFirst", "FooterText",
                                     "FooterTextLeft", "FooterTextFirst"}) {
                try {
                    const Reference<css::text::XText> text(style->getPropertyValue(rtl::OUString::createFromAscii(name)),
                                                           UNO_QUERY);
                    if (text.is())
                        texts.push_back(text);
                } catch (const css::uno::Exception&) {
                    // This LibreOffice has no such header or footer.
                }
            }
        }
    }
};

struct HiddenParts {
    std::vector<Reference<css::text::XTextRange>> portions;
    std::vector<Reference<css::text::XTextRange>> paragraphs; // hidden as a whole
};

// A paragraph of nothing but hidden text goes whole, as Word shows nothing of it;
// otherwise only its hidden portions go.
void findInParagraph(const Reference<css::beans::XPropertySet>& paragraph, HiddenParts& found)
{
    const Reference<css::container::XEnumerationAccess> portions(paragraph, UNO_QUERY);
    if (!portions.is())
        return;
    std::vector<Reference<css::text::XTextRange>> hidden;
    bool anythingShown = false;
    for (const Reference<css::container::XEnumeration> all = portions->createEnumeration(); all->hasMoreElements();) {
        const Reference<css::text::XTextRange> portion(all->nextElement(), UNO_QUERY);
        const Reference<css::beans::XPropertySet> properties(portion, UNO_QUERY);
        rtl::OUString type;
        if (properties.is())
            properties->getPropertyValue("TextPortionType") >>= type;
        const bool empty = !portion.is() || portion->getString().isEmpty();
        if (!empty && isHidden(properties))
            hidden.push_back(portion);
        else if (!empty || (type != "Text" && type != "Bookmark" && type != "SoftPageBreak"))
            anythingShown = true;
    }
    if (!anythingShown && (!hidden.empty() || isHidden(paragraph)))
        found.paragraphs.emplace_back(paragraph, UNO_QUERY);
    found.portions.insert(found.portions.end(), hidden.begin(), hidden.end());
}

void findInText(const Reference<css::text::XText>& text, HiddenParts& found);

void findInTable(const Reference<css::text::XTextTable>& table, HiddenParts& found)
{
    for (const rtl::OUString& name : table->getCellNames())
        if (const Reference<css::text::XText> cell{table->getCellByName(name), UNO_QUERY}; cell.is())
            findInText(cell, found);
}

void findInText(const Reference<css::text::XText>& text, HiddenParts& found)
{
    const Reference<css::container::XEnumerationAccess> paragraphs(text, UNO_QUERY);
    if (!paragraphs.is())
        return;
    for (const Reference<css::container::XEnumeration> all = paragraphs->createEnumeration(); all->hasMoreElements();) {
        const css::uno::Any element = all->nextElement();
        if (const Reference<css::text::XTextTable> table{element, UNO_QUERY}; table.is())
            findInTable(table, found);
        else
            findInParagraph(Reference<css::beans::XPropertySet>(element, UNO_QUERY), found);
    }
}

// Paragraphs the cursor's range touches, or -1 when it reaches into a table.
int paragraphsIn(const Reference<css::text::XTextCursor>& cursor)
{
    int count = 0;
    const Reference<css::container::XEnumerationAccess> content(cursor, UNO_QUERY_THROW);
    for (const Reference<css::container::XEnumeration> all = content->createEnumeration(); all->hasMoreElements();) {
        const Reference<css::lang::XServiceInfo> element(all->nextElement(), UNO_QUERY);
        if (!element.is() || !element->supportsService("com.sun.star.text.Paragraph"))
            return -1;
        ++count;
    }
    return count;
}

} // namespace

// An emptied paragraph joined to the one before it (else the one after), which keeps
// its own formatting. Disposing the paragraph instead takes a later footnote with it.
void removeEmptiedParagraph(const Reference<css::text::XTextRange>& paragraph)
{
    // A range whose content was disposed belongs to no text any more.
    const Reference<css::text::XText> text = paragraph->getText();
    if (!text.is())
        return;
    const Reference<css::text::XTextCursor> cursor = text->createTextCursorByRange(paragraph);
    if (!cursor->getString().isEmpty())
        return;
    cursor->collapseToStart();
    if (cursor->goLeft(1, true) && paragraphsIn(cursor) == 2) {
        cursor->setString(rtl::OUString());
        return;
    }
    cursor->gotoRange(paragraph, false);
    cursor->collapseToEnd();
    if (cursor->goRight(1, true) && paragraphsIn(cursor) == 2)
        cursor->setString(rtl::OUString());
}

void removeHiddenText(const Reference<css::lang::XComponent>& document)
{
    HiddenParts found;
    try {
        for (const Reference<css::text::XText>& text : DocumentTexts(document).texts)
            findInText(text, found);
    } catch (const css::uno::Exception&) {
    }
    // Emptied before removed: a text keeps its last paragraph, which then shows nothing.
    for (const Reference<css::text::XTextRange>& portion : found.portions) {
        try {
            portion->setString(rtl::OUString());
        } catch (const css::uno::Exception&) {
        }
    }
    for (const Reference<css::text::XTextRange>& paragraph : found.paragraphs) {
        try {
            removeEmptiedParagraph(paragraph);
        } catch (const css::uno::Exception&) {
        }
    }
}
