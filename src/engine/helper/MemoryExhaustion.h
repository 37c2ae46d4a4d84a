#pragma once

#include <QByteArray>

// When an allocation fails because the helper reached its memory limit, LibreOffice
// cannot recover: it dies, or ends the whole helper from deep inside. Instead, while a
// request is under way, the helper writes the answers the program still waits for
// (saying the document needs too much memory) to the protocol's descriptor and ends
// at once, without allocating; the program then starts a fresh helper for the next
// document. Outside requests a failed allocation throws std::bad_alloc as usual.
//
// The failing allocation may happen on any of LibreOffice's threads, so the answers
// are kept process-wide: one helper process, one request at a time.
void installMemoryExhaustionHandler(int answerDescriptor);
// Before a request with `verb`: what to answer should memory run out during it, with
// the helper's limit (bytes, 0 for none) in the detail.
void answerIfMemoryRunsOut(const QByteArray& verb, qint64 limit);
void requestAnswered();

// While a request is under way: writes its answers as above and ends the helper (on
// every other thread that asks meanwhile, waits for that). Does nothing outside requests.
void endRequestForLackOfMemory();

// The answers the program is owed for a request with `verb`, and for the rest of its
// document's requests, when memory ran out during it.
QByteArray answersWhenMemoryRunsOut(const QByteArray& verb, qint64 limit);
