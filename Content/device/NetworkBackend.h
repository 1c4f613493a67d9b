#pragma once
// A serial port on a device server across the network: a TCP connection carrying the
// line either raw or as RFC 2217 (telnet, COM-PORT-OPTION sets the server's line). It
// behaves as the termios backend does: reads never wait, writes wait at most their limit,
// a lost connection fails like an unplugged adapter.
#include "PollWait.h"
#include "PortTarget.h"
#include "SerialBackend.h"
#include "TelnetCodec.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kztr {

class NetworkBackend final : public SerialBackend {
public:
    // Name lookup, connect and (RFC 2217) line set-up together take at most this long.
    static constexpr std::chrono::milliseconds kOpenLimit{2000};
    // Unread input beyond this is no controller's answer (a reply and its block are a few
    // hundred bytes): the server is flooding the line, and the link is dropped rather
    // than grown without bound or left to hide the flood.
    static constexpr std::size_t kInputCap = 64 * 1024;
    // A dead device server (powered off, cable pulled: no FIN, no RST) must be noticed
    // within one 5 s reply limit, not after the kernel's two hours: an idle link is probed
    // after 2 s, then every second, and given up after 3 unanswered probes; data sent and
    // not acknowledged for 5 s ends the connection as well.
    static constexpr std::chrono::seconds kKeepAliveIdle{2};
    static constexpr std::chrono::seconds kKeepAliveInterval{1};
    static constexpr int kKeepAliveProbes = 3;
    static constexpr std::chrono::milliseconds kUnacknowledgedLimit{5000};

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
    // A write that runs out of time part of the way resets the connection, so that no
    // tail of the frame (or of a telnet command) reaches the line later.
    int write(const uint8_t* data, int length, std::chrono::milliseconds limit) override;
    WaitResult waitReadable(std::chrono::milliseconds limit) override;
    // RFC 2217: PURGE-DATA goes ahead of the next write.
    void purgeInput() override;
    int lastError() const override { return m_lastError; }

private:
    bool fail(const char* step, int err);
    bool connectTo(const PortTarget& target, Deadline deadline);
    bool setUpLine(int baudRate, Deadline deadline);
    // Takes in what the server sends until done() or the deadline, whatever arrives.
    bool awaitServer(const std::function<bool()>& done, Deadline deadline);
    // Takes in whatever the socket holds, without waiting, then sends owed answers.
    void pump();
    void takeIn();
    // Sends everything, waiting at most until deadline: 1 done, 0 out of time with nothing
    // sent, -1 lost (also when out of time part of the way).
    int sendAll(const std::vector<uint8_t>& bytes, Deadline deadline);
    void lose(int err);
    // Resets the connection: whatever it still has to send is dropped, not sent.
    void reset();

    int m_fd = -1;
    bool m_open = false;
    bool m_telnet = false;
    bool m_lost = false;
    TelnetCodec m_codec;
    std::vector<uint8_t> m_in;      // received data not yet read
    std::vector<uint8_t> m_replies; // telnet answers (and a purge) not yet sent
    std::string m_name;
    int m_lastError = 0;
};

} // namespace kztr
