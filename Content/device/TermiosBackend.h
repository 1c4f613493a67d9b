#pragma once
// A serial port on a POSIX terminal device (real port or pseudo-terminal): raw 8N1,
// no handshaking, exclusive use, reads that never wait, writes bounded by poll().
#include "SerialBackend.h"

#include <string>
#include <termios.h>

namespace kztr {

class TermiosBackend final : public SerialBackend {
public:
    TermiosBackend() = default;
    ~TermiosBackend() override;
    TermiosBackend(const TermiosBackend&) = delete;
    TermiosBackend& operator=(const TermiosBackend&) = delete;

    bool open(int comNumber, int baudRate) override;
    void close() override;
    int bytesQueued() override;
    int read(uint8_t* buffer, int capacity) override;
    int write(const uint8_t* data, int length, std::chrono::milliseconds limit) override;
    WaitResult waitReadable(std::chrono::milliseconds limit) override;

    // Opens a device path directly (open() resolves the COM number to one).
    bool openPath(const std::string& path, int baudRate);
    // errno of the last failure, 0 after a success.
    int lastError() const override { return m_lastError; }

private:
    bool fail(const char* step, int err);

    int m_fd = -1;
    termios m_saved{};
    std::string m_path;
    int m_lastError = 0;
};

// speed_t for a baud rate, or B0 when the rate has no terminal speed.
speed_t speedForBaud(int baudRate);

} // namespace kztr
