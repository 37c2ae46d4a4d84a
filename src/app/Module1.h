#pragma once

#include <QString>
#include <cstdint>

class form1;

// The procedures shared by the window's commands, and the two strings of a
// conversion run.
namespace Module1 {

// The output folder of the current run, ending in exactly one '/'.
inline QString OutputFolder;
// The output path of the document being converted, without extension.
inline QString TargetPath;

// What GetPathKind finds; these values are what callers have always compared.
namespace PathKind {
inline constexpr int32_t Neither = 0;
inline constexpr int32_t Folder = 1;
inline constexpr int32_t File = 2;
} // namespace PathKind

// PathKind::Folder an existing folder, PathKind::File an existing file,
// PathKind::Neither anything else; never throws.
int32_t GetPathKind(const QString& path);

// Fills ListView2 with the documents of one source, all checked.
void FillDocumentList(form1& window, const QString& path);

// The full path of the document at `position` of ListView2, "" when there is none.
QString GetDocumentPath(const form1& window, int32_t position);

// Converts the document at `position` into TargetPath: 1 done, 2 engine error
// (its description shown), 3 no document, 0 the engine call did not get through.
int32_t ConvertDocument(form1& window, int32_t position);

// Takes Combo2's text as OutputFolder, creating a typed folder; -1 ready, 0 not.
int16_t CheckOutputFolder(form1& window);

// The text without any blank and without any dot.
QString RemoveBlanksAndDots(const QString& text);

} // namespace Module1
