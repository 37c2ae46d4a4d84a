#pragma once

// Documents reach a helper as open descriptors over a socket of their own, never as
// names: a helper may then read no staged file by name, not even the document it
// converts, so no document can make it read another's. Each "open" request is matched
// by exactly one handover, in order: the descriptor, or why the program could not
// open the document (an errno value).
namespace DocumentHandover {

// The socket pair for one helper: the program keeps `program`, the helper inherits
// `helper`. Both are close-on-exec; the helper's end is made inheritable in the child.
struct SocketPair {
    int program = -1;
    int helper = -1;
};
SocketPair makeSocketPair();

// Opens `path` (never blocking on a pipe or device) and hands it over, or hands over
// why it cannot be opened. False when the socket itself failed (the helper is gone).
bool handOver(int socket, const char* path);

// The next handover: a descriptor the caller now owns, or an errno value; EPIPE when
// the program is gone or sent something else.
struct Handed {
    int descriptor = -1; // when >= 0, owned by the caller
    int error = 0;       // else why there is none
};
Handed receive(int socket);

} // namespace DocumentHandover
