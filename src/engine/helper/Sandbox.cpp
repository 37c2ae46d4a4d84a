// Linux only: Landlock (kernel 5.13 and later; the renaming right from 5.19, the network
// from 6.7), called through plain system calls because Debian's kernel headers predate
// the parts used here. Each feature is asked for only when the kernel's ABI offers it.
#include "Sandbox.h"

#include "engine/files/PlainDescriptor.h"

#include <QtGlobal>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

namespace access {
constexpr uint64_t Execute = 1ULL << 0;
constexpr uint64_t WriteFile = 1ULL << 1;
constexpr uint64_t ReadFile = 1ULL << 2;
constexpr uint64_t ReadDir = 1ULL << 3;
constexpr uint64_t AllOfAbi1 = (1ULL << 13) - 1; // up to making symbolic links
constexpr uint64_t Refer = 1ULL << 13;           // ABI 2
constexpr uint64_t Truncate = 1ULL << 14;        // ABI 3
constexpr uint64_t IoctlDev = 1ULL << 15;        // ABI 5
constexpr uint64_t FileOnly = Execute | WriteFile | ReadFile | Truncate | IoctlDev;
constexpr uint64_t BindTcp = 1ULL << 0;          // ABI 4, network
constexpr uint64_t ConnectTcp = 1ULL << 1;
} // namespace access

struct RulesetAttributes {
    uint64_t handledFileSystem;
    uint64_t handledNetwork;
};

struct [[gnu::packed]] PathBeneath {
    uint64_t allowed;
    int32_t parentFd;
};

constexpr uint32_t AskVersion = 1U << 0;
constexpr int RulePathBeneath = 1;

// A folder that does not exist here is simply not granted.
bool allow(int ruleset, const QByteArray& path, uint64_t rights)
{
    const PlainDescriptor folder(open(path.constData(), O_PATH | O_CLOEXEC));
    if (folder.get() < 0)
        return errno == ENOENT || errno == ENOTDIR || errno == EACCES;
    struct stat status {};
    if (fstat(folder.get(), &status) != 0)
        return false;
    if (!S_ISDIR(status.st_mode))
        rights &= access::FileOnly;
    const PathBeneath rule{rights, folder.get()};
    return syscall(SYS_landlock_add_rule, ruleset, RulePathBeneath, &rule, 0) == 0;
}

} // namespace

SandboxOutcome confineToFolders(const SandboxFolders& folders)
{
    const long abi = syscall(SYS_landlock_create_ruleset, nullptr, 0, AskVersion);
    if (abi < 1)
        return SandboxOutcome::Unsupported;
    uint64_t handled = access::AllOfAbi1;
    if (abi >= 2)
        handled |= access::Refer;
    if (abi >= 3)
        handled |= access::Truncate;
    if (abi >= 5)
        handled |= access::IoctlDev;
    // Without rules of its own the network part allows no TCP at all.
    const RulesetAttributes attributes{handled, abi >= 4 ? access::BindTcp | access::ConnectTcp : 0};
    const PlainDescriptor ruleset(int(syscall(SYS_landlock_create_ruleset, &attributes,
                                         abi >= 4 ? sizeof attributes : sizeof attributes.handledFileSystem, 0)));
    if (ruleset.get() < 0)
        return SandboxOutcome::Failed;

    const uint64_t reading = access::Execute | access::ReadFile | access::ReadDir;
    for (const QByteArray& path : folders.readable)
        if (!allow(ruleset.get(), path, reading))
            return SandboxOutcome::Failed;
    for (const QByteArray& path : folders.writable)
        if (!allow(ruleset.get(), path, handled))
            return SandboxOutcome::Failed;
    // /dev/null and its like are written to; devices are not made.
    if (!allow(ruleset.get(), "/dev", reading | (handled & (access::WriteFile | access::Truncate | access::IoctlDev))))
        return SandboxOutcome::Failed;

    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0
        || syscall(SYS_landlock_restrict_self, ruleset.get(), 0) != 0)
        return SandboxOutcome::Failed;
    return SandboxOutcome::Confined;
}

SandboxFolders helperFolders(const QByteArray& libreOfficeProgramFolder, const QByteArray& profileFolder)
{
    SandboxFolders folders;
    folders.readable = {"/usr", "/lib", "/lib32", "/lib64", "/bin", "/sbin", "/etc",
                        "/var/cache/fontconfig", "/proc", "/sys", libreOfficeProgramFolder + "/..",
                        // Debian keeps LibreOffice's shared extensions here
                        "/var/spool/libreoffice", "/var/lib/libreoffice"};
    folders.writable = {profileFolder};
    if (const QByteArray home = qgetenv("HOME"); home.startsWith('/')) {
        for (const char* fonts : {"/.fonts", "/.local/share/fonts", "/.config/fontconfig"})
            folders.readable.append(home + fonts);
        // Fontconfig keeps its cache of the user's fonts up to date here.
        folders.writable.append(home + "/.cache/fontconfig");
    }
    // Only folders of the program's own: a TMPDIR the helper inherited from elsewhere
    // (/tmp itself) would open every temporary file of the user's.
    if (const QByteArray temporary = qgetenv("TMPDIR"); temporary.contains("/varnello-lok-"))
        folders.writable.append(temporary);
    for (const QByteArray& encoded : qgetenv("VARNELLO_LOK_STAGING").split(':'))
        if (const QByteArray staging = QByteArray::fromPercentEncoding(encoded); staging.startsWith('/'))
            folders.writable.append(staging);
    return folders;
}
