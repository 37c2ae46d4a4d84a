#pragma once

#include <QtGlobal>

// The most a helper may allocate: a quarter of the machine's memory, kept between
// 2 GiB (what large real documents need) and 4 GiB (two helpers may run at once).
qint64 helperMemoryLimit(qint64 machineMemory);

// Caps this process's data (heap and private mappings) at helperMemoryLimit() of this
// machine, so that a document that would take all memory fails alone: the helper answers
// that it needs more memory just before the limit (MemoryWatch.h) or when an allocation
// fails at it (MemoryExhaustion.h), and the program starts a new helper. Address space
// that LibreOffice only reserves does not count. Returns the limit set, or 0.
qint64 limitHelperMemory();
