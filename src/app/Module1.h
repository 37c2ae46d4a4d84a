#pragma once

#include <QString>
#include <cstdint>

class form1;

// The procedures shared by the window's commands, and the two strings of a
// conversion run.
namespace Module1 {

// Fills ListView2 with the documents of one source, all checked.
void FillDocumentList(form1& window, const QString& path);

// The full path of the document at `position` of ListView2, "" when there is none.
QString GetDocumentPath(const form1& window, int32_t position);


} // namespace Module1
