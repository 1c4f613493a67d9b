#pragma once
// A serial port on a device server across the network: a TCP connection carrying the
// line either raw or as RFC 2217 (telnet, COM-PORT-OPTION sets the server's line). It
// behaves as the termios backend does: reads never wait, writes wait at most their limit,
// a lost connection fails like an unplugged adapter.
#include "PortTarget.h"
#include "SerialBackend.h"
#include "TelnetCodec.h"

#include <chrono>
#include <string>
#include <vector>

namespace kztr {

class NetworkBackend final : public SerialBackend {
public:
    // Name lookup, connect and (RFC 2217) line set-up together take at most this long.
    static constexpr std::chrono::milliseconds kOpenLimit{2000};

    NetworkBackend() = default;
    ~NetworkBackend() override;
    NetworkBackend(const NetworkBackend&) = delete;
    NetworkBackend& operator=(const NetworkBackend&) = delete;

    // Resolves the COM number; fails with ENOENT unless it names a network port.
    bool open(int comNumber, int baudRate) override;
    bool openTarget(const PortTarget& target, int baudRate);
    void close() override;
    int bytesQueued() override;
    int read(uint8_t* buffer, int capacity) override;
    int write(const uint8_t* data, int length, std::chrono::milliseconds limit) override;
    bool waitReadable(std::chrono::milliseconds limit) override;
    int lastError() const override { return m_lastError; }

private:
    using Deadline = std::chrono::steady_clock::time_point;
    bool fail(const char* step, int err);
    bool connectTo(const PortTarget& target, Deadline deadline);
    bool setUpLine(int baudRate, Deadline deadline);
    // Takes in whatever the socket holds, without waiting.
    void pump();
    // Sends everything, waiting at most until deadline: 1 done, 0 out of time, -1 lost.
    int sendAll(const std::vector<uint8_t>& bytes, Deadline deadline);
    void lose(int err);

    int m_fd = -1;
    bool m_telnet = false;
    bool m_lost = false;
    TelnetCodec m_codec;
    std::vector<uint8_t> m_in;      // received data not yet read
    std::vector<uint8_t> m_replies; // telnet answers not yet sent
    std::string m_name;
    int m_lastError = 0;
};

} // namespace kztr
