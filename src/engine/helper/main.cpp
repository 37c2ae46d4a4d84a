// varnello-lok: serves the program's document operations with LibreOffice.
//
//   varnello-lok <LibreOffice program folder> <private profile folder>
//
// Both folders are percent-encoded, so that any name reaches the helper byte for byte.
// Once started the helper may read only what LibreOffice needs of the system, its
// installation and its own folders, and write only in its profile, in TMPDIR (a folder
// of the program's own) and in its work folders (VARNELLO_LOK_WORK); into the staging
// folders (VARNELLO_LOK_STAGING) it only moves finished pages; see Sandbox.h. Documents
// arrive as descriptors on the socket VARNELLO_LOK_DOCUMENTS names (DocumentHandover.h).
// Requests arrive on standard input and answers leave on standard output (see
// HelperProtocol.h). LibreOffice itself may print anything, so the protocol moves
// to private descriptors before LibreOffice is loaded.

#include "MemoryExhaustion.h"
#include "MemoryLimit.h"
#include "MemoryWatch.h"
#include "OfficeSession.h"
#include "ProfileSettings.h"
#include "InstalledFilters.h"
#include "ProfileVersion.h"
#include "Sandbox.h"
#include "engine/files/LocalFileName.h"
#include "engine/protocol/HelperProtocol.h"


#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

using LibreOfficeHelperProtocol::decodeLine;
using LibreOfficeHelperProtocol::encodeLine;
using LibreOfficeHelperProtocol::HelperError;
using LibreOfficeHelperProtocol::wireWord;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

// The protocol's two streams, taken away from descriptors 0 and 1.
class Channel {
public:
    static std::unique_ptr<Channel> takeStandardStreams()
    {
        const int in = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
        const int out = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
        const int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (in < 0 || out < 0 || null < 0)
            return nullptr;
        // Whatever LibreOffice prints lands in the helper's error stream.
        if (dup2(null, STDIN_FILENO) < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
            return nullptr;
        close(null);
        FileHandle input(fdopen(in, "r"));
        FileHandle output(fdopen(out, "w"));
        if (!input || !output)
            return nullptr;
        return std::unique_ptr<Channel>(new Channel(std::move(input), std::move(output)));
    }

    bool receive(QList<QByteArray>& words)
    {
        QByteArray line;
        int c;
        while ((c = std::fgetc(input.get())) != EOF && c != '\n')
            line += char(c);
        if (c == EOF)
            return false;
        words = decodeLine(line);
        return true;
    }

    int descriptor() const { return fileno(output.get()); }

    void send(const QList<QByteArray>& words)
    {
        const QByteArray line = encodeLine(words);
        std::fwrite(line.constData(), 1, line.size(), output.get());
        std::fflush(output.get());
    }

private:
    Channel(FileHandle input, FileHandle output) : input(std::move(input)), output(std::move(output)) {}
    FileHandle input;
    FileHandle output;
};

void answer(Channel& channel, const OfficeResult& result)
{
    if (result.ok())
        channel.send({LibreOfficeHelperProtocol::Word::Ok});
    else
        channel.send({LibreOfficeHelperProtocol::Word::Error, wireWord(*result.error), result.detail.toUtf8()});
}

void refuse(Channel& channel, HelperError error, const QString& detail)
{
    channel.send({LibreOfficeHelperProtocol::Word::Failed, wireWord(error), detail.toUtf8()});
}

QString folderArgument(const char* argument)
{
    return LocalFileName::decode(QByteArray::fromPercentEncoding(argument));
}

// Answers the program's requests until it says quit or goes. `documentSocket` is -1
// when the program hands no documents over.
void serveRequests(Channel& channel, OfficeSession& office, int documentSocket, qint64 memoryLimit)
{
    QList<QByteArray> words;
    while (channel.receive(words)) {
        const QByteArray& verb = words.value(0);
        answerIfMemoryRunsOut(verb, memoryLimit);
        if (verb == LibreOfficeHelperProtocol::Word::Open && (words.size() == 3 || words.size() == 4)) {
            answer(channel, office.open(words[1], documentSocket, LocalFileName::decode(words[2]),
                                        LocalFileName::decode(words.value(3, words[2]))));
        } else if (verb == LibreOfficeHelperProtocol::Word::Save && words.size() == 3) {
            answer(channel, office.saveAsHtml(words[1], LocalFileName::decode(words[2])));
        } else if (verb == LibreOfficeHelperProtocol::Word::Close && words.size() == 2) {
            office.close(words[1]);
            channel.send({LibreOfficeHelperProtocol::Word::Ok});
        } else if (verb == LibreOfficeHelperProtocol::Word::Quit) {
            break;
        } else {
            channel.send({LibreOfficeHelperProtocol::Word::Error, wireWord(HelperError::BadRequest), "unknown request " + verb});
        }
        requestAnswered();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    auto channel = Channel::takeStandardStreams();
    if (!channel)
        return 2;
    // The helper never outlives the program, even when the program is killed. The
    // program may have ended before this took effect: then the parent is another.
    // (Not "the parent is 1": the program may itself be process 1, in a container.)
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (const QByteArray parent = qgetenv("VARNELLO_LOK_PARENT"); !parent.isEmpty() && getppid() != parent.toLongLong())
        return 2;
    bool haveSocket = false;
    const int documentSocket = qEnvironmentVariableIntValue("VARNELLO_LOK_DOCUMENTS", &haveSocket);
    if (haveSocket)
        fcntl(documentSocket, F_SETFD, FD_CLOEXEC); // nothing LibreOffice starts gets it
    if (argc != 3) {
        refuse(*channel, HelperError::BadRequest,
               QStringLiteral("usage: varnello-lok <LibreOffice program folder> <profile folder>"));
        return 2;
    }
    const QString programFolder = folderArgument(argv[1]);
    const QString profileFolder = folderArgument(argv[2]);

    // Without the version the helper only starts more slowly: go on.
    const QString version = installedLibreOfficeVersion(programFolder);
    if (version.isEmpty())
        std::fprintf(stderr, "varnello-lok: the installed LibreOffice's version cannot be found\n");
    if (const QString error = writeProfileSettings(profileFolder, version, installedWordFilterFlags(programFolder));
        !error.isEmpty()) {
        refuse(*channel, HelperError::NoProfile, error);
        return 1;
    }
    const qint64 memoryLimit = limitHelperMemory();
    installMemoryExhaustionHandler(channel->descriptor());
    // Before LibreOffice starts threads, so that they are confined too.
    confineToFolders(helperFolders(LocalFileName::encode(programFolder), LocalFileName::encode(profileFolder)));
    const MemoryWatch memoryWatch(memoryLimit);
    OfficeResult failure;
    auto office = OfficeSession::start(programFolder, profileFolder, failure);
    if (!office) {
        refuse(*channel, *failure.error, failure.detail);
        return 1;
    }
    channel->send({LibreOfficeHelperProtocol::Word::Ready});

    serveRequests(*channel, *office, haveSocket ? documentSocket : -1, memoryLimit);
    // Leave without LibreOffice's own shutdown: it is slow, and nothing needs saving.
    std::fflush(nullptr);
    _exit(0);
}
