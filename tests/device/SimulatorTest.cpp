// The controller simulator answering the real device link (termios code, pty links).
#include "RZ8Ctrl.h"
#include "SimulatedPortsTest.h"

#include <gtest/gtest.h>

#include <numeric>
#include <thread>

using namespace std::chrono_literals;
using kztr::sim::EdidFault;
using kztr::sim::Faults;
using kztr::test::SimController;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr int kBaud = 460800;

Bytes frame(uint8_t code, uint8_t box = 2, uint16_t param = 0) {
    RZ8Full r{};
    r.cmd = code;
    r.model = 0x44;
    r.fw_ver = 0x50;
    r.box_id = box;
    r.setVRHz(60);
    r.setParam(param);
    return Bytes(r.bytes(), r.bytes() + 16);
}

// Reads until count bytes came or limit ran out, waiting on the port between reads.
Bytes readFor(CRZ8Ctrl& port, size_t count, std::chrono::milliseconds limit) {
    Bytes out;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (out.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= 0ms) break;
        if (!port.WaitReadable(left)) continue;
        uint8_t buf[512];
        const int n = port.ReadData(buf, int(std::min(sizeof buf, count - out.size())));
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}

bool blockSumsToZero(const Bytes& b, size_t offset) {
    return std::accumulate(b.begin() + long(offset), b.begin() + long(offset) + 128, 0u) % 256 == 0;
}

class SimulatorTest : public kztr::test::SimulatedPortsTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(
            StartSimulator({SimController(3, 2, 'C', 17), SimController(5, 1, 'H', 23)}));
        ASSERT_EQ(port.OpenPort(3, kBaud), 1);
    }

    Bytes exchange(const Bytes& request, size_t expected, std::chrono::milliseconds limit = 2s) {
        if (port.APIPU_SendData(request.data(), int(request.size())) != TRUE) return {};
        return readFor(port, expected, limit);
    }

    CRZ8Ctrl port;
};

struct IdentityRow {
    const char* name;
    int com;
    char model;
    uint8_t fw;
    uint8_t box;
};
void PrintTo(const IdentityRow& row, std::ostream* os) {
    *os << row.name;
}

class SimulatorIdentity : public SimulatorTest,
                          public ::testing::WithParamInterface<IdentityRow> {};

TEST_P(SimulatorIdentity, ConfigurationRequestReportsModelFirmwareAndBox) {
    const IdentityRow& row = GetParam();
    CRZ8Ctrl other;
    CRZ8Ctrl& link = row.com == 3 ? port : other;
    if (row.com != 3) {
        ASSERT_EQ(link.OpenPort(row.com, kBaud), 1);
    }
    const uint8_t request = 0xFF;
    ASSERT_EQ(link.APIPU_SendData(&request, 1), TRUE);
    const Bytes reply = readFor(link, 16, 2s);
    ASSERT_EQ(reply.size(), 16u);
    EXPECT_EQ(reply[0], 0xFF);
    EXPECT_EQ(reply[1], uint8_t(row.model));
    EXPECT_EQ(reply[2], row.fw);
    EXPECT_EQ(reply[3], row.box);
    RZ8Full r{};
    std::copy(reply.begin(), reply.end(), r.bytes());
    EXPECT_EQ(r.VRHz(), 60);
    EXPECT_EQ(r.iHLimit(), 280);
}

