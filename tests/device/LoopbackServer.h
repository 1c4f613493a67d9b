#pragma once
// A one-connection TCP server on a loopback address for the network port tests: it
// accepts one client on its own thread and runs the test's handler on the connection.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kztr::test {

class LoopbackServer {
public:
    using Handler = std::function<void(int fd)>;

    // family AF_INET (127.0.0.1) or AF_INET6 (::1); ok() is false when it cannot listen.
    // receiveBuffer > 0 makes the connection's receive buffer (and so its window) small.
    explicit LoopbackServer(Handler handler, int family = AF_INET, int receiveBuffer = 0) {
        m_listen = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_listen < 0) return;
        const int one = 1;
        ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (receiveBuffer > 0)
            ::setsockopt(m_listen, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_storage ss{};
        socklen_t len = 0;
        if (family == AF_INET6) {
            auto* a = reinterpret_cast<sockaddr_in6*>(&ss);
            a->sin6_family = AF_INET6;
            a->sin6_addr = in6addr_loopback;
            len = sizeof *a;
        } else {
            auto* a = reinterpret_cast<sockaddr_in*>(&ss);
            a->sin_family = AF_INET;
            a->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            len = sizeof *a;
        }
        if (::bind(m_listen, reinterpret_cast<sockaddr*>(&ss), len) != 0 ||
            ::listen(m_listen, 1) != 0 ||
            ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&ss), &len) != 0) {
            ::close(m_listen);
            m_listen = -1;
            return;
        }
        m_port = family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&ss)->sin6_port)
                                    : ntohs(reinterpret_cast<sockaddr_in*>(&ss)->sin_port);
        m_thread = std::thread([this, handler = std::move(handler)] {
            pollfd p{m_listen, POLLIN, 0};
            if (::poll(&p, 1, 5000) != 1) return;
            const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) return;
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            handler(fd);
            ::close(fd);
        });
    }
    ~LoopbackServer() { join(); }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool ok() const { return m_listen >= 0; }
    int port() const { return m_port; }
    // Waits for the handler to end.
    void join() {
        if (m_thread.joinable()) m_thread.join();
        if (m_listen >= 0) ::close(m_listen);
        m_listen = -1;
    }

private:
    int m_listen = -1;
    int m_port = 0;
    std::thread m_thread;
};

// Reads whatever comes within limit (at most count bytes); empty on end of stream.
inline std::vector<uint8_t> recvSome(int fd, size_t count, std::chrono::milliseconds limit) {
    std::vector<uint8_t> out(count);
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, int(limit.count())) != 1) return {};
    const ssize_t n = ::recv(fd, out.data(), count, 0);
    out.resize(n > 0 ? size_t(n) : 0);
    return out;
}

inline bool sendBytes(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// The close after the handler then resets the connection (RST) instead of ending it in
// order (FIN).
inline void closeWithReset(int fd) {
    const linger now{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &now, sizeof now);
}

// The close after the handler then lets the connection go without a word, as a server
// that lost power: no FIN, no RST; the client hears of it only when it sends (a
// keepalive probe gets a reset). Needs CAP_NET_ADMIN (TCP repair mode); false without.
inline bool vanish(int fd) {
    const int on = 1;
    return ::setsockopt(fd, IPPROTO_TCP, TCP_REPAIR, &on, sizeof on) == 0;
}

// A port on 127.0.0.1 that nobody listens on (bound, then let go).
inline int unusedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), len) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(fd);
    return port;
}

} // namespace kztr::test
