// CSerialPort and CRZ8Ctrl on real pseudo-terminals, through the termios backend.
#include "PtyPair.h"
#include "RZ8Ctrl.h"
#include "ScopedEnv.h"
#include "SerialError.h"
#include "TraceCapture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <netdb.h>

#include <cerrno>
#include <numeric>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono_literals;
using kztr::test::PtyPair;
using kztr::test::ScopedEnv;
using kztr::test::TraceCapture;

namespace {

constexpr int kBaud = 460800;

std::vector<uint8_t> counting(int n, uint8_t first = 0) {
    std::vector<uint8_t> v(size_t(n), 0);
    std::iota(v.begin(), v.end(), first);
    return v;
}

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(com3.ok()) << com3.error();
        ASSERT_TRUE(com4.ok()) << com4.error();
        ASSERT_TRUE(com3.linkAs(path("COM3")));
        ASSERT_TRUE(com4.linkAs(path("COM4")));
    }
    std::string path(const char* name) const { return dir.path().toStdString() + "/" + name; }

    QTemporaryDir dir;
    ScopedEnv env{"RZ8_PORT_DIR", dir.path().toStdString()};
    PtyPair com3;
    PtyPair com4;
};

TEST_F(SerialPortTest, MissingPortFailsAndLeavesEveryOperationInert) {
    CRZ8Ctrl port;
    EXPECT_EQ(port.OpenPort(9, kBaud), 0);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.LastError(), ENOENT); // what a tool tells the operator
    uint8_t buf[16] = {};
    EXPECT_EQ(port.Read(buf, sizeof buf), 0);
    EXPECT_EQ(port.Write(buf, sizeof buf), FALSE);
    EXPECT_EQ(port.BytesInQueue(), 0);
    EXPECT_FALSE(port.WaitReadable(10ms));
    EXPECT_EQ(port.Close(), FALSE);
}

TEST_F(SerialPortTest, ClosedPortSendStillTracesButWritesNothing) {
    TraceCapture trace;
    CRZ8Ctrl port;
    const uint8_t frame[1] = {0xFF};
    EXPECT_EQ(port.APIPU_SendData(frame, 1), FALSE);
    EXPECT_EQ(trace.count("[D][Send]APIPU_SendData clear uart data len=0"), 1);
}

TEST_F(SerialPortTest, SecondOpenKeepsTheFirstPortAndSpeed) {
    CRZ8Ctrl port;
    ASSERT_EQ(port.OpenPort(3, kBaud), 1);
    EXPECT_EQ(port.OpenPort(4, 9600), 1);

    termios t{};
    ASSERT_EQ(tcgetattr(com3.slaveFd(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B460800));

    const std::vector<uint8_t> frame = counting(16, 0x40);
    ASSERT_EQ(port.Write(frame.data(), int(frame.size())), TRUE);
    EXPECT_EQ(com3.readMaster(16, 1000ms), frame);
    EXPECT_TRUE(com4.readMaster(1, 50ms).empty());
}

TEST_F(SerialPortTest, OpenSetsRawEightNoneOneWithoutHandshaking) {
    // Start from a cooked, handshaking line to see every setting change.
    termios cooked{};
    ASSERT_EQ(tcgetattr(com3.slaveFd(), &cooked), 0);
    cooked.c_lflag |= ICANON | ECHO;
    cooked.c_iflag |= IXON | IXOFF;
    cooked.c_cflag |= CRTSCTS | PARENB | CSTOPB;
    ASSERT_EQ(tcsetattr(com3.slaveFd(), TCSANOW, &cooked), 0);

    CRZ8Ctrl port;
    ASSERT_EQ(port.OpenPort(3, kBaud), 1);
    termios t{};
    ASSERT_EQ(tcgetattr(com3.slaveFd(), &t), 0);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY), 0u);
    EXPECT_EQ(t.c_cflag & (CRTSCTS | PARENB | CSTOPB), 0u);
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);

    // Closing gives the terminal its earlier settings back.
    ASSERT_EQ(port.ClosePort(), TRUE);
    ASSERT_EQ(tcgetattr(com3.slaveFd(), &t), 0);
    EXPECT_NE(t.c_lflag & ICANON, 0u);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
}

TEST_F(SerialPortTest, UnsupportedBaudRateFailsAndLeavesNothingOpen) {
    CRZ8Ctrl port;
    EXPECT_EQ(port.OpenPort(3, 12345), 0);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.OpenPort(3, kBaud), 1);
}

TEST_F(SerialPortTest, PortCanBeReopenedAfterClose) {
    CRZ8Ctrl port;
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(port.OpenPort(3, kBaud), 1) << "round " << round;
        EXPECT_EQ(port.ClosePort(), TRUE);
        EXPECT_EQ(port.ClosePort(), FALSE);
    }
}

