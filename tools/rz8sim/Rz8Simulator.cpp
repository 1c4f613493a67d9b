#include "Rz8Simulator.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace kztr::sim {
namespace fs = std::filesystem;

namespace {

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// A link that points nowhere is left over from a simulator that did not shut down.
bool isStaleLink(const fs::path& link) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(link, ec)) && !fs::exists(link, ec);
}

} // namespace

Rz8Simulator::~Rz8Simulator() {
    stop();
    if (m_recordFile) std::fclose(m_recordFile);
}

bool Rz8Simulator::addController(const ControllerConfig& config) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (running()) {
        m_error = "controllers are added before start";
        return false;
    }
    if (config.com < 1) {
        m_error = "COM" + std::to_string(config.com) + " is not a COM number (1 or more)";
        return false;
    }
    if (m_ports.count(config.com)) {
        m_error = "COM" + std::to_string(config.com) + " is already simulated";
        return false;
    }
    m_ports[config.com].controller = std::make_unique<SimController>(config);
    return true;
}

bool Rz8Simulator::setRecordFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) {
        m_error = systemError("record file " + path);
        return false;
    }
    if (m_recordFile) std::fclose(m_recordFile);
    m_recordFile = f;
    return true;
}

bool Rz8Simulator::start(const std::string& dir) {
    if (running()) return true;
    std::lock_guard<std::mutex> lock(m_mutex);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        m_error = "cannot create " + dir + ": " + ec.message();
        return false;
    }
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_error = systemError("pipe");
        return false;
    }
    m_wakeRead = wake[0];
    m_wakeWrite = wake[1];

    for (auto& [com, port] : m_ports) {
        port.controller->setFrameGap(m_frameGap);
        port.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128];
        if (port.master < 0 || ::grantpt(port.master) != 0 || ::unlockpt(port.master) != 0 ||
            ::ptsname_r(port.master, name, sizeof name) != 0) {
            m_error = systemError("pseudo-terminal for COM" + std::to_string(com));
            closePorts();
            return false;
        }
        ::fcntl(port.master, F_SETFL, ::fcntl(port.master, F_GETFL) | O_NONBLOCK);
        port.slavePath = name;
        // Held open for the simulator's whole life: a client closing its side must
        // not hang up the master.
        port.slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (port.slave < 0) {
            m_error = systemError("open " + port.slavePath);
            closePorts();
            return false;
        }
        // Raw at once: an echoing terminal would hand the replies back as requests.
        termios t{};
        ::tcgetattr(port.slave, &t);
        ::cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        ::cfsetspeed(&t, B460800);
        ::tcsetattr(port.slave, TCSANOW, &t);

        const fs::path link = fs::path(dir) / ("COM" + std::to_string(com));
        if (isStaleLink(link)) fs::remove(link, ec);
        if (::symlink(name, link.c_str()) != 0) {
            const int err = errno;
            m_error = systemError("link " + link.string());
            // A live link belongs to another simulator (or a real device) in the same folder.
            if (err == EEXIST) m_error += " (is another rz8sim using this folder?)";
            closePorts();
            return false;
        }
        port.link = link.string();
    }

    m_started = SimClock::now();
    m_stopping = false;
    m_thread = std::thread([this] { run(); });
    return true;
}

void Rz8Simulator::stop() {
    if (m_thread.joinable()) {
        m_stopping = true;
        wake();
        m_thread.join();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    closePorts();
}

void Rz8Simulator::closePorts() {
    for (auto& [com, port] : m_ports) {
        if (!port.link.empty()) {
            // Only our own link: someone may have replaced it meanwhile.
            char target[256] = {};
            const ssize_t n = ::readlink(port.link.c_str(), target, sizeof target - 1);
            if (n > 0 && port.slavePath == std::string(target, size_t(n)))
                ::unlink(port.link.c_str());
            port.link.clear();
        }
        if (port.slave >= 0) ::close(port.slave);
        if (port.master >= 0) ::close(port.master);
        port.slave = port.master = -1;
        port.pending.clear();
    }
    if (m_wakeRead >= 0) ::close(m_wakeRead);
    if (m_wakeWrite >= 0) ::close(m_wakeWrite);
    m_wakeRead = m_wakeWrite = -1;
}

void Rz8Simulator::wake() {
    if (m_wakeWrite >= 0) {
        const char b = 1;
        [[maybe_unused]] ssize_t n = ::write(m_wakeWrite, &b, 1);
    }
}

std::string Rz8Simulator::linkPath(int com) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_ports.find(com);
    return it == m_ports.end() ? std::string() : it->second.link;
}

