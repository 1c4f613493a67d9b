// The device link through a real serial device server: Debian's ser2net in front of a
// simulated controller's pseudo-terminal, reached as rfc2217:// and as tcp://.
#include "EdidImage.h"
#include "RZ8DeviceLink.h"
#include "RZ8Frames.h"
#include "Ser2netServer.h"
#include "SimulatedPortsTest.h"
#include "TraceCapture.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;
using kztr::test::ScopedEnv;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr int kCom = 3;
constexpr uint8_t kBox = 2;
constexpr uint8_t kEdidFlags = 0x1A;

class Ser2netPortTest : public kztr::test::SimulatedPortsTest,
                        public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        if (kztr::test::Ser2netServer::executable().isEmpty())
            GTEST_SKIP() << "ser2net is not installed (apt-get install ser2net)";
        kztr::sim::ControllerConfig c = kztr::test::SimController(kCom, kBox, 'C', 17);
        c.edidFlags = kEdidFlags;
        ASSERT_NO_FATAL_FAILURE(StartSimulator({c}));
        const QString device =
            QFileInfo(QString::fromStdString(sim.linkPath(kCom))).canonicalFilePath();
        ASSERT_FALSE(device.isEmpty());

        QString error;
        ASSERT_TRUE(m_server.start(dir.path(), device, error)) << error.toStdString();
    }

    // Opens device link 0 on COM3 as the current controller.
    void OpenLink(CRZ8DeviceLink& link) {
        link.m_strLogDir = dir.path() + "/LogoFiles/";
        ASSERT_EQ(link.m_hRZ8Dev[0].OpenPort(kCom, 460800), 1)
            << "errno " << link.m_hRZ8Dev[0].LastError()
            << "; ser2net: " << m_server.output().toStdString();
        link.m_hRZ8Dev[0].SetBoxId(kBox);
        link.CurrentExchange().SetBoxMode(BoxModeFromModelLetter('C'));
    }

    kztr::test::Ser2netServer m_server;
};

TEST_P(Ser2netPortTest, DeviceLinkReadsConfigurationAndEdidIntact) {
    // What the controller says over its own line, to hold the network reading against.
    RZ8Full direct{};
    {
        CRZ8DeviceLink link;
        ASSERT_NO_FATAL_FAILURE(OpenLink(link));
        ASSERT_EQ(link.APIPR_GetRZ8FullData(direct), 1);
    }
    ASSERT_EQ(direct.box_id, kBox);

    ScopedEnv portDir("RZ8_PORT_DIR", std::nullopt);
    ScopedEnv map("RZ8_PORT_MAP", std::to_string(kCom) + "=" + m_server.target(GetParam()));
    CRZ8DeviceLink link;
    ASSERT_NO_FATAL_FAILURE(OpenLink(link));
    RZ8Full got{};
    ASSERT_EQ(link.APIPR_GetRZ8FullData(got), 1);
    EXPECT_TRUE(got == direct);
    EXPECT_EQ(got.model, 'C');

    link.m_hTmpRZ8Full = RZ8Full{};
    ASSERT_EQ(link.APIPR_SetRZ8FullData(link.m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, kBox, 0), 1);
    const auto expected = kztr::sim::makeEdid(kEdidFlags, "RZ8 SIM", kBox, false);
    const Bytes edid = link.m_hRZ8Dev[0].GetEdid();
    ASSERT_EQ(std::count(expected.begin(), expected.end(), 0xFF) >= 6, true)
        << "the block is to carry 0xFF bytes";
    EXPECT_EQ(edid, Bytes(expected.begin(), expected.end()));
    EXPECT_EQ(link.HV_Polarity, kEdidFlags);
}

INSTANTIATE_TEST_SUITE_P(Kinds, Ser2netPortTest, ::testing::Values("rfc2217", "tcp"),
                         [](const auto& info) { return std::string(info.param); });

class Ser2netAnswersTest : public Ser2netPortTest {};

// A real device server's answers: it confirms the baud rate asked for (anything else
// fails the open), and a send after stale input, which purges the server's buffer
// first, still gets its reply.
TEST_P(Ser2netAnswersTest, ServerConfirmsTheRateAndTakesThePurgeAfterStaleInput) {
    ScopedEnv portDir("RZ8_PORT_DIR", std::nullopt);
    ScopedEnv map("RZ8_PORT_MAP", std::to_string(kCom) + "=" + m_server.target(GetParam()));
    kztr::test::TraceCapture trace;
    CRZ8DeviceLink link;
    ASSERT_NO_FATAL_FAILURE(OpenLink(link));
    for (int i = 0; i < 3; ++i) {
        // A request whose reply nobody reads: stale input for the next send.
        const uint8_t request = RZ8_BOOTCDE_GET_OLDDATA;
        ASSERT_EQ(link.m_hRZ8Dev[0].APIPU_SendData(&request, 1), TRUE);
        ASSERT_TRUE(link.m_hRZ8Dev[0].WaitReadable(2s));
        std::this_thread::sleep_for(100ms);
        RZ8Full got{};
        ASSERT_EQ(link.APIPR_GetRZ8FullData(got), 1) << "exchange " << i;
        EXPECT_EQ(got.box_id, kBox);
    }
    EXPECT_EQ(trace.count("clear uart data len=0"), 3) << "the first sends found nothing stale";
    EXPECT_EQ(trace.count("clear uart data len=16"), 3) << "the later ones a whole reply";
    EXPECT_EQ(trace.count("network port"), 0) << ::testing::PrintToString(trace.texts());
}

INSTANTIATE_TEST_SUITE_P(Kinds, Ser2netAnswersTest, ::testing::Values("rfc2217"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
