#pragma once
// A TCP port on 127.0.0.1 that takes connections and never answers, as a hung
// server or a half-open network looks to a client: the system completes each
// connection into the listening socket's queue, and nobody reads from it.

#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

class SilentListener {
public:
    SilentListener()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        socklen_t size = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || ::listen(fd_, 64) != 0
            || ::getsockname(fd_, reinterpret_cast<sockaddr *>(&a), &size) != 0)
            return;
        port_ = ntohs(a.sin_port);
    }
    ~SilentListener()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;

    bool ok() const { return port_ != 0; }
    int port() const { return port_; }
    // Whether a client connected within `ms` (the connection waits in the queue).
    bool waitForClient(int ms) const
    {
        pollfd p{fd_, POLLIN, 0};
        return ::poll(&p, 1, ms) == 1;
    }

private:
    int fd_ = -1;
    int port_ = 0;
};
#endif
