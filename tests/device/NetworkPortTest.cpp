// Network ports against loopback servers: RFC 2217 and raw TCP through the same
// CSerialPort the protocol code uses, the bytes on the wire, and a lost or missing server.
#include "LoopbackServer.h"
#include "NetworkBackend.h"
#include "RZ8Ctrl.h"
#include "RZ8DeviceLink.h"
#include "ScopedEnv.h"
#include "SerialError.h"
#include "TraceCapture.h"
#include "VirtualClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <ctime>
#include <functional>
#include <iostream>
#include <map>
#include <mutex>
#include <numeric>
#include <optional>

using namespace std::chrono_literals;
using kztr::describeErrno;
using kztr::NetworkBackend;
using kztr::PortTarget;
using kztr::test::LoopbackServer;
using kztr::test::recvSome;
using kztr::test::ScopedEnv;
using kztr::test::sendBytes;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr int kBaud = 460800;
constexpr uint8_t IAC = 255, SB = 250, SE = 240, WILL = 251, WONT = 252, DO = 253, DONT = 254;

Bytes allByteValues() {
    Bytes v(256);
    std::iota(v.begin(), v.end(), uint8_t(0));
    return v;
}

// The server's reading of a telnet stream, written apart from the client's codec so that
// the two check each other.
struct ServerSide {
    Bytes data;
    std::vector<std::pair<uint8_t, uint8_t>> options; // (verb, option) as received
    std::vector<Bytes> subs;                          // unescaped, without IAC SB / IAC SE
    Bytes raw;

    // The rate the server says it set in answer to SET-BAUDRATE; 0: the one asked for.
    uint32_t baudTaken = 0;

    // Feeds bytes; returns what the server answers (DO for the client's WILL 0/3/44,
    // WILL for its DO 0/3, each COM-PORT setting with its code + 100).
    Bytes feed(const Bytes& in) {
        Bytes answer;
        for (const uint8_t b : in) {
            raw.push_back(b);
            switch (state) {
            case 0:
                if (b == IAC)
                    state = 1;
                else
                    data.push_back(b);
                break;
            case 1:
                if (b == IAC) {
                    data.push_back(IAC);
                    state = 0;
                } else if (b >= WILL) {
                    verb = b;
                    state = 2;
                } else if (b == SB) {
                    sub.clear();
                    state = 3;
                } else {
                    state = 0;
                }
                break;
            case 2:
                options.emplace_back(verb, b);
                if (verb == WILL && (b == 0 || b == 3 || b == 44))
                    answer.insert(answer.end(), {IAC, DO, b});
                if (verb == DO && (b == 0 || b == 3)) answer.insert(answer.end(), {IAC, WILL, b});
                state = 0;
                break;
            case 3:
                if (b == IAC)
                    state = 4;
                else
                    sub.push_back(b);
                break;
            case 4:
                if (b == SE) {
                    subs.push_back(sub);
                    answerSetting(sub, answer);
                    state = 0;
                } else {
                    sub.push_back(b);
                    state = 3;
                }
                break;
            }
        }
        return answer;
    }
    bool hasOption(uint8_t v, uint8_t opt) const {
        for (const auto& o : options)
            if (o.first == v && o.second == opt) return true;
        return false;
    }
    // The five line settings have all come.
    bool settingsDone() const { return subs.size() >= 5; }

private:
    void answerSetting(const Bytes& setting, Bytes& answer) const {
        if (setting.size() < 3 || setting[0] != 44 || setting[1] < 1 || setting[1] > 5) return;
        Bytes value(setting.begin() + 2, setting.end());
        if (setting[1] == 1 && baudTaken != 0)
            value = {uint8_t(baudTaken >> 24), uint8_t(baudTaken >> 16), uint8_t(baudTaken >> 8),
                     uint8_t(baudTaken)};
        answer.insert(answer.end(), {IAC, SB, 44, uint8_t(setting[1] + 100)});
        for (const uint8_t v : value) {
            answer.push_back(v);
            if (v == IAC) answer.push_back(IAC);
        }
        answer.insert(answer.end(), {IAC, SE});
    }

    int state = 0;
    uint8_t verb = 0;
    Bytes sub;
};

Bytes escaped(const Bytes& data) {
    Bytes out;
    for (const uint8_t b : data) {
        out.push_back(b);
        if (b == IAC) out.push_back(IAC);
    }
    return out;
}

