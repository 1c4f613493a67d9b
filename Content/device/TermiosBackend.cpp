#include "TermiosBackend.h"

#include "DebugTrace.h"
#include "PollWait.h"
#include "PortMap.h"
#include "SerialError.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kztr {

speed_t speedForBaud(int baudRate) {
    switch (baudRate) {
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    case 460800:
        return B460800;
    case 500000:
        return B500000;
    case 921600:
        return B921600;
    case 1000000:
        return B1000000;
    default:
        return B0;
    }
}

TermiosBackend::~TermiosBackend() {
    close();
}

bool TermiosBackend::open(int comNumber, int baudRate) {
    const std::string path = devicePathForCom(comNumber);
    if (path.empty()) {
        m_lastError = ENOENT;
        return false;
    }
    return openPath(path, baudRate);
}

bool TermiosBackend::fail(const char* step, int err) {
    m_lastError = err;
    // A missing device is the normal outcome of a port scan: no line for it.
    if (classifyErrno(err) != SerialError::NotFound)
        RZ8_TRACE("[D][Error]serial port %s: %s failed: %s\n", m_path.c_str(), step,
                  describeErrno(err).c_str());
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    return false;
}

bool TermiosBackend::openPath(const std::string& path, int baudRate) {
    if (m_fd >= 0) return true;
    m_path = path;
    const speed_t speed = speedForBaud(baudRate);
    if (speed == B0) return fail("baud rate", EINVAL);

    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) return fail("open", errno);
    if (::ioctl(m_fd, TIOCEXCL) != 0) return fail("exclusive use", errno);
    if (::tcgetattr(m_fd, &m_saved) != 0) {
        const int err = errno;
        ::ioctl(m_fd, TIOCNXCL);
        return fail("read line settings", err);
    }

    termios t = m_saved;
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetspeed(&t, speed) != 0 || ::tcsetattr(m_fd, TCSANOW, &t) != 0) {
        const int err = errno;
        ::tcsetattr(m_fd, TCSANOW, &m_saved);
        ::ioctl(m_fd, TIOCNXCL);
        return fail("line settings", err);
    }
    m_lastError = 0;
    return true;
}

void TermiosBackend::close() {
    if (m_fd < 0) return;
    // Another holder of the terminal (a simulator) must be able to reopen it later.
    ::tcsetattr(m_fd, TCSANOW, &m_saved);
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
}

int TermiosBackend::bytesQueued() {
    if (m_fd < 0) return -1;
    int queued = 0;
    if (::ioctl(m_fd, FIONREAD, &queued) != 0) {
        m_lastError = errno;
        return -1;
    }
    return queued;
}

int TermiosBackend::read(uint8_t* buffer, int capacity) {
    if (m_fd < 0) return -1;
    if (capacity <= 0) return 0;
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size_t(capacity));
        if (n >= 0) return int(n);
        if (errno == EINTR) continue;
        if (errno == EAGAIN) return 0;
        m_lastError = errno;
        return -1;
    }
}

int TermiosBackend::write(const uint8_t* data, int length, std::chrono::milliseconds limit) {
    if (m_fd < 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int done = 0;
    while (done < length) {
        const ssize_t n = ::write(m_fd, data + done, size_t(length - done));
        if (n > 0) {
            done += int(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            m_lastError = errno;
            return -1;
        }
        const int ready = pollUntil(m_fd, POLLOUT, deadline);
        if (ready < 0) {
            m_lastError = errno;
            return -1;
        }
        if (ready == 0) {
            // Cancel: drop what is still queued, so no tail of this frame runs into
            // the next one. The write counts as nothing written.
            ::tcflush(m_fd, TCOFLUSH);
            m_lastError = ETIMEDOUT;
            return 0;
        }
        if (ready & (POLLERR | POLLHUP | POLLNVAL)) {
            m_lastError = EIO;
            return -1;
        }
    }
    return done;
}

WaitResult TermiosBackend::waitReadable(std::chrono::milliseconds limit) {
    if (m_fd < 0) return WaitResult::Failed;
    const int ready = pollUntil(m_fd, POLLIN, std::chrono::steady_clock::now() + limit);
    if (ready < 0) {
        m_lastError = errno;
        return WaitResult::Failed;
    }
    if (ready == 0) return WaitResult::TimedOut;
    const bool hungUp = ready & (POLLHUP | POLLERR | POLLNVAL);
    if ((ready & POLLIN) && (!hungUp || bytesQueued() > 0)) return WaitResult::Readable;
    // Hung up with nothing to read (the other end went away): poll would report this at
    // once for ever.
    m_lastError = EIO;
    return WaitResult::Failed;
}

} // namespace kztr
