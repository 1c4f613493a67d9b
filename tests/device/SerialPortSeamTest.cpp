// CSerialPort over its backend seam: what reaches the system and what does not.
#include "RZ8Ctrl.h"
#include "ScopedEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Logs every call; opens succeed, the queue and write results are scripted.
class LoggingBackend : public kztr::SerialBackend {
public:
    explicit LoggingBackend(std::vector<std::string>& log) : m_log(log) {}
    bool open(int com, int baud) override {
        m_log.push_back("open " + std::to_string(com) + " " + std::to_string(baud));
        return true;
    }
    void close() override { m_log.push_back("close"); }
    int bytesQueued() override {
        m_log.push_back("queued");
        return queued;
    }
    int read(uint8_t*, int capacity) override {
        m_log.push_back("read " + std::to_string(capacity));
        return capacity;
    }
    int write(const uint8_t*, int length, std::chrono::milliseconds limit) override {
        m_log.push_back("write " + std::to_string(length) + " " + std::to_string(limit.count()));
        return std::min(writeResult, length);
    }
    kztr::WaitResult waitReadable(std::chrono::milliseconds) override {
        m_log.push_back("wait");
        return kztr::WaitResult::Readable;
    }
    int queued = 0;
    int writeResult = 1 << 30; // everything written

private:
    std::vector<std::string>& m_log;
};

class SerialPortSeamTest : public ::testing::Test {
protected:
    void SetUp() override {
        kztr::setSerialBackendFactory([this] {
            auto b = std::make_unique<LoggingBackend>(log);
            backend = b.get();
            return b;
        });
    }
    void TearDown() override { kztr::setSerialBackendFactory({}); }

    std::vector<std::string> log;
    LoggingBackend* backend = nullptr;
};

TEST_F(SerialPortSeamTest, ClosedPortNeverReachesTheSystem) {
    CRZ8Ctrl port;
    uint8_t buf[8] = {};
    EXPECT_EQ(port.Read(buf, 8), 0);
    EXPECT_EQ(port.Write(buf, 8), FALSE);
    EXPECT_EQ(port.BytesInQueue(), 0);
    EXPECT_FALSE(port.WaitReadable(1s));
    EXPECT_EQ(port.Close(), FALSE);
    EXPECT_EQ(port.APIPU_SendData(buf, 8), FALSE);
    EXPECT_TRUE(log.empty()) << log.front();
}

TEST_F(SerialPortSeamTest, WriteUsesTheOneSecondLimitAndOpenTwiceOpensOnce) {
    CRZ8Ctrl port;
    ASSERT_EQ(port.OpenPort(3, 460800), 1);
    ASSERT_EQ(port.OpenPort(7, 9600), 1);
    const uint8_t frame[16] = {};
    EXPECT_EQ(port.Write(frame, 16), TRUE);
    EXPECT_EQ(log, (std::vector<std::string>{"open 3 460800", "write 16 1000"}));
}

struct WriteRow {
    const char* name;
    int backendResult;
    BOOL expected;
};
void PrintTo(const WriteRow& row, std::ostream* os) {
    *os << row.name;
}

class SerialPortWrite : public SerialPortSeamTest,
                        public ::testing::WithParamInterface<WriteRow> {};

TEST_P(SerialPortWrite, ReportsWhetherAnythingWasWritten) {
    CRZ8Ctrl port;
    ASSERT_EQ(port.OpenPort(3, 460800), 1);
    backend->writeResult = GetParam().backendResult;
    const uint8_t frame[16] = {};
    EXPECT_EQ(port.Write(frame, 16), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Seam, SerialPortWrite,
                         ::testing::Values(WriteRow{"AllWritten", 16, TRUE},
                                           WriteRow{"TimedOut", 0, FALSE},
                                           WriteRow{"Failed", -1, FALSE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialPortSeamTest, ReadAsksOnlyForWhatIsQueued) {
    CRZ8Ctrl port;
    ASSERT_EQ(port.OpenPort(3, 460800), 1);
    backend->queued = 5;
    uint8_t buf[64];
    EXPECT_EQ(port.Read(buf, 64), 5);
    backend->queued = 0;
    EXPECT_EQ(port.Read(buf, 64), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"open 3 460800", "queued", "read 5", "queued"}));
}

TEST_F(SerialPortSeamTest, DestructionClosesAnOpenPort) {
    {
        CRZ8Ctrl port;
        ASSERT_EQ(port.OpenPort(3, 460800), 1);
    }
    EXPECT_EQ(log.back(), "close");
}

TEST_F(SerialPortSeamTest, EmptyFactoryBringsBackRealPorts) {
    kztr::setSerialBackendFactory({});
    kztr::test::ScopedEnv env("RZ8_PORT_DIR", std::string("/nonexistent-rz8-ports"));
    CRZ8Ctrl port;
    EXPECT_EQ(port.OpenPort(3, 460800), 0);
    EXPECT_TRUE(log.empty());
}

} // namespace
