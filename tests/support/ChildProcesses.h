#pragma once

// The running child processes of a process, read from /proc: what a test looks at to
// see which helpers a program left running.

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

namespace childprocesses {

struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};

// The parent and the state of process `pid`, from /proc/PID/stat. The command name
// in parentheses may hold anything, so the fields are read after its last ')'.
inline bool readStat(pid_t pid, pid_t& parent, char& state)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", int(pid));
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "re"), &std::fclose);
    if (!file)
        return false;
    char buffer[1024];
    const size_t length = std::fread(buffer, 1, sizeof buffer - 1, file.get());
    buffer[length] = '\0';
    const char* end = std::strrchr(buffer, ')');
    int parentNumber = 0;
    if (!end || std::sscanf(end + 1, " %c %d", &state, &parentNumber) != 2)
        return false;
    parent = pid_t(parentNumber);
    return true;
}

} // namespace childprocesses


inline std::vector<pid_t> childProcesses(pid_t parent)
{
    if (parent == 0)
        parent = ::getpid();
    std::vector<pid_t> children;
    const std::unique_ptr<DIR, childprocesses::FolderCloser> proc(opendir("/proc"));
    if (!proc)
        return children;
    while (const dirent* entry = readdir(proc.get())) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0')
            continue;
        pid_t entryParent = 0;
        char state = '?';
        if (childprocesses::readStat(pid_t(pid), entryParent, state) && entryParent == parent && state != 'Z')
            children.push_back(pid_t(pid));
    }
    return children;
}