// Reads from the port until count bytes came or limit ran out.
Bytes readPort(CSerialPort& port, size_t count, std::chrono::milliseconds limit) {
    Bytes got;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
        if (!port.WaitReadable(50ms)) continue;
        uint8_t buf[512];
        const int n = port.Read(buf, int(sizeof buf));
        got.insert(got.end(), buf, buf + n);
    }
    return got;
}

// Serves the telnet side until the client's line settings came, then echoes decoded
// data (escaped again) until count data bytes went back.
void telnetEcho(int fd, ServerSide& side, size_t count, std::mutex& m) {
    size_t echoed = 0;
    while (echoed < count) {
        const Bytes in = recvSome(fd, 4096, 3000ms);
        if (in.empty()) return;
        std::lock_guard<std::mutex> lock(m);
        const size_t before = side.data.size();
        const Bytes answer = side.feed(in);
        if (!answer.empty() && !sendBytes(fd, answer)) return;
        const Bytes fresh(side.data.begin() + std::ptrdiff_t(before), side.data.end());
        if (!sendBytes(fd, escaped(fresh))) return;
        echoed += fresh.size();
    }
}

std::string mapEntry(int com, const char* scheme, const std::string& host, int port) {
    return std::to_string(com) + "=" + scheme + "://" + host + ":" + std::to_string(port);
}

struct EchoRow {
    const char* name;
    const char* scheme;
    bool telnet;
};
void PrintTo(const EchoRow& row, std::ostream* os) {
    *os << row.name;
}

class NetworkEchoTest : public ::testing::TestWithParam<EchoRow> {};

TEST_P(NetworkEchoTest, EveryByteValueArrivesAndComesBackIntact) {
    const EchoRow& row = GetParam();
    const Bytes sent = allByteValues();
    ServerSide side;
    Bytes rawReceived;
    std::mutex m;
    LoopbackServer server([&](int fd) {
        if (row.telnet) {
            telnetEcho(fd, side, sent.size(), m);
            return;
        }
        while (true) { // raw: what comes goes back unchanged
            const Bytes in = recvSome(fd, 4096, 3000ms);
            if (in.empty() || !sendBytes(fd, in)) return;
            std::lock_guard<std::mutex> lock(m);
            rawReceived.insert(rawReceived.end(), in.begin(), in.end());
            if (rawReceived.size() >= sent.size()) return;
        }
    });
    ASSERT_TRUE(server.ok());
    ScopedEnv dir("RZ8_PORT_DIR", std::nullopt);
    ScopedEnv map("RZ8_PORT_MAP", mapEntry(5, row.scheme, "127.0.0.1", server.port()));

    CSerialPort port;
    ASSERT_EQ(port.Open(5, kBaud), TRUE) << "errno " << port.LastError();
    ASSERT_EQ(port.Write(sent.data(), int(sent.size())), TRUE);
    EXPECT_EQ(readPort(port, sent.size(), 3000ms), sent);
    server.join();
    std::lock_guard<std::mutex> lock(m);
    if (row.telnet)
        EXPECT_EQ(side.data, sent) << "decoded at the server";
    else
        EXPECT_EQ(rawReceived, sent) << "a raw port sends nothing but the data";
}

