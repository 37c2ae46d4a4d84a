#pragma once

#include "engine/files/PlainDescriptor.h"

#include <QtGlobal>

// What the kernel tells in /proc of processes and of the memory: the program's one
// reader of those files. Nothing here allocates, so the helper can watch its own
// memory with it when memory is all but gone.
namespace ProcFiles {

// The resident memory of process `pid` in bytes (/proc/PID/statm), 0 when unknown.
qint64 residentBytes(qint64 pid);
// The processor time process `pid` has used so far, user and system, in milliseconds
// (/proc/PID/stat), -1 when unknown.
qint64 processorMilliseconds(qint64 pid);
// The memory available for new work without swapping (MemAvailable in /proc/meminfo)
// in bytes, 0 when unknown.
qint64 availableMemory();

// The value (pages) of field `index` of a statm file's text, counting from 0 (size,
// resident, shared, text, lib, data, dt); -1 when the text has no such number.
qint64 statmField(const char* text, int index);

// This process's statm file, opened once and read again and again.
class OwnStatm {
public:
    OwnStatm();
    bool isOpen() const { return file.isValid() && pageSize > 0; }
    // The data size (heap, private mappings and stacks) in bytes, -1 when it cannot be read.
    qint64 dataBytes() const;

private:
    PlainDescriptor file;
    qint64 pageSize;
};

} // namespace ProcFiles