void Rz8Simulator::run() {
    std::vector<pollfd> fds;
    std::vector<int> coms;
    while (!m_stopping) {
        int timeoutMs = -1;
        fds.clear();
        coms.clear();
        fds.push_back({m_wakeRead, POLLIN, 0});
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            const auto now = SimClock::now();
            for (auto& [com, port] : m_ports) {
                short events = POLLIN;
                if (!port.pending.empty()) {
                    if (port.blocked) {
                        events |= POLLOUT;
                    } else {
                        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(
                            port.pending.front().due - now);
                        const int ms = int(std::max<long long>(0, wait.count()));
                        timeoutMs = timeoutMs < 0 ? ms : std::min(timeoutMs, ms);
                    }
                }
                fds.push_back({port.master, events, 0});
                coms.push_back(com);
            }
        }
        const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
        if (ready < 0 && errno != EINTR) break;
        if (fds[0].revents & POLLIN) {
            char drain[64];
            while (::read(m_wakeRead, drain, sizeof drain) > 0) {
            }
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        for (size_t i = 1; i < fds.size(); ++i) {
            Port& port = m_ports[coms[i - 1]];
            if (fds[i].revents & POLLIN) serveInput(port, coms[i - 1]);
            if (fds[i].revents & POLLOUT) port.blocked = false;
        }
        const auto now = SimClock::now();
        for (auto& [com, port] : m_ports)
            flushOutput(port, now);
    }
}

void Rz8Simulator::serveInput(Port& port, int com) {
    uint8_t buf[4096];
    for (;;) {
        const ssize_t n = ::read(port.master, buf, sizeof buf);
        if (n <= 0) return;
        const auto now = SimClock::now();
        std::vector<std::vector<uint8_t>> requests;
        std::vector<Emission> out;
        port.controller->receive(buf, size_t(n), now, requests, out);
        for (auto& bytes : requests) {
            m_requests.push_back({now, com, std::move(bytes)});
            record(m_requests.back());
        }
        if (!requests.empty()) m_requestArrived.notify_all();
        auto due = port.pending.empty() ? now : std::max(now, port.pending.back().due);
        for (Emission& e : out) {
            due += e.delay;
            port.pending.push_back({due, std::move(e.bytes), 0});
        }
    }
}

void Rz8Simulator::flushOutput(Port& port, SimClock::time_point now) {
    while (!port.pending.empty() && !port.blocked && port.pending.front().due <= now) {
        Pending& p = port.pending.front();
        const ssize_t n = ::write(port.master, p.bytes.data() + p.sent, p.bytes.size() - p.sent);
        if (n < 0) {
            if (errno == EAGAIN)
                port.blocked = true;
            else if (errno != EINTR)
                port.pending.clear(); // terminal gone: nobody to tell
            return;
        }
        p.sent += size_t(n);
        m_bytesSent += size_t(n);
        if (p.sent == p.bytes.size()) port.pending.erase(port.pending.begin());
    }
}

void Rz8Simulator::record(const Request& request) {
    if (!m_recordFile) return;
    const auto ms =
        std::chrono::duration_cast<std::chrono::microseconds>(request.when - m_started).count() /
        1000.0;
    std::fprintf(m_recordFile, "%.3f COM%d", ms, request.com);
    for (uint8_t b : request.bytes)
        std::fprintf(m_recordFile, " %02X", b);
    std::fputc('\n', m_recordFile);
    std::fflush(m_recordFile);
}

std::vector<Request> Rz8Simulator::requests(int com) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Request> out;
    for (const Request& r : m_requests)
        if (com == 0 || r.com == com) out.push_back(r);
    return out;
}

void Rz8Simulator::clearRequests() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}

bool Rz8Simulator::waitForRequests(size_t count, std::chrono::milliseconds limit, int com) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_requestArrived.wait_for(lock, limit, [&] {
        return size_t(std::count_if(m_requests.begin(), m_requests.end(), [&](const Request& r) {
                   return com == 0 || r.com == com;
               })) >= count;
    });
}

namespace {
int queuedOn(int fd) {
    int n = 0;
    return fd >= 0 && ::ioctl(fd, FIONREAD, &n) == 0 ? n : 0;
}
} // namespace

bool Rz8Simulator::waitSettled(std::chrono::milliseconds limit) {
    using namespace std::chrono_literals;
    const auto deadline = SimClock::now() + limit;
    std::vector<int> slaves;
    for (;;) {
        bool idle = true;
        size_t sent = 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            slaves.clear();
            for (const auto& [com, port] : m_ports) {
                if (!port.pending.empty() || queuedOn(port.master) > 0) idle = false;
                slaves.push_back(port.slave);
            }
            sent = m_bytesSent;
        }
        if (idle) {
            if (sent == m_bytesSettled) return true;
            // The terminal hands written bytes to its other end a moment later: wait
            // until what is queued there stops growing.
            std::vector<int> before;
            for (int fd : slaves)
                before.push_back(queuedOn(fd));
            std::this_thread::sleep_for(1ms);
            bool stable = true;
            for (size_t i = 0; i < slaves.size(); ++i)
                if (queuedOn(slaves[i]) != before[i]) stable = false;
            if (stable) {
                m_bytesSettled = sent;
                return true;
            }
        } else {
            std::this_thread::sleep_for(1ms);
        }
        if (SimClock::now() >= deadline) return false;
    }
}

bool Rz8Simulator::setFaults(int com, const Faults& faults) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_ports.find(com);
    if (it == m_ports.end()) return false;
    it->second.controller->setFaults(faults);
    return true;
}

std::optional<ControllerState> Rz8Simulator::state(int com) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_ports.find(com);
    if (it == m_ports.end()) return std::nullopt;
    return it->second.controller->state();
}

} // namespace kztr::sim
