#include "PtyPair.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace kztr::test {

PtyPair::PtyPair() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        m_error = std::string("pseudo-terminal: ") + std::strerror(errno);
        return;
    }
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        m_error = std::string("ptsname: ") + std::strerror(errno);
        return;
    }
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slave < 0) {
        m_error = std::string("open slave: ") + std::strerror(errno);
        return;
    }
    // Raw from the start: no echo of what the master writes, no line editing.
    termios t{};
    ::tcgetattr(m_slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(m_slave, TCSANOW, &t);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
}

bool PtyPair::linkAs(const std::string& linkPath) const {
    return ::symlink(m_slavePath.c_str(), linkPath.c_str()) == 0;
}

bool PtyPair::writeMaster(const std::vector<uint8_t>& bytes) const {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += size_t(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{m_master, POLLOUT, 0};
            if (::poll(&p, 1, 1000) <= 0) return false;
        } else if (!(n < 0 && errno == EINTR)) {
            return false;
        }
    }
    return true;
}

std::vector<uint8_t> PtyPair::readMaster(size_t count, std::chrono::milliseconds limit) const {
    std::vector<uint8_t> out;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (out.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{m_master, POLLIN, 0};
        if (::poll(&p, 1, int(left.count())) <= 0) continue;
        uint8_t buf[4096];
        const ssize_t n = ::read(m_master, buf, std::min(sizeof buf, count - out.size()));
        if (n > 0) out.insert(out.end(), buf, buf + n);
    }
    return out;
}

int PtyPair::slaveQueued() const {
    int n = 0;
    return ::ioctl(m_slave, FIONREAD, &n) == 0 ? n : -1;
}

bool PtyPair::waitSlaveQueued(int count, std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (slaveQueued() < count) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace kztr::test
