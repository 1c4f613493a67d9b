#include "NetworkBackend.h"

#include "DebugTrace.h"
#include "PortMap.h"
#include "SerialError.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace kztr {
namespace {

using Clock = std::chrono::steady_clock;

struct AddrList {
    addrinfo* head = nullptr;
    ~AddrList() {
        if (head) ::freeaddrinfo(head);
    }
};

// getaddrinfo cannot be cancelled, so a slow lookup runs on its own thread; when the
// caller gives up, the thread frees what it finds later.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool abandoned = false;
    int rc = 0;
    int err = 0; // errno with EAI_SYSTEM
    addrinfo* result = nullptr;
};

// 0, or the error number of the failure: the resolver's own, not an errno it resembles.
int resolve(const PortTarget& target, Clock::time_point deadline, AddrList& out) {
    const std::string service = std::to_string(target.port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    // A literal address needs no resolver at all.
    if (::getaddrinfo(target.host.c_str(), service.c_str(), &hints, &out.head) == 0) return 0;
    out.head = nullptr;

    auto lookup = std::make_shared<Lookup>();
    hints.ai_flags = AI_NUMERICSERV | AI_ADDRCONFIG;
    try {
        std::thread([lookup, host = target.host, service, hints] {
            addrinfo* result = nullptr;
            const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &result);
            const int err = errno;
            std::lock_guard<std::mutex> lock(lookup->mutex);
            if (lookup->abandoned) {
                if (result) ::freeaddrinfo(result);
            } else {
                lookup->rc = rc;
                lookup->err = err;
                lookup->result = result;
            }
            lookup->finished = true;
            lookup->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return EAGAIN;
    }
    std::unique_lock<std::mutex> lock(lookup->mutex);
    if (!lookup->done.wait_until(lock, deadline, [&] { return lookup->finished; })) {
        lookup->abandoned = true;
        return lookupFault(EAI_AGAIN); // the name server did not answer in time
    }
    if (lookup->rc == EAI_SYSTEM) return lookup->err ? lookup->err : EIO;
    if (lookup->rc != 0) return lookupFault(lookup->rc);
    out.head = lookup->result;
    return 0;
}

void keepAlive(int fd) {
    const int on = 1;
    const int idle = int(NetworkBackend::kKeepAliveIdle.count());
    const int interval = int(NetworkBackend::kKeepAliveInterval.count());
    const int probes = NetworkBackend::kKeepAliveProbes;
    const unsigned unacknowledged = unsigned(NetworkBackend::kUnacknowledgedLimit.count());
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &unacknowledged, sizeof unacknowledged);
}

} // namespace

NetworkBackend::~NetworkBackend() {
    close();
}

bool NetworkBackend::fail(const char* step, int err) {
    m_lastError = err;
    RZ8_TRACE("[D][Error]network port %s: %s failed: %s\n", m_name.c_str(), step,
              describeErrno(err).c_str());
    close();
    return false;
}

bool NetworkBackend::open(int comNumber, int baudRate) {
    const auto target = portTargetForCom(comNumber);
    if (!target || !target->isNetwork()) {
        m_lastError = ENOENT;
        return false;
    }
    return openTarget(*target, baudRate);
}

bool NetworkBackend::openTarget(const PortTarget& target, int baudRate) {
    if (m_open) return true;
    if (!target.isNetwork()) {
        m_lastError = ENOENT;
        return false;
    }
    const auto deadline = Clock::now() + kOpenLimit;
    m_name = (target.kind == PortTarget::Kind::Rfc2217 ? "rfc2217://" : "tcp://") +
             (target.host.find(':') != std::string::npos ? "[" + target.host + "]" : target.host) +
             ":" + std::to_string(target.port);
    m_telnet = target.kind == PortTarget::Kind::Rfc2217;
    if (baudRate <= 0) return fail("baud rate", EINVAL);
    if (!connectTo(target, deadline)) return false;
    if (m_telnet && !setUpLine(baudRate, deadline)) return false;
    m_lastError = 0;
    return true;
}