INSTANTIATE_TEST_SUITE_P(Sim, SimulatorIdentity,
                         ::testing::Values(IdentityRow{"Com3ModelC", 3, 'C', 17, 2},
                                           IdentityRow{"Com5ModelH", 5, 'H', 23, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimulatorTest, SetFullDataIsEchoedAndBecomesTheConfiguration) {
    RZ8Full wanted{};
    wanted.cmd = 0x00;
    wanted.model = 0x44;
    wanted.fw_ver = 0x50;
    wanted.box_id = 2;
    wanted.setVRHz(75);
    wanted.setDID_Ver(2);
    wanted.setColor_10bit(1);
    wanted.hRZ8Data.I_output_mode = 3;
    wanted.hRZ8Data.iVLimit = 30;
    wanted.setIHLimit(300);
    wanted.hRZ8Data.HSW = 44;
    const Bytes request(wanted.bytes(), wanted.bytes() + 16);

    const Bytes echo = exchange(request, 16);
    ASSERT_EQ(echo.size(), 16u);
    EXPECT_EQ(echo[0], 0x00);
    EXPECT_EQ(echo[1], 'C');
    EXPECT_EQ(Bytes(echo.begin() + 4, echo.end()), Bytes(request.begin() + 4, request.end()));

    const Bytes config = exchange({0xFF}, 16);
    ASSERT_EQ(config.size(), 16u);
    EXPECT_EQ(Bytes(config.begin() + 4, config.end()), Bytes(request.begin() + 4, request.end()));
    EXPECT_EQ(sim.state(3)->config.hRZ8Data.I_output_mode, 3);
}

TEST_F(SimulatorTest, SetBoxIdTakesByteThree) {
    const Bytes echo = exchange(frame(0x08, 7), 16);
    ASSERT_EQ(echo.size(), 16u);
    EXPECT_EQ(echo[0], 0x08);
    EXPECT_EQ(echo[3], 7);
    EXPECT_EQ(exchange({0xFF}, 16).at(3), 7);
}

struct PixelRow {
    const char* name;
    uint8_t setCode;
    uint8_t getCode;
    uint16_t pixels;
};
void PrintTo(const PixelRow& row, std::ostream* os) {
    *os << row.name;
}

class SimulatorPixels : public SimulatorTest, public ::testing::WithParamInterface<PixelRow> {};

TEST_P(SimulatorPixels, PixelCountSetIsReportedBackBigEndian) {
    const PixelRow& row = GetParam();
    ASSERT_EQ(exchange(frame(row.setCode, 2, row.pixels), 16).size(), 16u);
    const Bytes reply = exchange(frame(row.getCode), 16);
    ASSERT_EQ(reply.size(), 16u);
    EXPECT_EQ(reply[0], row.getCode);
    EXPECT_EQ(reply[6], row.pixels >> 8);
    EXPECT_EQ(reply[7], row.pixels & 0xFF);
}

INSTANTIATE_TEST_SUITE_P(Sim, SimulatorPixels,
                         ::testing::Values(PixelRow{"Horizontal", 0x0C, 0x0E, 3840},
                                           PixelRow{"Vertical", 0x0D, 0x0F, 0x0780}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimulatorTest, EdidRequestGivesEchoThenValidEdid) {
    const Bytes got = exchange(frame(0x27), 16 + 256);
    ASSERT_EQ(got.size(), 272u);
    EXPECT_EQ(got[0], 0x27);
    const Bytes edid(got.begin() + 16, got.end());
    EXPECT_EQ(Bytes(edid.begin(), edid.begin() + 8),
              (Bytes{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}));
    EXPECT_TRUE(blockSumsToZero(edid, 0));
    EXPECT_TRUE(blockSumsToZero(edid, 128));
    EXPECT_EQ(edid[126], 1) << "one extension block";
    EXPECT_EQ(edid[71], 0x1E);
    EXPECT_EQ(edid[93], 0xFC);
    EXPECT_EQ(std::string(edid.begin() + 95, edid.begin() + 102), "RZ8 SIM");
    EXPECT_EQ(edid[102], 0x0A);
}

TEST_F(SimulatorTest, PortRegisterRequestGivesEchoThenBlock) {
    const Bytes got = exchange(frame(0x2A, 2, 0x1600), 16 + 256);
    ASSERT_EQ(got.size(), 272u);
    EXPECT_EQ(got[0], 0x2A);
    const Bytes block(got.begin() + 16, got.end());
    EXPECT_TRUE(blockSumsToZero(block, 0));
    EXPECT_TRUE(blockSumsToZero(block, 128));
}

struct EdidFaultRow {
    const char* name;
    EdidFault fault;
    uint8_t headerByte7AfterRepair;
};
void PrintTo(const EdidFaultRow& row, std::ostream* os) {
    *os << row.name;
}

class SimulatorEdidFault : public SimulatorTest,
                           public ::testing::WithParamInterface<EdidFaultRow> {};

TEST_P(SimulatorEdidFault, BrokenHeaderAndRestoreRequest) {
    Faults faults;
    faults.edid = GetParam().fault;
    ASSERT_TRUE(sim.setFaults(3, faults));
    Bytes got = exchange(frame(0x27), 272);
    ASSERT_EQ(got.size(), 272u);
    EXPECT_EQ(got[16 + 7], 0x01);
    EXPECT_TRUE(blockSumsToZero(Bytes(got.begin() + 16, got.end()), 0)) << "only the header is bad";

    got = exchange(frame(0x27, 2, 0xAAAA), 272);
    ASSERT_EQ(got.size(), 272u);
    EXPECT_EQ(got[16 + 7], GetParam().headerByte7AfterRepair);
    EXPECT_EQ(sim.state(3)->edidRepairs, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimulatorEdidFault,
    ::testing::Values(EdidFaultRow{"RepairedOnRequest", EdidFault::BrokenUntilRepair, 0x00},
                      EdidFaultRow{"StaysBroken", EdidFault::AlwaysBroken, 0x01}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimulatorTest, SplitRepliesArriveAsFifteenThenOneByte) {
    Faults faults;
    faults.splitReplies = true;
    faults.splitDelay = 300ms;
    ASSERT_TRUE(sim.setFaults(3, faults));
    const uint8_t request = 0xFF;
    ASSERT_EQ(port.APIPU_SendData(&request, 1), TRUE);
    ASSERT_TRUE(port.WaitReadable(2s));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(port.BytesInQueue(), 15);
    const Bytes reply = readFor(port, 16, 2s);
    ASSERT_EQ(reply.size(), 16u);
    EXPECT_EQ(reply[0], 0xFF);
    EXPECT_EQ(reply[15], exchange({0xFF}, 16).at(15)) << "the late byte is the reply's last";
}

TEST_F(SimulatorTest, SilentControllerRecordsButAnswersNothing) {
    Faults faults;
    faults.silent = true;
    ASSERT_TRUE(sim.setFaults(3, faults));
    EXPECT_TRUE(exchange({0xFF}, 1, 300ms).empty());
    EXPECT_TRUE(exchange(frame(0x27), 1, 300ms).empty());
    EXPECT_EQ(sim.requests(3).size(), 2u);
}

TEST_F(SimulatorTest, ErrorFaultAnswersFramesWithFEButNotTheConfigurationRequest) {
    Faults faults;
    faults.answerFE = true;
    ASSERT_TRUE(sim.setFaults(3, faults));
    const Bytes reply = exchange(frame(0x0E), 16);
    ASSERT_EQ(reply.size(), 16u);
    EXPECT_EQ(reply[0], 0xFE);
    EXPECT_EQ(exchange({0xFF}, 16).at(0), 0xFF);
}

TEST_F(SimulatorTest, IgnoredCommandIsNeverAnsweredOthersAre) {
    Faults faults;
    faults.ignored = {0x0E};
    ASSERT_TRUE(sim.setFaults(3, faults));
    EXPECT_TRUE(exchange(frame(0x0E), 1, 300ms).empty());
    EXPECT_EQ(exchange(frame(0x0F), 16).at(0), 0x0F);
}

TEST_F(SimulatorTest, FrameArrivingInPiecesIsAnsweredOnce) {
    const Bytes request = frame(0x03);
    for (auto [from, to] : {std::pair{0, 5}, std::pair{5, 11}, std::pair{11, 16}}) {
        ASSERT_EQ(port.Write(request.data() + from, to - from), TRUE);
        std::this_thread::sleep_for(10ms);
    }
    const Bytes reply = readFor(port, 17, 500ms);
    ASSERT_EQ(reply.size(), 16u);
    EXPECT_EQ(reply[0], 0x03);
    const auto requests = sim.requests(3);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].bytes, request);
    EXPECT_TRUE(sim.state(3)->patternOn);
}

TEST_F(SimulatorTest, StaleFragmentIsDroppedBeforeTheNextFrame) {
    const Bytes noise = {0x27, 0x44, 0x50};
    ASSERT_EQ(port.Write(noise.data(), int(noise.size())), TRUE);
    std::this_thread::sleep_for(250ms);
    const Bytes reply = exchange(frame(0x0F), 16);
    ASSERT_EQ(reply.size(), 16u);
    EXPECT_EQ(reply[0], 0x0F);
}

TEST_F(SimulatorTest, RequestsAreRecordedInOrderWithTimes) {
    ASSERT_EQ(exchange({0xFF}, 16).size(), 16u);
    ASSERT_EQ(exchange(frame(0x0E), 16).size(), 16u);
    const auto requests = sim.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].bytes, Bytes{0xFF});
    EXPECT_EQ(requests[1].bytes, frame(0x0E));
    EXPECT_EQ(requests[1].com, 3);
    EXPECT_LE(requests[0].when, requests[1].when);
    EXPECT_TRUE(sim.requests(5).empty());
}

TEST_F(SimulatorTest, ClientCanCloseAndReopenRepeatedly) {
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(port.ClosePort(), TRUE);
        ASSERT_EQ(port.OpenPort(3, kBaud), 1) << "round " << round;
        EXPECT_EQ(exchange({0xFF}, 16).size(), 16u) << "round " << round;
    }
}

TEST_F(SimulatorTest, ControllerGoneWhilePortOpenFailsWithoutSpinning) {
    sim.stop();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.WaitReadable(200ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 190ms);
    uint8_t buf[16];
    EXPECT_EQ(port.ReadData(buf, 16), 0);
    const uint8_t request = 0xFF;
    EXPECT_EQ(port.APIPU_SendData(&request, 1), FALSE);
}

TEST_F(SimulatorTest, StopRemovesTheLinks) {
    const std::string link = sim.linkPath(3);
    ASSERT_FALSE(link.empty());
    EXPECT_EQ(::access(link.c_str(), F_OK), 0);
    port.ClosePort();
    sim.stop();
    EXPECT_NE(::access(link.c_str(), F_OK), 0);
    CRZ8Ctrl late;
    EXPECT_EQ(late.OpenPort(3, kBaud), 0);
}

} // namespace
