#include "engine/files/DocumentHandover.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace DocumentHandover {

namespace {

// What travels beside the descriptor: 0, or why there is none.
struct Message {
    int error = 0;
};

} // namespace

SocketPair makeSocketPair()
{
    int ends[2];
    // Sequenced packets keep each handover apart, however many wait in the socket.
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0)
        return {};
    return {ends[0], ends[1]};
}

bool handOver(int socket, const char* path)
{
    const int descriptor = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    Message message{descriptor < 0 ? errno : 0};
    iovec payload{&message, sizeof message};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr header{};
    header.msg_iov = &payload;
    header.msg_iovlen = 1;
    if (descriptor >= 0) {
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        cmsghdr* rights = CMSG_FIRSTHDR(&header);
        rights->cmsg_level = SOL_SOCKET;
        rights->cmsg_type = SCM_RIGHTS;
        rights->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(rights), &descriptor, sizeof(int));
    }
    ssize_t sent;
    do
        sent = sendmsg(socket, &header, MSG_NOSIGNAL | MSG_DONTWAIT);
    while (sent < 0 && errno == EINTR);
    if (descriptor >= 0)
        close(descriptor);
    return sent == sizeof message;
}

Handed receive(int socket)
{
    Message message;
    iovec payload{&message, sizeof message};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr header{};
    header.msg_iov = &payload;
    header.msg_iovlen = 1;
    header.msg_control = control;
    header.msg_controllen = sizeof control;
    ssize_t received;
    do
        received = recvmsg(socket, &header, MSG_CMSG_CLOEXEC);
    while (received < 0 && errno == EINTR);
    int descriptor = -1;
    for (cmsghdr* part = CMSG_FIRSTHDR(&header); part; part = CMSG_NXTHDR(&header, part))
        if (part->cmsg_level == SOL_SOCKET && part->cmsg_type == SCM_RIGHTS && part->cmsg_len == CMSG_LEN(sizeof(int)))
            std::memcpy(&descriptor, CMSG_DATA(part), sizeof(int));
    if (received != sizeof message || (header.msg_flags & MSG_CTRUNC)) {
        if (descriptor >= 0)
            close(descriptor);
        return {-1, EPIPE};
    }
    if (descriptor < 0)
        return {-1, message.error != 0 ? message.error : EPIPE};
    return {descriptor, 0};
}

} // namespace DocumentHandover
