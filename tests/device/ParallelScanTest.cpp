// The search over real pseudo-terminals: two simulated controllers and three ports that
// open but never answer. All at once, the silent ports cost one reply wait together,
// and the search still finds, traces and leaves what probing one after another does.
#include "CtlSession.h"
#include "PtyPair.h"
#include "RZ8DeviceLink.h"
#include "RZ8Frames.h"
#include "SimulatedPortsTest.h"
#include "TraceCapture.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>

using namespace std::chrono_literals;
using kztr::test::TraceCapture;
using kztr::test::TraceLine;
using Clock = std::chrono::steady_clock;
using ScanOrder = CRZ8DeviceLink::ScanOrder;

namespace {

constexpr std::array<int, 3> kSilentComs = {7, 8, 12};

class ParallelScanTest : public kztr::test::SimulatedPortsTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSimulator(
            {kztr::test::SimController(3, 2, 'C', 17), kztr::test::SimController(5, 1, 'D', 19)}));
        for (size_t i = 0; i < kSilentComs.size(); ++i) {
            ASSERT_TRUE(silent[i].ok()) << silent[i].error();
            ASSERT_TRUE(silent[i].linkAs(
                (PortDir() + QStringLiteral("/COM%1").arg(kSilentComs[i])).toStdString()));
        }
    }
    static std::chrono::milliseconds Since(Clock::time_point start) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    }

    std::array<kztr::test::PtyPair, kSilentComs.size()> silent;
};

TEST_F(ParallelScanTest, SilentPortsCostOneReplyWaitAndTheSearchIsTheOneByOneSearch) {
    CRZ8DeviceLink link;
    TraceCapture trace;
    const auto start = Clock::now();
    link.APIPR_UARTScanPorts();
    const auto took = Since(start);
    const std::vector<TraceLine> allAtOnce = trace.lines();
    const std::vector<std::pair<int, int>> found = link.m_vecBoxPort;

    EXPECT_EQ(found, (std::vector<std::pair<int, int>>{{1, 5}, {2, 3}}));
    EXPECT_GE(took, 5000ms);
    EXPECT_LT(took, 6000ms);

    trace.clear();
    const auto startOneByOne = Clock::now();
    link.APIPR_UARTScanPorts(ScanOrder::OneByOne);
    // Three silent ports, one after another.
    EXPECT_GE(Since(startOneByOne), 15000ms);
    EXPECT_EQ(link.m_vecBoxPort, found);
    EXPECT_EQ(allAtOnce, trace.lines());
    EXPECT_GT(allAtOnce.size(), 15u); // more than the search lines: the probes' own
}

TEST_F(ParallelScanTest, KztrctlScanNamesTheSilentPortsInComOrderWithinOneReplyWait) {
    QTemporaryDir logDir;
    CtlSession session(logDir.path() + QStringLiteral("/LogoFiles/"));
    QStringList notes;
    const auto start = Clock::now();
    const std::vector<FoundController> found = session.Scan(1, 15, &notes);
    EXPECT_LT(Since(start), 6000ms);

    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(CtlSession::ControllerLine(found[0]),
              "COM5  box ID 1  model D  ZEPH - T4/T5  firmware 19");
    EXPECT_EQ(CtlSession::ControllerLine(found[1]),
              "COM3  box ID 2  model C  ZEPH - T1/T3  firmware 17");
    EXPECT_EQ(notes, (QStringList{"COM7: the port opened but no controller answered",
                                  "COM8: the port opened but no controller answered",
                                  "COM12: the port opened but no controller answered"}));
    // Every port was closed again: the silent ones can be opened by someone else now.
    for (int com : kSilentComs) {
        CRZ8Ctrl port;
        EXPECT_EQ(port.OpenPort(com, RZ8_BAUD), 1) << "COM" << com;
    }
}

} // namespace
