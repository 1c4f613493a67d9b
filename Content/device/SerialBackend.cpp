#include "SerialBackend.h"

#include "NetworkBackend.h"
#include "PortMap.h"
#include "TermiosBackend.h"

#include <cerrno>
#include <mutex>

namespace kztr {
namespace {
std::mutex factoryMutex;
SerialBackendFactory& factory() {
    static SerialBackendFactory f;
    return f;
}

// What a COM number names is known only at open(): a device path gets the termios
// backend, a network target the socket one. Everything else is passed through.
class PortBackend final : public SerialBackend {
public:
    bool open(int comNumber, int baudRate) override {
        if (m_port && m_open) return true;
        m_port.reset();
        const auto target = portTargetForCom(comNumber);
        if (!target) {
            m_lastError = ENOENT;
            return false;
        }
        bool ok = false;
        if (target->isNetwork()) {
            auto net = std::make_unique<NetworkBackend>();
            ok = net->openTarget(*target, baudRate);
            m_port = std::move(net);
        } else {
            auto tty = std::make_unique<TermiosBackend>();
            ok = tty->openPath(target->path, baudRate);
            m_port = std::move(tty);
        }
        m_open = ok;
        m_lastError = m_port->lastError();
        return ok;
    }
    void close() override {
        if (m_port) m_port->close();
        m_open = false;
    }
    int bytesQueued() override { return m_open ? m_port->bytesQueued() : -1; }
    int read(uint8_t* buffer, int capacity) override {
        return m_open ? m_port->read(buffer, capacity) : -1;
    }
    int write(const uint8_t* data, int length, std::chrono::milliseconds limit) override {
        return m_open ? m_port->write(data, length, limit) : -1;
    }
    WaitResult waitReadable(std::chrono::milliseconds limit) override {
        return m_open ? m_port->waitReadable(limit) : WaitResult::Failed;
    }
    void purgeInput() override {
        if (m_open) m_port->purgeInput();
    }
    int lastError() const override { return m_port ? m_port->lastError() : m_lastError; }

private:
    std::unique_ptr<SerialBackend> m_port;
    bool m_open = false;
    int m_lastError = 0;
};

} // namespace

std::unique_ptr<SerialBackend> makeSerialBackend() {
    SerialBackendFactory f;
    {
        std::lock_guard<std::mutex> lock(factoryMutex);
        f = factory();
    }
    if (f) return f();
    return std::make_unique<PortBackend>();
}

void setSerialBackendFactory(SerialBackendFactory f) {
    std::lock_guard<std::mutex> lock(factoryMutex);
    factory() = std::move(f);
}

} // namespace kztr
