#pragma once

#include <QStringList>
#include <string_view>

// Which file names a folder source contributes, and in what order.
namespace DocumentNames {

// A Word document: the extension (after the last dot) begins with "doc" in any
// letter case, so a.doc, B.DOC, c.docx and d.docm are taken, f.doc.bak and doc.txt not.
bool isWordDocument(std::string_view utf8Name);

// Sorts by name without regard to letter case; names equal but for case keep a
// fixed order (by their exact text), so the list is the same from run to run.
void sortIgnoringCase(QStringList& names);

} // namespace DocumentNames