bool NetworkBackend::connectTo(const PortTarget& target, Deadline deadline) {
    AddrList addrs;
    if (const int err = resolve(target, deadline, addrs)) return fail("name lookup", err);
    int err = EHOSTUNREACH;
    for (addrinfo* a = addrs.head; a; a = a->ai_next) {
        const int fd =
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            err = errno;
            continue;
        }
        int rc = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (rc != 0 && errno == EINPROGRESS) {
            rc = pollUntil(fd, POLLOUT, deadline);
            if (rc == 0) {
                ::close(fd);
                return fail("connect", ETIMEDOUT);
            }
            int soErr = 0;
            socklen_t len = sizeof soErr;
            if (rc > 0 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soErr, &len) != 0)
                soErr = errno;
            else if (rc < 0)
                soErr = errno;
            rc = soErr == 0 ? 0 : -1;
            if (rc != 0) errno = soErr;
        }
        if (rc == 0) {
            // Frames are small and each waits for its reply: send them at once.
            const int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            keepAlive(fd);
            m_fd = fd;
            m_open = true;
            return true;
        }
        err = errno;
        ::close(fd);
        if (msUntil(deadline) == 0) return fail("connect", ETIMEDOUT);
    }
    return fail("connect", err);
}

bool NetworkBackend::awaitServer(const std::function<bool()>& done, Deadline deadline) {
    pump();
    // The deadline is looked at on every round: a server that never stops sending must
    // not keep this loop going.
    while (!done() && !m_lost && Clock::now() < deadline) {
        const int ready = pollUntil(m_fd, POLLIN, deadline);
        if (ready == 0) break;
        if (ready < 0) {
            lose(errno);
            break;
        }
        pump();
    }
    return done();
}

bool NetworkBackend::setUpLine(int baudRate, Deadline deadline) {
    if (sendAll(m_codec.greeting(), deadline) != 1)
        return fail("telnet negotiation", m_lastError ? m_lastError : ETIMEDOUT);
    // The line settings only count once the server took COM-PORT-OPTION; wait for its
    // answer, but never past the open limit (then send them all the same).
    const bool answered = awaitServer([this] { return m_codec.comPortAnswered(); }, deadline);
    if (m_lost) return fail("telnet negotiation", m_lastError);
    // Without binary mode a server stuffs CR with NUL: 0x0D bytes of frames would change.
    if (m_codec.binaryRefused()) return fail("telnet negotiation", fault::kBinaryRefused);
    if (answered && !m_codec.comPortAccepted()) {
        RZ8_TRACE("[D][Error]network port %s: server refuses COM-PORT-OPTION, its own line "
                  "settings apply\n",
                  m_name.c_str());
        return true;
    }
    // Sent even with the limit spent: these few bytes fit the socket's buffer.
    const int sent = sendAll(TelnetCodec::lineSettings(uint32_t(baudRate)),
                             std::max(deadline, Clock::now() + std::chrono::milliseconds(100)));
    if (sent != 1) return fail("line settings", m_lastError ? m_lastError : ETIMEDOUT);
    // The server answers with the rate it set; at any other the line is of no use.
    if (answered) awaitServer([this] { return m_codec.baudTaken().has_value(); }, deadline);
    const auto taken = m_codec.baudTaken();
    if (taken && *taken != uint32_t(baudRate))
        return fail("line settings", baudFault(*taken, baudRate));
    if (m_codec.binaryRefused()) return fail("telnet negotiation", fault::kBinaryRefused);
    if (!taken && m_lost) return fail("line settings", m_lastError);
    if (!taken)
        RZ8_TRACE("[D][Error]network port %s: server did not confirm the baud rate\n",
                  m_name.c_str());
    return true;
}

void NetworkBackend::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_open = false;
    m_lost = false;
    m_codec = TelnetCodec{};
    m_in.clear();
    m_replies.clear();
}

void NetworkBackend::lose(int err) {
    // Once: every later call on the port fails with it, as on an unplugged adapter.
    if (!m_lost)
        RZ8_TRACE("[D][Error]network port %s: connection lost: %s\n", m_name.c_str(),
                  describeErrno(err).c_str());
    m_lost = true;
    m_lastError = err;
}

void NetworkBackend::reset() {
    if (m_fd < 0) return;
    // Lingering for no time makes close() drop the unsent rest and send a reset.
    const linger now{1, 0};
    ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &now, sizeof now);
    ::close(m_fd);
    m_fd = -1;
}

