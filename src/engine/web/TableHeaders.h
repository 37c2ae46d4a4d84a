#pragma once

#include <gumbo.h>

// LibreOffice writes the rows a document repeats at the top of each page of a table
// (Word's header rows) into <thead>, but as ordinary <td> cells: a screen reader then
// cannot tell the table's headings from its data. Such a cell becomes <th scope="col">.
bool isHeaderRowCell(const GumboNode* node);