TEST_F(SerialPortTest, ReadWithNothingQueuedReturnsAtOnce) {
    CRZ8Ctrl port;
    ASSERT_EQ(port.OpenPort(3, kBaud), 1);
    std::vector<uint8_t> big(100000);
    for (int capacity : {1, 16, 100000}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(port.Read(big.data(), capacity), 0) << "capacity " << capacity;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 50ms) << "capacity " << capacity;
    }
}

TEST_F(SerialPortTest, ReadTakesAtMostCapacityAndLeavesTheRestQueued) {
    CRZ8Ctrl port;
    ASSERT_EQ(port.OpenPort(3, kBaud), 1);
    const std::vector<uint8_t> sent = counting(300);
    ASSERT_TRUE(com3.writeMaster(sent));
    ASSERT_TRUE(com3.waitSlaveQueued(300, 2000ms));
    EXPECT_EQ(port.BytesInQueue(), 300);

    uint8_t buf[16] = {};
    ASSERT_EQ(port.Read(buf, 16), 16);
    EXPECT_EQ(std::vector<uint8_t>(buf, buf + 16),
              std::vector<uint8_t>(sent.begin(), sent.begin() + 16));
    EXPECT_EQ(port.BytesInQueue(), 284);
}

TEST_F(SerialPortTest, WaitReadableWakesOnInputAndTimesOutWithout) {
    CRZ8Ctrl port;
    ASSERT_EQ(port.OpenPort(3, kBaud), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.WaitReadable(100ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms);

    ASSERT_TRUE(com3.writeMaster({0x01}));
    EXPECT_TRUE(port.WaitReadable(2000ms));
}

TEST_F(SerialPortTest, SendDropsAtMostThirtyTwoStaleBytesAheadOfTheReply) {
    TraceCapture trace;
    CRZ8Ctrl port;
    ASSERT_EQ(port.OpenPort(3, kBaud), 1);
    const std::vector<uint8_t> stale = counting(40, 0x80);
    ASSERT_TRUE(com3.writeMaster(stale));
    ASSERT_TRUE(com3.waitSlaveQueued(40, 2000ms));

    const std::vector<uint8_t> frame = counting(16, 0x10);
    ASSERT_EQ(port.APIPU_SendData(frame.data(), 16), TRUE);
    EXPECT_EQ(com3.readMaster(16, 1000ms), frame);
    EXPECT_EQ(trace.count("[D][Send]APIPU_SendData clear uart data len=32"), 1);
    for (const auto& line : trace.lines()) {
        if (line.text.find("APIPU_SendData") != std::string::npos) {
            EXPECT_EQ(line.file, "RZ8Ctrl.cpp");
        }
    }

    const std::vector<uint8_t> reply = counting(16, 0xA0);
    ASSERT_TRUE(com3.writeMaster(reply));
    ASSERT_TRUE(com3.waitSlaveQueued(24, 2000ms));
    uint8_t buf[64] = {};
    ASSERT_EQ(port.Read(buf, sizeof buf), 24);
    std::vector<uint8_t> expected(stale.begin() + 32, stale.end());
    expected.insert(expected.end(), reply.begin(), reply.end());
    EXPECT_EQ(std::vector<uint8_t>(buf, buf + 24), expected);
}

TEST_F(SerialPortTest, SendWithNothingStaleTracesZeroAndWrites) {
    TraceCapture trace;
    CRZ8Ctrl port;
    ASSERT_EQ(port.OpenPort(3, kBaud), 1);
    const uint8_t request[1] = {0xFF};
    ASSERT_EQ(port.APIPU_SendData(request, 1), TRUE);
    EXPECT_EQ(com3.readMaster(1, 1000ms), std::vector<uint8_t>{0xFF});
    EXPECT_EQ(trace.count("[D][Send]APIPU_SendData clear uart data len=0"), 1);
}

TEST_F(SerialPortTest, WriteThatCannotFinishWithinOneSecondFails) {
    CRZ8Ctrl port;
    ASSERT_EQ(port.OpenPort(3, kBaud), 1);
    // Nobody reads the master: the terminal's buffers fill up and a write stalls.
    const std::vector<uint8_t> chunk(1024, 0x55);
    int accepted = 0;
    for (; accepted < 20000; ++accepted) {
        const auto start = std::chrono::steady_clock::now();
        const BOOL ok = port.Write(chunk.data(), int(chunk.size()));
        const auto took = std::chrono::steady_clock::now() - start;
        if (!ok) {
            EXPECT_GE(took, 950ms);
            EXPECT_LT(took, 1500ms);
            break;
        }
        ASSERT_LT(took, 950ms) << "a write that completed must not have waited out the limit";
    }
    ASSERT_LT(accepted, 20000) << "the pseudo-terminal never filled up";
    EXPECT_TRUE(port.IsOpen());
}

// Runs in a child process so that the identity change cannot leak into other tests.
// The link folder is made reachable for everyone, so only the device itself refuses.
void exitWithOpenPermissionResult(const std::string& dir, const std::string& slave) {
    if (::chmod(dir.c_str(), 0755) != 0 || ::chmod(slave.c_str(), 0) != 0) std::_Exit(10);
    if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(11);
    TraceCapture trace;
    CRZ8Ctrl port;
    if (port.OpenPort(3, kBaud) != 0) std::_Exit(12);
    if (trace.count("Permission denied") != 1 || trace.count("dialout") != 1) std::_Exit(13);
    if (port.LastError() != EACCES) std::_Exit(14);
    std::_Exit(0);
}

TEST_F(SerialPortTest, PermissionDeniedOpenLeavesATraceLineNamingDialout) {
    EXPECT_EXIT(exitWithOpenPermissionResult(dir.path().toStdString(), com3.slavePath()),
                ::testing::ExitedWithCode(0), "");
}

void exitWithExclusiveUseResult(const std::string& dir, const std::string& slave) {
    if (::chmod(dir.c_str(), 0755) != 0 || ::chmod(slave.c_str(), 0666) != 0) std::_Exit(10);
    CRZ8Ctrl first;
    if (first.OpenPort(3, kBaud) != 1) std::_Exit(11);
    // Exclusive use binds everyone except root.
    if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(12);
    TraceCapture trace;
    CRZ8Ctrl second;
    if (second.OpenPort(3, kBaud) != 0) std::_Exit(13);
    if (trace.count("Device or resource busy") != 1) std::_Exit(14);
    if (second.LastError() != EBUSY) std::_Exit(16);
    first.ClosePort();
    if (second.OpenPort(3, kBaud) != 1) std::_Exit(15);
    if (second.LastError() != 0) std::_Exit(17); // a success clears the old reason
    std::_Exit(0);
}

TEST_F(SerialPortTest, OpenPortIsExclusiveUntilClosed) {
    EXPECT_EXIT(exitWithExclusiveUseResult(dir.path().toStdString(), com3.slavePath()),
                ::testing::ExitedWithCode(0), "");
}

struct ErrnoRow {
    const char* name;
    int err;
    kztr::SerialError code;
    const char* fragment;
};
void PrintTo(const ErrnoRow& row, std::ostream* os) {
    *os << row.name;
}

class ErrnoMeaningTest : public ::testing::TestWithParam<ErrnoRow> {};

TEST_P(ErrnoMeaningTest, ClassifiesAndExplains) {
    const ErrnoRow& row = GetParam();
    EXPECT_EQ(kztr::classifyErrno(row.err), row.code);
    EXPECT_NE(kztr::describeErrno(row.err).find(row.fragment), std::string::npos)
        << kztr::describeErrno(row.err);
}

INSTANTIATE_TEST_SUITE_P(
    Serial, ErrnoMeaningTest,
    ::testing::Values(
        ErrnoRow{"Missing", ENOENT, kztr::SerialError::NotFound, "ENOENT"},
        ErrnoRow{"Access", EACCES, kztr::SerialError::PermissionDenied, "dialout"},
        ErrnoRow{"NotPermitted", EPERM, kztr::SerialError::PermissionDenied, "usermod -aG dialout"},
        ErrnoRow{"Busy", EBUSY, kztr::SerialError::Busy, "exclusive use"},
        ErrnoRow{"NotTty", ENOTTY, kztr::SerialError::NotATerminal, "not a serial device"},
        ErrnoRow{"Io", EIO, kztr::SerialError::Io, "EIO"},
        ErrnoRow{"Refused", ECONNREFUSED, kztr::SerialError::Refused, "device server running"},
        ErrnoRow{"NoRoute", EHOSTUNREACH, kztr::SerialError::Unreachable, "check the address"},
        ErrnoRow{"NoNetwork", ENETUNREACH, kztr::SerialError::Unreachable, "and the network"},
        ErrnoRow{"TimedOut", ETIMEDOUT, kztr::SerialError::TimedOut, "switched on and reachable"},
        ErrnoRow{"Reset", ECONNRESET, kztr::SerialError::Reset, "ECONNRESET"},
        ErrnoRow{"Closed", kztr::fault::kClosed, kztr::SerialError::Closed,
                 "closed the connection"},
        ErrnoRow{"NoSuchName", kztr::lookupFault(EAI_NONAME), kztr::SerialError::NameUnknown,
                 "name lookup failed: Name or service not known (EAI_NONAME)"},
        ErrnoRow{"NameServerSilent", kztr::lookupFault(EAI_AGAIN), kztr::SerialError::NameUnknown,
                 "(EAI_AGAIN): check the host name"},
        ErrnoRow{"OtherRate", kztr::baudFault(115200, 460800), kztr::SerialError::ServerFault,
                 "device server set 115200 baud, not 460800"},
        ErrnoRow{"OtherRateThanAnOddOne", kztr::baudFault(9600, 12345),
                 kztr::SerialError::ServerFault, "set 9600 baud, not the rate asked"},
        ErrnoRow{"Flood", kztr::fault::kFlood, kztr::SerialError::ServerFault, "without pause"},
        ErrnoRow{"NoBinary", kztr::fault::kBinaryRefused, kztr::SerialError::ServerFault,
                 "binary mode"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