INSTANTIATE_TEST_SUITE_P(Kinds, NetworkEchoTest,
                         ::testing::Values(EchoRow{"Rfc2217", "rfc2217", true},
                                           EchoRow{"RawTcp", "tcp", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NetworkPortTest, Rfc2217NegotiatesBinaryAndTheLineSettings) {
    ServerSide side;
    std::mutex m;
    std::atomic<bool> done{false};
    LoopbackServer server([&](int fd) {
        while (!done) {
            const Bytes in = recvSome(fd, 4096, 3000ms);
            if (in.empty()) return;
            std::lock_guard<std::mutex> lock(m);
            if (!sendBytes(fd, side.feed(in))) return;
            if (side.settingsDone()) done = true;
        }
    });
    ASSERT_TRUE(server.ok());
    NetworkBackend port;
    PortTarget target{PortTarget::Kind::Rfc2217, {}, "127.0.0.1", server.port()};
    ASSERT_TRUE(port.openTarget(target, kBaud)) << "errno " << port.lastError();
    server.join();

    std::lock_guard<std::mutex> lock(m);
    EXPECT_TRUE(side.data.empty());
    EXPECT_TRUE(side.hasOption(WILL, 0)) << "binary from the client";
    EXPECT_TRUE(side.hasOption(DO, 0)) << "binary from the server";
    EXPECT_TRUE(side.hasOption(WILL, 3));
    EXPECT_TRUE(side.hasOption(DO, 3));
    EXPECT_TRUE(side.hasOption(WILL, 44));
    std::map<uint8_t, Bytes> settings;
    for (const Bytes& s : side.subs) {
        ASSERT_GE(s.size(), 2u);
        EXPECT_EQ(s[0], 44);
        settings[s[1]] = Bytes(s.begin() + 2, s.end());
    }
    EXPECT_EQ(settings[1], (Bytes{0x00, 0x07, 0x08, 0x00})) << "460800 baud";
    EXPECT_EQ(settings[2], Bytes{8}) << "8 data bits";
    EXPECT_EQ(settings[3], Bytes{1}) << "no parity";
    EXPECT_EQ(settings[4], Bytes{1}) << "1 stop bit";
    EXPECT_EQ(settings[5], Bytes{1}) << "no flow control";
}

TEST(NetworkPortTest, Rfc2217CommandsSplitIntoSingleBytesLoseNoData) {
    // Data with every kind of telnet sequence in between, sent a byte at a time.
    const Bytes stream = {'A',  IAC,  DO,   1, // echo: not supported, must be refused
                          0xFF, 0xFF, 'B',  IAC, WILL, 3,   'C',  IAC, SB,  44,
                          107,  0x30, IAC,  IAC, IAC,  SE,  'D',  IAC, 241, // NOP
                          IAC,  WONT, 0,    'E', IAC,  IAC, 0x00, 'F', IAC, SB,
                          44,   106,  0x01, IAC, SE,   IAC, DONT, 99,  'G'};
    const Bytes data = {'A', 0xFF, 'B', 'C', 'D', 'E', 0xFF, 0x00, 'F', 'G'};
    ServerSide side;
    std::mutex m;
    std::atomic<bool> streamed{false};
    LoopbackServer server([&](int fd) {
        while (true) {
            const Bytes in = recvSome(fd, 4096, 3000ms);
            if (in.empty()) return;
            std::lock_guard<std::mutex> lock(m);
            if (!sendBytes(fd, side.feed(in))) return;
            if (side.settingsDone()) break;
        }
        for (const uint8_t b : stream) {
            if (!sendBytes(fd, {b})) return;
            std::this_thread::sleep_for(2ms);
        }
        streamed = true;
        // Collect the client's answers to the server's requests.
        const Bytes more = recvSome(fd, 4096, 1000ms);
        std::lock_guard<std::mutex> lock(m);
        side.feed(more);
    });
    ASSERT_TRUE(server.ok());
    ScopedEnv dir("RZ8_PORT_DIR", std::nullopt);
    ScopedEnv map("RZ8_PORT_MAP", mapEntry(2, "rfc2217", "127.0.0.1", server.port()));
    CSerialPort port;
    ASSERT_EQ(port.Open(2, kBaud), TRUE) << "errno " << port.LastError();
    EXPECT_EQ(readPort(port, data.size(), 3000ms), data);
    EXPECT_EQ(port.BytesInQueue(), 0);
    server.join();
    EXPECT_TRUE(streamed);
    std::lock_guard<std::mutex> lock(m);
    EXPECT_TRUE(side.hasOption(WONT, 1)) << "an unsupported option is refused";
    EXPECT_TRUE(side.hasOption(DONT, 0)) << "the server's WONT binary is acknowledged";
}

struct RefusedRow {
    const char* name;
    PortTarget::Kind kind;
};
void PrintTo(const RefusedRow& row, std::ostream* os) {
    *os << row.name;
}
class RefusedPortTest : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedPortTest, FailsWithinTheBoundWithErrnoAndLeavesNothingOpen) {
    const int free = kztr::test::unusedLoopbackPort();
    ASSERT_GT(free, 0);
    NetworkBackend port;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.openTarget({GetParam().kind, {}, "127.0.0.1", free}, kBaud));
    EXPECT_LE(std::chrono::steady_clock::now() - start, NetworkBackend::kOpenLimit + 200ms);
    EXPECT_EQ(port.lastError(), ECONNREFUSED);
    uint8_t buf[4] = {};
    EXPECT_LT(port.read(buf, 4), 0);
    EXPECT_LT(port.bytesQueued(), 0);
    EXPECT_LT(port.write(buf, 4, 10ms), 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RefusedPortTest,
                         ::testing::Values(RefusedRow{"Rfc2217", PortTarget::Kind::Rfc2217},
                                           RefusedRow{"RawTcp", PortTarget::Kind::Tcp}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NetworkPortTest, ServerClosingMidExchangeFailsTheNextReadAndWrite) {
    LoopbackServer server([](int fd) {
        (void)recvSome(fd, 16, 3000ms);
        sendBytes(fd, {0x11, 0x22}); // a last reply, then gone
    });
    ASSERT_TRUE(server.ok());
    NetworkBackend port;
    ASSERT_TRUE(port.openTarget({PortTarget::Kind::Tcp, {}, "127.0.0.1", server.port()}, kBaud));
    kztr::test::TraceCapture trace;
    const uint8_t frame[2] = {0x01, 0x02};
    ASSERT_EQ(port.write(frame, 2, 1000ms), 2);
    server.join();

    // What came before the close is still read; then the port fails like an unplugged one.
    ASSERT_EQ(port.waitReadable(1000ms), kztr::WaitResult::Readable);
    uint8_t buf[8] = {};
    EXPECT_EQ(port.read(buf, 8), 2);
    EXPECT_EQ(Bytes(buf, buf + 2), (Bytes{0x11, 0x22}));
    // Said at once: the caller spends the rest of its limit on its own clock.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.waitReadable(1000ms), kztr::WaitResult::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_LT(port.read(buf, 8), 0);
    EXPECT_NE(port.lastError(), 0);
    EXPECT_LT(port.bytesQueued(), 0);
    EXPECT_LT(port.write(frame, 2, 100ms), 0);
    // The trace says why, once.
    const std::string lost =
        "network port tcp://127.0.0.1:" + std::to_string(server.port()) + ": connection lost";
    int lostLines = 0;
    for (const std::string& line : trace.texts())
        lostLines += line.find(lost) != std::string::npos;
    EXPECT_EQ(lostLines, 1) << ::testing::PrintToString(trace.texts());
}

TEST(NetworkPortTest, ListenerThatNeverAcceptsTimesOutWithinTheBound) {
    // A backlog that is full makes the kernel drop further connection attempts.
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&a), len), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len), 0);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        ::connect(fd, reinterpret_cast<sockaddr*>(&a), len);
        fillers.push_back(fd);
    }
    std::this_thread::sleep_for(100ms);

    NetworkBackend port;
    const auto start = std::chrono::steady_clock::now();
    const bool opened =
        port.openTarget({PortTarget::Kind::Tcp, {}, "127.0.0.1", ntohs(a.sin_port)}, kBaud);
    const auto took = std::chrono::steady_clock::now() - start;
    const int err = port.lastError();
    port.close();
    for (const int fd : fillers)
        ::close(fd);
    ::close(listener);
    if (opened) GTEST_SKIP() << "this kernel completed the connection despite a full backlog";
    EXPECT_EQ(err, ETIMEDOUT);
    EXPECT_LE(took, NetworkBackend::kOpenLimit + 200ms);
    EXPECT_GE(took, NetworkBackend::kOpenLimit - 200ms);
}

