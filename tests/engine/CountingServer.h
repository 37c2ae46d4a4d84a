#pragma once

#include <QByteArray>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// A web server on 127.0.0.1 that answers every request with 404 and counts them, in a
// thread of its own, since the conversion holds the test's thread.
class CountingServer {
public:
    CountingServer()
    {
        listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener, 16) != 0
            || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port = ntohs(address.sin_port);
        thread = std::thread([this] { serve(); });
    }
    ~CountingServer()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
        ::close(listener);
    }
    QByteArray url(const char* path) const { return "http://127.0.0.1:" + QByteArray::number(port) + path; }
    int requests() const { return count; }
    bool isListening() const { return port != 0; }

private:
    void serve()
    {
        while (!stop) {
            pollfd waiting{listener, POLLIN, 0};
            if (poll(&waiting, 1, 100) <= 0)
                continue;
            const int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection < 0)
                continue;
            ++count;
            char request[4096];
            pollfd readable{connection, POLLIN, 0};
            if (poll(&readable, 1, 1000) > 0)
                (void)::read(connection, request, sizeof request);
            const char answer[] = "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n";
            (void)::write(connection, answer, sizeof answer - 1);
            ::close(connection);
        }
    }

    int listener = -1;
    quint16 port = 0;
    std::atomic<bool> stop = false;
    std::atomic<int> count = 0;
    std::thread thread;
};