void NetworkBackend::takeIn() {
    if (m_fd < 0 || m_lost) return;
    uint8_t chunk[4096];
    for (;;) {
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0) {
            if (m_telnet)
                m_codec.feed(chunk, int(n), m_in, m_replies);
            else
                m_in.insert(m_in.end(), chunk, chunk + n);
            if (m_codec.broken()) {
                lose(fault::kEndlessSub);
                break;
            }
            if (m_in.size() > kInputCap || m_replies.size() > kInputCap) {
                // What was read stays readable; the rest of the flood is not taken in.
                lose(fault::kFlood);
                break;
            }
            continue;
        }
        if (n == 0) {
            lose(fault::kClosed);
            break;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) lose(errno);
        break;
    }
}

void NetworkBackend::pump() {
    takeIn();
    // Option answers are a few bytes: send what goes now, the rest with the next write.
    while (!m_replies.empty() && !m_lost) {
        const ssize_t n =
            ::send(m_fd, m_replies.data(), m_replies.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            m_replies.erase(m_replies.begin(), m_replies.begin() + n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) lose(errno);
        break;
    }
}

int NetworkBackend::sendAll(const std::vector<uint8_t>& bytes, Deadline deadline) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(m_fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            lose(errno);
            return -1;
        }
        const int ready = pollUntil(m_fd, POLLOUT, deadline);
        if (ready < 0) {
            lose(errno);
            return -1;
        }
        if (ready == 0 && done == 0) {
            m_lastError = ETIMEDOUT;
            return 0;
        }
        if (ready == 0) {
            lose(ETIMEDOUT);
            reset();
            return -1;
        }
        if ((ready & (POLLERR | POLLHUP | POLLNVAL)) && !(ready & POLLOUT)) {
            lose(EPIPE);
            return -1;
        }
    }
    return 1;
}

int NetworkBackend::bytesQueued() {
    if (!m_open) return -1;
    pump();
    if (!m_in.empty()) return int(std::min(m_in.size(), kInputCap));
    return m_lost ? -1 : 0;
}

int NetworkBackend::read(uint8_t* buffer, int capacity) {
    if (!m_open) return -1;
    if (capacity <= 0) return 0;
    pump();
    // What came before the connection was lost is still delivered.
    if (m_in.empty()) return m_lost ? -1 : 0;
    const size_t n = std::min(m_in.size(), size_t(capacity));
    std::copy_n(m_in.begin(), n, buffer);
    m_in.erase(m_in.begin(), m_in.begin() + std::ptrdiff_t(n));
    return int(n);
}

void NetworkBackend::purgeInput() {
    if (!m_open || m_lost || !m_telnet || !m_codec.comPortAccepted()) return;
    const auto purge = TelnetCodec::purgeInput();
    m_replies.insert(m_replies.end(), purge.begin(), purge.end());
}

int NetworkBackend::write(const uint8_t* data, int length, std::chrono::milliseconds limit) {
    if (!m_open) return -1;
    takeIn();
    // A server that turned binary mode off would change the frame's 0x0D bytes.
    if (!m_lost && m_codec.binaryRefused()) lose(fault::kBinaryRefused);
    if (m_lost) return -1;
    if (length <= 0) return 0;
    // Answers owed to the server (and a purge) go first, in the same segment.
    std::vector<uint8_t> out;
    out.swap(m_replies);
    const size_t owed = out.size();
    if (m_telnet) {
        const auto escaped = TelnetCodec::escape(data, length);
        out.insert(out.end(), escaped.begin(), escaped.end());
    } else {
        out.insert(out.end(), data, data + length);
    }
    const int rc = sendAll(out, Clock::now() + limit);
    if (rc == 0) m_replies.assign(out.begin(), out.begin() + std::ptrdiff_t(owed));
    return rc == 1 ? length : rc;
}

WaitResult NetworkBackend::waitReadable(std::chrono::milliseconds limit) {
    if (!m_open) return WaitResult::Failed;
    const auto deadline = Clock::now() + limit;
    for (;;) {
        pump();
        if (!m_in.empty()) return WaitResult::Readable;
        // Said at once: the caller, not this port, decides how to spend the rest.
        if (m_lost) return WaitResult::Failed;
        if (Clock::now() >= deadline) return WaitResult::TimedOut;
        const int ready = pollUntil(m_fd, POLLIN, deadline);
        if (ready == 0) return WaitResult::TimedOut;
        if (ready < 0) lose(errno);
        // Readable but perhaps only telnet commands: the next round takes them in.
    }
}

} // namespace kztr