struct HostRow {
    const char* name;
    int family;
    const char* host;
};
void PrintTo(const HostRow& row, std::ostream* os) {
    *os << row.name;
}
class NetworkHostTest : public ::testing::TestWithParam<HostRow> {};

TEST_P(NetworkHostTest, ReachesTheServerByThisHostForm) {
    const HostRow& row = GetParam();
    const Bytes frame = {0x27, 0xFF, 0x00, 0x7F};
    Bytes received;
    LoopbackServer server(
        [&](int fd) {
            received = recvSome(fd, 16, 3000ms);
            sendBytes(fd, received);
        },
        row.family);
    if (!server.ok()) GTEST_SKIP() << "no " << row.name << " loopback on this machine";
    ScopedEnv dir("RZ8_PORT_DIR", std::nullopt);
    ScopedEnv map("RZ8_PORT_MAP", mapEntry(7, "tcp", row.host, server.port()));
    CSerialPort port;
    ASSERT_EQ(port.Open(7, kBaud), TRUE) << "errno " << port.LastError();
    ASSERT_EQ(port.Write(frame.data(), int(frame.size())), TRUE);
    EXPECT_EQ(readPort(port, frame.size(), 3000ms), frame);
    server.join();
    EXPECT_EQ(received, frame);
}

INSTANTIATE_TEST_SUITE_P(Hosts, NetworkHostTest,
                         ::testing::Values(HostRow{"Ipv6Literal", AF_INET6, "[::1]"},
                                           HostRow{"Ipv4Literal", AF_INET, "127.0.0.1"},
                                           HostRow{"HostName", AF_INET, "localhost"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Serves the telnet side like a device server until the line settings came.
void negotiate(int fd, ServerSide& side) {
    while (!side.settingsDone()) {
        const Bytes in = recvSome(fd, 4096, 3000ms);
        if (in.empty() || !sendBytes(fd, side.feed(in))) return;
    }
}

TEST(NetworkPortTest, Rfc2217PurgesTheServerAheadOfASendAfterStaleInputOnly) {
    ServerSide side;
    std::mutex m;
    size_t subsAtFrame[2] = {0, 0};
    LoopbackServer server([&](int fd) {
        negotiate(fd, side);
        sendBytes(fd, {'s', 't', 'a', 'l', 'e'});
        for (size_t frame = 0; frame < 2;) {
            const Bytes in = recvSome(fd, 4096, 3000ms);
            if (in.empty()) return;
            std::lock_guard<std::mutex> lock(m);
            side.feed(in);
            // Both frames may come in one piece.
            while (frame < 2 && side.data.size() >= 4 * (frame + 1))
                subsAtFrame[frame++] = side.subs.size();
        }
    });
    ASSERT_TRUE(server.ok());
    ScopedEnv dir("RZ8_PORT_DIR", std::nullopt);
    ScopedEnv map("RZ8_PORT_MAP", mapEntry(6, "rfc2217", "127.0.0.1", server.port()));
    CRZ8Ctrl port;
    ASSERT_EQ(port.Open(6, kBaud), TRUE) << "errno " << port.LastError();
    ASSERT_TRUE(port.WaitReadable(3000ms));
    std::this_thread::sleep_for(50ms);
    const Bytes frame = {0x01, 0x02, 0x03, 0x04};
    ASSERT_EQ(port.APIPU_SendData(frame.data(), int(frame.size())), TRUE); // drops "stale"
    ASSERT_EQ(port.APIPU_SendData(frame.data(), int(frame.size())), TRUE); // nothing stale
    server.join();

    std::lock_guard<std::mutex> lock(m);
    EXPECT_EQ(side.data, (Bytes{1, 2, 3, 4, 1, 2, 3, 4}));
    ASSERT_EQ(side.subs.size(), 6u) << "five line settings and one purge";
    EXPECT_EQ(side.subs[5], (Bytes{44, 12, 1})) << "PURGE-DATA of the server's receive buffer";
    EXPECT_EQ(subsAtFrame[0], 6u) << "the purge came ahead of the first frame";
    EXPECT_EQ(subsAtFrame[1], 6u);
}

// ---- Faults of the link: what the port reports, how soon, and at what cost.

// What the client does once the server runs.
enum class Step {
    Open,     // the open is to fail
    Exchange, // a frame goes out, then the reply is waited for and read as it comes
    Wait,     // the reply is waited for without sending (the request went out before)
    Write,    // a write far larger than the socket buffers
};

struct FaultRow {
    const char* name;
    const char* scheme;
    Step step;
    // The server's side of the connection; 'saw' tells the test what it noticed.
    std::function<void(int fd, std::string& saw)> serve;
    const char* host; // nullptr: the loopback server's address
    const char* message;
    std::chrono::milliseconds bound;
    int receiveBuffer;
};
void PrintTo(const FaultRow& row, std::ostream* os) {
    *os << row.name;
}

std::chrono::nanoseconds threadCpuTime() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

// Sends filler without pause until the client gives up (or 10 s passed).
void flood(int fd) {
    const Bytes filler(64 * 1024, 'x');
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < until && sendBytes(fd, filler)) {
    }
}

// Waits for the client to close, reading what it sends.
void drainUntilClosed(int fd) {
    while (!recvSome(fd, 4096, 3000ms).empty()) {
    }
}

const FaultRow kFaultRows[] = {
    {"FloodDuringNegotiation", "rfc2217", Step::Open,
     [](int fd, std::string&) {
         (void)recvSome(fd, 64, 3000ms); // the greeting, never answered
         flood(fd);
     },
     nullptr, "sends data without pause", NetworkBackend::kOpenLimit + 500ms, 0},
    {"FloodDuringExchange", "tcp", Step::Exchange,
     [](int fd, std::string&) {
         (void)recvSome(fd, 16, 3000ms);
         flood(fd);
     },
     nullptr, "sends data without pause", 1500ms, 0},
    {"SubnegotiationNeverClosed", "rfc2217", Step::Open,
     [](int fd, std::string&) {
         (void)recvSome(fd, 64, 3000ms);
         Bytes open = {IAC, SB, 44, 101};
         open.resize(open.size() + 4096, 'x');
         sendBytes(fd, open);
         drainUntilClosed(fd);
     },
     nullptr, "subnegotiation that never ends", 1000ms, 0},
    {"UnresolvableName", "tcp", Step::Open, nullptr, "rz8-nowhere.invalid", "name lookup failed",
     NetworkBackend::kOpenLimit + 500ms, 0},
    {"Refused", "rfc2217", Step::Open, nullptr, "127.0.0.1",
     "is the device server running and the port configured?", 1000ms, 0},
    {"ClosedMidReply", "tcp", Step::Exchange,
     [](int fd, std::string&) {
         (void)recvSome(fd, 16, 3000ms);
         sendBytes(fd, {0x27, 0x01, 0x02, 0x03, 0x04}); // 5 of 16, then an orderly close
     },
     nullptr, "the device server closed the connection", 1000ms, 0},
    {"ResetMidReply", "tcp", Step::Exchange,
     [](int fd, std::string&) {
         (void)recvSome(fd, 16, 3000ms);
         sendBytes(fd, {0x27, 0x01, 0x02, 0x03, 0x04});
         std::this_thread::sleep_for(50ms); // the five bytes first
         kztr::test::closeWithReset(fd);
     },
     nullptr, "Connection reset by peer (ECONNRESET)", 1000ms, 0},
    {"ServerTakesAnotherRate", "rfc2217", Step::Open,
     [](int fd, std::string&) {
         ServerSide side;
         side.baudTaken = 115200;
         negotiate(fd, side);
         drainUntilClosed(fd);
     },
     nullptr, "device server set 115200 baud, not 460800", 1000ms, 0},
    {"ServerRefusesBinary", "rfc2217", Step::Open,
     [](int fd, std::string&) {
         (void)recvSome(fd, 64, 3000ms);
         sendBytes(fd, {IAC, DONT, 0, IAC, DO, 3, IAC, DO, 44, IAC, WONT, 0, IAC, WILL, 3});
         drainUntilClosed(fd);
     },
     nullptr, "refuses telnet binary mode", 1000ms, 0},
    {"WriteStallsHalfWay", "tcp", Step::Write,
     [](int fd, std::string& saw) {
         // Reads nothing until the client gave up, then what is left.
         std::this_thread::sleep_for(CSerialPort::kWriteLimit + 500ms);
         Bytes buf(64 * 1024);
         ssize_t n = 0;
         while ((n = ::recv(fd, buf.data(), buf.size(), 0)) > 0) {
         }
         saw = n == 0 ? "orderly end" : errno == ECONNRESET ? "reset" : "error";
     },
     nullptr, "Connection timed out (ETIMEDOUT)", CSerialPort::kWriteLimit + 1000ms, 4096},
    {"KeepAliveFindsAVanishedServer", "tcp", Step::Wait,
     [](int fd, std::string& saw) {
         if (!kztr::test::vanish(fd)) saw = "no repair mode";
     },
     nullptr, "Connection reset by peer (ECONNRESET)",
     NetworkBackend::kKeepAliveIdle + NetworkBackend::kKeepAliveInterval * 3 + 1s, 0},
};

class NetworkFaultTest : public ::testing::TestWithParam<FaultRow> {};

TEST_P(NetworkFaultTest, ReportsWhatHappenedInTimeAndWithoutBurningACore) {
    const FaultRow& row = GetParam();
    std::string saw;
    std::optional<LoopbackServer> server;
    int port = kztr::test::unusedLoopbackPort();
    if (row.serve) {
        server.emplace([&](int fd) { row.serve(fd, saw); }, AF_INET, row.receiveBuffer);
        ASSERT_TRUE(server->ok());
        port = server->port();
    }
    const PortTarget target{std::string(row.scheme) == "rfc2217" ? PortTarget::Kind::Rfc2217
                                                                 : PortTarget::Kind::Tcp,
                            {},
                            row.host ? row.host : "127.0.0.1",
                            port};
    kztr::test::TraceCapture trace;
    NetworkBackend link;
    // An open that is to fail is timed with it; otherwise what follows.
    auto start = std::chrono::steady_clock::now();
    auto cpuStart = threadCpuTime();
    const bool opened = link.openTarget(target, kBaud);
    if (row.step != Step::Open) {
        ASSERT_TRUE(opened) << describeErrno(link.lastError());
        start = std::chrono::steady_clock::now();
        cpuStart = threadCpuTime();
    }
    bool failed = !opened;
    if (row.step == Step::Write) {
        const Bytes big(16 << 20, 0x55);
        failed = link.write(big.data(), int(big.size()), CSerialPort::kWriteLimit) < 0;
    } else if (row.step != Step::Open) {
        const Bytes frame(16, 0x27);
        if (row.step == Step::Exchange) {
            ASSERT_EQ(link.write(frame.data(), int(frame.size()), 1000ms), 16);
        }
        const auto until = start + 10s;
        for (auto now = start; now < until; now = std::chrono::steady_clock::now()) {
            const auto wait =
                link.waitReadable(std::chrono::ceil<std::chrono::milliseconds>(until - now));
            if (wait != kztr::WaitResult::Readable) {
                failed = wait == kztr::WaitResult::Failed;
                break;
            }
            uint8_t reply[16];
            (void)link.read(reply, int(sizeof reply)); // as an exchange takes a reply
        }
    }
    const auto took = std::chrono::steady_clock::now() - start;
    const auto cpu = threadCpuTime() - cpuStart;
    const std::string text = describeErrno(link.lastError());

    // What came before is still readable, but never more than the input bound.
    size_t left = 0;
    for (uint8_t buf[4096]; const int n = link.read(buf, int(sizeof buf));) {
        if (n < 0) break;
        left += size_t(n);
    }
    link.close();
    if (server) server->join();
    if (saw == "no repair mode")
        GTEST_SKIP() << "a server cannot vanish without CAP_NET_ADMIN (TCP repair mode)";

    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(took);
    std::cout << "[ measured ] " << row.name << ": " << ms.count() << " ms: " << text << "\n";
    EXPECT_TRUE(failed) << "the link is to fail";
    EXPECT_NE(text.find(row.message), std::string::npos) << text;
    EXPECT_LE(took, row.bound);
    EXPECT_LT(cpu, took / 2 + 100ms) << "the wait is not to spin";
    EXPECT_LE(left, NetworkBackend::kInputCap + 4096);
    bool traced = false;
    for (const std::string& line : trace.texts())
        traced = traced || line.find(row.message) != std::string::npos;
    EXPECT_TRUE(traced) << "the trace says why: " << ::testing::PrintToString(trace.texts());
    if (row.step == Step::Write) {
        EXPECT_EQ(saw, "reset") << "the rest of the write is dropped, not sent later";
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, NetworkFaultTest, ::testing::ValuesIn(kFaultRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A lost link is said at once, and the exchange waits out its reply limit on its own
// clock, in one sleep: no real time passes, and virtual time covers the limit.
TEST(NetworkPortTest, ExchangeSitsOutALostLinkOnItsOwnClock) {
    LoopbackServer server([](int fd) { (void)recvSome(fd, 16, 3000ms); });
    ASSERT_TRUE(server.ok());
    ScopedEnv dir("RZ8_PORT_DIR", std::nullopt);
    ScopedEnv map("RZ8_PORT_MAP", mapEntry(4, "tcp", "127.0.0.1", server.port()));
    kztr::test::VirtualClock clock;
    CRZ8DeviceLink link(clock);
    ASSERT_EQ(link.m_hRZ8Dev[0].OpenPort(4, kBaud), 1);
    const auto start = std::chrono::steady_clock::now();
    RZ8Full out{};
    EXPECT_EQ(link.APIPR_GetRZ8FullData(out), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_GE(clock.elapsed(), 5000ms);
    EXPECT_EQ(clock.sleepCount(), 1);
    server.join();
}

} // namespace
