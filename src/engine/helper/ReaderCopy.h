#pragma once

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/text/XTextRange.hpp>

// A published page carries the document as it reads, never what its author believed
// gone or kept to reviewers. LibreOffice's web export writes tracked deletions as
// ordinary text, comments as HTML comments and hidden text, hidden fields and hidden
// sections as they are; so before the export, in the loaded copy only: tracked changes
// are accepted (deletions removed; insertions and format changes are already the
// document's text), change recording is switched off, comments, hidden text fields,
// paragraphs hidden by a field, hidden sections and text formatted hidden are removed,
// in the body, tables, frames, headers, footers, footnotes and endnotes alike.
// Works on documents loaded read-only: only the document's API edits them. False when
// tracked deletions are left, which would publish them as ordinary text.
// Text formatted hidden is looked for unless the document is known to hold none (its
// markup says nothing hidden anywhere): the search visits every piece of text.
enum class HiddenFormatting { Possible, Absent };
bool keepOnlyWhatReadersSee(const com::sun::star::uno::Reference<com::sun::star::lang::XComponent>& document,
                            HiddenFormatting hiddenFormatting);

// Text formatted hidden, and paragraphs that hold nothing else (see HiddenText.cpp).
void removeHiddenText(const com::sun::star::uno::Reference<com::sun::star::lang::XComponent>& document);

// An emptied paragraph joined to the one before it (else the one after), which keeps
// its own formatting; left as it is when that would reach into a table.
void removeEmptiedParagraph(const com::sun::star::uno::Reference<com::sun::star::text::XTextRange>& paragraph);
