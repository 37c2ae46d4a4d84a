#pragma once

#include <cstdint>

// Every error number the word processor raises, in one place: those any word
// processor behind the interface has, then those of the LibreOffice one.
namespace WordErrors {
// The engine cannot be found or started.
inline constexpr int32_t CannotCreate = 429;
// The process serving the call died before answering.
inline constexpr int32_t RemoteCallFailed = -2147023170;
} // namespace WordErrors

namespace LibreOfficeErrors {
// The document cannot be opened: missing, unreadable, damaged, protected, not Word.
inline constexpr int32_t OpenFailed = 5101;
// The output cannot be written.
inline constexpr int32_t SaveFailed = 5102;
// LibreOffice did not answer in time and was stopped.
inline constexpr int32_t TimedOut = 5103;
// SaveAs or Close was called on an application object that holds no document.
inline constexpr int32_t NoDocument = 5104;
// The run was asked to stop (Ctrl+C, a signal, the user) before the call finished.
inline constexpr int32_t Stopped = 5105;
} // namespace LibreOfficeErrors
