#pragma once

#include <sys/types.h>
#include <vector>

// The running child processes of `parent` (this process by default), read from /proc.
std::vector<pid_t> childProcesses(pid_t parent = 0);

// Kills every child process of this one at once (SIGKILL). The children are not
// reaped here: whoever started them waits for them.
void killChildProcesses();
