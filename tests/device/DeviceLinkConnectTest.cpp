// Finding the controllers in virtual time: the search over COM1 to COM15, the order by
// box ID, the second pass and its misnumber count, and the port-register reads.
#include "DeviceLinkFixture.h"
#include "TraceCapture.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace kztr::test {
namespace {

class DeviceLinkConnectTest : public ::testing::Test {
protected:
    void SetUp() override {
        link = std::make_unique<CRZ8DeviceLink>(clock);
        link->m_strLogDir = m_logDir.path() + QStringLiteral("/LogoFiles/");
    }
    // A controller on COM com that answers the configuration request times times.
    void Controller(int com, uint8_t box, char model = 'C', int times = -1) {
        bus.line(com).onWrite(FakeSerialLine::command(0xFF), at(5ms, replyFrame(0xFF, model, box)),
                              times);
    }
    std::vector<std::pair<int, int>> Found() const { return link->m_vecBoxPort; }

    VirtualClock clock;
    FakeSerialBus bus{clock};
    std::unique_ptr<CRZ8DeviceLink> link;
    QTemporaryDir m_logDir;
};

TEST_F(DeviceLinkConnectTest, SearchFindsEveryAnsweringPortOrdersByBoxIdAndClosesTheProbes) {
    Controller(3, 2);
    Controller(5, 1);
    bus.line(7); // opens, but nobody answers
    TraceCapture trace;
    link->APIPR_UARTScanPorts();

    EXPECT_EQ(Found(), (std::vector<std::pair<int, int>>{{1, 5}, {2, 3}}));
    for (int com : {3, 5, 7})
        EXPECT_FALSE(bus.line(com).isOpen()) << "COM" << com;
    std::vector<std::string> searched;
    for (const std::string& line : trace.texts())
        if (line.rfind("[D]APIPR_UARTOpen search com port=", 0) == 0) searched.push_back(line);
    ASSERT_EQ(searched.size(), 15u);
    for (int n = 1; n <= 15; ++n)
        EXPECT_EQ(searched[size_t(n - 1)],
                  "[D]APIPR_UARTOpen search com port=" + std::to_string(n));
    // The silent port costs its full reply wait; ports that do not exist cost nothing.
    EXPECT_GE(clock.elapsed(), 5000ms);
    EXPECT_LT(clock.elapsed(), 5100ms);
}

TEST_F(DeviceLinkConnectTest, SecondPassKeepsOneOpenLinkPerControllerInBoxIdOrder) {
    Controller(3, 2, 'H');
    Controller(5, 1, 'C');
    link->APIPR_UARTScanPorts();
    EXPECT_EQ(link->APIPR_UARTOpenFoundPorts(), 0);

    ASSERT_EQ(link->m_byDevCount, 2);
    EXPECT_EQ(link->m_byCurDev, 0);
    EXPECT_EQ(link->m_pCurRZ8Dev, &link->m_hRZ8Dev[0]);
    EXPECT_EQ(link->m_hRZ8Dev[0].GetComNumber(), 5);
    EXPECT_EQ(link->m_hRZ8Dev[0].GetBoxId(), 1);
    EXPECT_EQ(link->m_hRZ8Dev[1].GetComNumber(), 3);
    EXPECT_EQ(link->m_hRZ8Dev[1].GetBoxId(), 2);
    EXPECT_EQ(link->m_hRZ8Dev[0].GetFwVer(), 0x13);
    EXPECT_TRUE(bus.line(3).isOpen());
    EXPECT_TRUE(bus.line(5).isOpen());
}

// What is behind a COM number in a scan case.
enum class Behind { Controller, Silent, OpenFails, WrongCode, HalfReply };

struct ScanCase {
    const char* name;
    std::vector<std::tuple<int, Behind, uint8_t>> ports; // (COM, what, box ID)
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.name;
}

class ScanOrderTest : public DeviceLinkConnectTest, public ::testing::WithParamInterface<ScanCase> {
protected:
    struct Outcome {
        std::vector<TraceLine> traces;
        std::vector<std::pair<int, int>> found;
        std::vector<CRZ8DeviceLink::ComProbe> probes;
        Bytes lastRecord;
    };
    void SetUpPorts() {
        for (const auto& [com, behind, box] : GetParam().ports) {
            FakeSerialLine& line = bus.line(com);
            switch (behind) {
            case Behind::Controller:
                Controller(com, box, char('A' + com));
                break;
            case Behind::Silent:
                break;
            case Behind::OpenFails:
                line.setOpenFails(true);
                break;
            case Behind::WrongCode:
                line.onWrite(FakeSerialLine::command(0xFF), at(5ms, replyFrame(0x05, 'C', box)));
                break;
            case Behind::HalfReply:
                line.onWrite(FakeSerialLine::command(0xFF), at(5ms, Bytes(7, 0x11)));
                break;
            }
        }
    }
    Outcome Scan(CRZ8DeviceLink::ScanOrder order) {
        CRZ8DeviceLink scanner(clock);
        scanner.m_strLogDir = link->m_strLogDir;
        Outcome o;
        TraceCapture trace;
        o.probes = scanner.ScanComs(1, 15, order);
        scanner.APIPR_UARTScanPorts(order);
        o.traces = trace.lines();
        o.found = scanner.m_vecBoxPort;
        o.lastRecord.assign(scanner.m_hTmpRZ8Full.bytes(),
                            scanner.m_hTmpRZ8Full.bytes() + sizeof(RZ8Full));
        EXPECT_EQ(scanner.m_pCurRZ8Dev, &scanner.m_hRZ8Dev[0]);
        return o;
    }
};

TEST_P(ScanOrderTest, AllAtOnceFindsTracesAndLeavesWhatOneByOneDoes) {
    SetUpPorts();
    const Outcome oneByOne = Scan(CRZ8DeviceLink::ScanOrder::OneByOne);
    const Outcome allAtOnce = Scan(CRZ8DeviceLink::ScanOrder::AllAtOnce);

    EXPECT_EQ(allAtOnce.traces, oneByOne.traces);
    EXPECT_EQ(allAtOnce.found, oneByOne.found);
    EXPECT_EQ(allAtOnce.lastRecord, oneByOne.lastRecord);
    ASSERT_EQ(allAtOnce.probes.size(), 15u);
    for (size_t i = 0; i < 15; ++i) {
        const auto& a = allAtOnce.probes[i];
        const auto& b = oneByOne.probes[i];
        EXPECT_EQ(a.com, int(i) + 1);
        EXPECT_EQ(a.com, b.com);
        EXPECT_EQ(a.result, b.result) << "COM" << a.com;
        EXPECT_EQ(a.openError, b.openError) << "COM" << a.com;
        EXPECT_EQ(std::memcmp(&a.reply, &b.reply, sizeof a.reply), 0) << "COM" << a.com;
    }
    // Each scan ran twice (ScanComs, then the search); only the controllers answered.
    size_t answered = 0;
    for (const auto& [com, behind, box] : GetParam().ports) {
        EXPECT_FALSE(bus.line(com).isOpen()) << "COM" << com;
        if (behind == Behind::Controller) ++answered;
    }
    EXPECT_EQ(oneByOne.found.size(), answered);
    // The search traces every COM number once per scan, in order.
    std::vector<std::string> searched;
    for (const TraceLine& l : allAtOnce.traces)
        if (l.text.rfind("[D]APIPR_UARTOpen search com port=", 0) == 0) searched.push_back(l.text);
    ASSERT_EQ(searched.size(), 30u);
    EXPECT_EQ(searched[14], "[D]APIPR_UARTOpen search com port=15");
}

INSTANTIATE_TEST_SUITE_P(Ports, ScanOrderTest,
                         ::testing::Values(ScanCase{"Nothing", {}},
                                           ScanCase{"TwoControllersThreeSilent",
                                                    {{2, Behind::Silent, 0},
                                                     {3, Behind::Controller, 2},
                                                     {5, Behind::Controller, 1},
                                                     {7, Behind::Silent, 0},
                                                     {11, Behind::Silent, 0}}},
                                           ScanCase{"EveryPortAController",
                                                    {{1, Behind::Controller, 9},
                                                     {2, Behind::Controller, 3},
                                                     {3, Behind::Controller, 3},
                                                     {4, Behind::Controller, 0xFF},
                                                     {5, Behind::Controller, 1},
                                                     {6, Behind::Controller, 14},
                                                     {7, Behind::Controller, 2},
                                                     {8, Behind::Controller, 12},
                                                     {9, Behind::Controller, 4},
                                                     {10, Behind::Controller, 5},
                                                     {11, Behind::Controller, 6},
                                                     {12, Behind::Controller, 7},
                                                     {13, Behind::Controller, 8},
                                                     {14, Behind::Controller, 10},
                                                     {15, Behind::Controller, 11}}},
                                           ScanCase{"MisbehavingPorts",
                                                    {{1, Behind::OpenFails, 0},
                                                     {4, Behind::WrongCode, 7},
                                                     {6, Behind::Controller, 4},
                                                     {8, Behind::HalfReply, 0},
                                                     {15, Behind::Controller, 3}}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct MisnumberCase {
    const char* name;
    std::vector<std::pair<int, uint8_t>> controllers; // (COM, box ID)
    int misnumbered;
    int connected;
};

void PrintTo(const MisnumberCase& c, std::ostream* os) {
    *os << c.name;
}

class MisnumberTest : public DeviceLinkConnectTest,
                      public ::testing::WithParamInterface<MisnumberCase> {};

TEST_P(MisnumberTest, CountsBoxIdsThatAreNotOneTwoThree) {
    for (const auto& [com, box] : GetParam().controllers)
        Controller(com, box);
    link->APIPR_UARTScanPorts();
    EXPECT_EQ(link->APIPR_UARTOpenFoundPorts(), GetParam().misnumbered);
    EXPECT_EQ(link->m_byDevCount, GetParam().connected);
}

INSTANTIATE_TEST_SUITE_P(Boxes, MisnumberTest,
                         ::testing::Values(MisnumberCase{"InOrder", {{3, 2}, {5, 1}}, 0, 2},
                                           MisnumberCase{"OnlyBoxTwo", {{4, 2}}, 1, 1},
                                           MisnumberCase{"TwiceBoxOne", {{2, 1}, {9, 1}}, 1, 2},
                                           MisnumberCase{"NoIdAtAll", {{1, 1}, {2, 0xFF}}, 1, 2},
                                           MisnumberCase{
                                               "GapInTheMiddle", {{1, 1}, {2, 3}, {3, 4}}, 2, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceLinkConnectTest, AControllerSilentInTheSecondPassEndsItAndLeavesNoPortOpen) {
    Controller(2, 1);
    Controller(4, 2, 'C', 1); // answers the search only
    Controller(6, 3);
    link->APIPR_UARTScanPorts();
    ASSERT_EQ(Found().size(), 3u);
    link->APIPR_UARTOpenFoundPorts();

    EXPECT_EQ(link->m_byDevCount, 1);
    EXPECT_TRUE(bus.line(2).isOpen());
    EXPECT_FALSE(bus.line(4).isOpen());
    // The pass ended: the controller after the silent one was not opened again.
    EXPECT_FALSE(bus.line(6).isOpen());
    EXPECT_EQ(bus.line(6).writes().size(), 1u);
}

TEST_F(DeviceLinkConnectTest, APortThatNoLongerOpensIsSkippedOnTheSameLink) {
    Controller(2, 1);
    Controller(4, 2);
    link->APIPR_UARTScanPorts();
    bus.line(2).setOpenFails(true);
    link->APIPR_UARTOpenFoundPorts();
    ASSERT_EQ(link->m_byDevCount, 1);
    EXPECT_EQ(link->m_hRZ8Dev[0].GetComNumber(), 4);
}

// A port that takes its time to open (a network port's connect) keeps the window's
// message pump running: the open waits here, for real, until the pump has run.
TEST_F(DeviceLinkConnectTest, TheSecondPassOpensWhileTheMessagePumpRuns) {
    Controller(2, 1);
    Controller(4, 2);
    link->APIPR_UARTScanPorts();
    std::atomic<int> pumped{0};
    std::atomic<int> openedWithoutPump{0};
    for (int com : {2, 4})
        bus.line(com).setDuringOpen([&] {
            const int start = pumped;
            const auto limit = std::chrono::steady_clock::now() + 2s;
            while (pumped < start + 3 && std::chrono::steady_clock::now() < limit)
                std::this_thread::sleep_for(1ms);
            if (pumped < start + 3) ++openedWithoutPump;
        });
    link->SetMessagePump([&] { ++pumped; });
    link->APIPR_UARTOpenFoundPorts();

    EXPECT_EQ(openedWithoutPump, 0);
    ASSERT_EQ(link->m_byDevCount, 2);
    EXPECT_EQ(link->m_hRZ8Dev[0].GetComNumber(), 2);
    EXPECT_EQ(link->m_hRZ8Dev[1].GetComNumber(), 4);
}

struct PortRegCase {
    const char* name;
    char model;
    std::vector<uint8_t> codes;
};

void PrintTo(const PortRegCase& c, std::ostream* os) {
    *os << c.name;
}

class PortRegTest : public DeviceLinkFixture, public ::testing::WithParamInterface<PortRegCase> {};

TEST_P(PortRegTest, ReadsTheModelsRegistersAtTheirAddress) {
    const PortRegCase& c = GetParam();
    port.onWrite(FakeSerialLine::command(0xFF), at(5ms, replyFrame(0xFF, c.model)));
    Bytes block(256, 0x5A);
    for (uint8_t code = 0x29; code <= 0x2E; ++code)
        port.onWrite(FakeSerialLine::command(code), at(5ms, concat(replyFrame(code), block)));

    EXPECT_EQ(link->APIPR_UARTGetPortReg(), 1);
    std::vector<uint8_t> sent;
    for (const auto& w : port.writes()) {
        if (w.bytes.size() != 16) continue;
        sent.push_back(w.bytes[0]);
        EXPECT_EQ(w.bytes[6], 0x16) << "address high byte";
        EXPECT_EQ(w.bytes[7], 0x00);
        EXPECT_EQ(w.bytes[3], 2) << "to the current box";
    }
    EXPECT_EQ(sent, c.codes);
    EXPECT_EQ(link->m_hTmpRZ8Full.param(), 0);
    EXPECT_EQ(link->m_hOldRZ8Full.model, uint8_t(c.model));
}

INSTANTIATE_TEST_SUITE_P(Models, PortRegTest,
                         ::testing::Values(PortRegCase{"C", 'C', {0x29, 0x2A, 0x2B}},
                                           PortRegCase{"H", 'H', {0x2D, 0x2E}},
                                           PortRegCase{"LowerD", 'd', {0x2C}},
                                           PortRegCase{"K", 'K', {0x2A, 0x2B}},
                                           PortRegCase{"Nivra", 'i', {0x2C}},
                                           PortRegCase{"Unlisted", 'h', {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceLinkFixture, AnUnansweredPortRegisterReadStopsAndKeepsTheAddress) {
    port.onWrite(FakeSerialLine::command(0xFF), at(5ms, replyFrame(0xFF, 'C')));
    port.onWrite(FakeSerialLine::command(0x29), at(5ms, concat(replyFrame(0x29), Bytes(256, 0))));
    // 0x2A stays unanswered.
    EXPECT_EQ(link->APIPR_UARTGetPortReg(), 0);
    EXPECT_EQ(port.writeCount(0x2B), 0);
    EXPECT_EQ(link->m_hTmpRZ8Full.param(), RZ8_PARAM_PORTREG_ADDR);
}

TEST_F(DeviceLinkFixture, NoConfigurationReplyMeansNoPortRegisterRead) {
    EXPECT_EQ(link->APIPR_UARTGetPortReg(), 0);
    for (uint8_t code = 0x29; code <= 0x2E; ++code)
        EXPECT_EQ(port.writeCount(code), 0);
}

} // namespace
} // namespace kztr::test
