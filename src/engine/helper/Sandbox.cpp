// Linux only: Landlock (kernel 5.13 and later; the renaming right from 5.19, the network
// from 6.7), called through plain system calls because Debian's kernel headers predate
// the parts used here. Each feature is asked for only when the kernel's ABI offers it.
#include "Sandbox.h"

#include "engine/files/PlainDescriptor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
constexpr uint64_t MakeDir = 1ULL << 7;
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
    // Moving a folder in takes the right to refer to it, which only ABI 2 can grant.
    const uint64_t placing = abi >= 2 ? access::MakeDir | access::Refer : handled;
    for (const QByteArray& path : folders.placeable)
        if (!allow(ruleset.get(), path, placing))
            return SandboxOutcome::Failed;
    // /dev/null and its like are written to; devices are not made.
    for (const char* device : {"/dev/null", "/dev/zero", "/dev/random", "/dev/urandom"})
        if (!allow(ruleset.get(), device, reading | (handled & (access::WriteFile | access::Truncate | access::IoctlDev))))
            return SandboxOutcome::Failed;

    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0
        || syscall(SYS_landlock_restrict_self, ruleset.get(), 0) != 0)
        return SandboxOutcome::Failed;
    return SandboxOutcome::Confined;
}

namespace {

// What LibreOffice and the libraries it loads read of the system, by name: no folder
// that holds pictures, documents or secrets beside them (not all of /usr/share, /etc,
// /proc or /dev: /dev/shm may hold the staging folders).
QList<QByteArray> systemFiles()
{
    QList<QByteArray> files = {
        // LibreOffice's own files that Debian keeps outside its installation folder
        "/usr/share/libreoffice", "/etc/libreoffice", "/var/lib/libreoffice", "/var/spool/libreoffice",
        // libraries, the locale archive and the dynamic loader
        "/usr/lib/locale", "/usr/lib64", "/etc/ld.so.cache",
        // fonts and their configuration
        "/usr/share/fonts", "/usr/local/share/fonts", "/usr/share/fontconfig", "/etc/fonts", "/var/cache/fontconfig",
        // time zones, language tags, the user's name
        "/usr/share/zoneinfo", "/etc/localtime", "/etc/timezone", "/usr/share/liblangtag",
        "/etc/passwd", "/etc/group", "/etc/nsswitch.conf",
        // the process itself, the memory and processors it may use
        "/proc/self", "/proc/meminfo", "/proc/cpuinfo", "/proc/stat", "/sys/devices/system/cpu",
    };
    // The libraries' own folder, whatever the machine's architecture is called.
    for (const QFileInfo& folder : QDir(QStringLiteral("/usr/lib")).entryInfoList({QStringLiteral("*-linux-*")}, QDir::Dirs))
        files.append(QFile::encodeName(folder.absoluteFilePath()));
    return files;
}

QList<QByteArray> percentEncodedList(const char* variable)
{
    QList<QByteArray> folders;
    for (const QByteArray& encoded : qgetenv(variable).split(':'))
        if (const QByteArray folder = QByteArray::fromPercentEncoding(encoded); folder.startsWith('/'))
            folders.append(folder);
    return folders;
}

} // namespace

SandboxFolders helperFolders(const QByteArray& libreOfficeProgramFolder, const QByteArray& profileFolder)
{
    SandboxFolders folders;
    folders.readable = systemFiles();
    folders.readable.append(libreOfficeProgramFolder + "/..");
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
    folders.writable.append(percentEncodedList("VARNELLO_LOK_WORK"));
    folders.placeable = percentEncodedList("VARNELLO_LOK_STAGING");
    return folders;
}
