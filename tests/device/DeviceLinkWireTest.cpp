// The device link through real pseudo-terminals against simulated controllers: what
// leaves on the wire, what the daily log keeps, and the faults a real line shows.
#include "DiagnosticLog.h"
#include "RZ8DeviceLink.h"
#include "RZ8Frames.h"
#include "SimulatedPortsTest.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using kztr::sim::ControllerConfig;
using kztr::sim::EdidFault;
using kztr::sim::Faults;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr int kCom = 3;
constexpr uint8_t kBox = 2;

class DeviceLinkWireTest : public kztr::test::SimulatedPortsTest {
protected:
    // Starts one controller on COM3 (box 2) and opens device link 0 on it.
    void Start(char model, const Faults& faults = {}) {
        ControllerConfig c = kztr::test::SimController(kCom, kBox, model, 17);
        c.edidFlags = 0x1A;
        c.faults = faults;
        ASSERT_NO_FATAL_FAILURE(StartSimulator({c}));
        link.m_strLogDir = dir.path() + "/LogoFiles/";
        ASSERT_EQ(link.m_hRZ8Dev[0].OpenPort(kCom, 460800), 1);
        link.m_hRZ8Dev[0].SetBoxId(kBox);
        link.CurrentExchange().SetBoxMode(BoxModeFromModelLetter(model));
    }

    int LogLineCount() const {
        const QStringList files = QDir(link.m_strLogDir).entryList({"*.txt"}, QDir::Files);
        int lines = 0;
        for (const QString& name : files) {
            QFile f(QDir(link.m_strLogDir).filePath(name));
            if (f.open(QIODevice::ReadOnly)) lines += f.readAll().count("\r\n");
        }
        return lines;
    }

    std::vector<Bytes> Requests() const {
        std::vector<Bytes> out;
        for (const auto& r : sim.requests(kCom))
            out.push_back(r.bytes);
        return out;
    }

    CRZ8DeviceLink link;
};

TEST_F(DeviceLinkWireTest, EdidRequestLeavesAsDocumentedAndBringsTheBlock) {
    Start('C');
    link.m_hTmpRZ8Full = RZ8Full{};
    ASSERT_EQ(link.APIPR_SetRZ8FullData(link.m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, kBox, 0), 1);
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], (Bytes{0x27, 0x44, 0x50, 0x02, 0x00, 0x28, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  0x00, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(link.CurrentExchange().GetLastBlockLength(), 256);
    EXPECT_EQ(link.HV_Polarity, 0x1A);
    EXPECT_EQ(link.m_iEDIDReadCount, 1);
    EXPECT_EQ(LogLineCount(), 1);
}

TEST_F(DeviceLinkWireTest, FailedSendLeavesNoLogLine) {
    Start('C');
    link.m_hRZ8Dev[0].ClosePort();
    EXPECT_EQ(link.APIPR_SetRZ8FullData(link.m_hCurRZ8Full, RZ8_BOOTCDE_SET_FULLDATA, kBox, 0), 0);
    EXPECT_EQ(LogLineCount(), 0);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(DeviceLinkWireTest, UnansweredCommandLeavesItsLogLine) {
    Faults f;
    f.ignored = {RZ8_BOOTCDE_SET_FULLDATA};
    Start('C', f);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.APIPR_SetRZ8FullData(link.m_hCurRZ8Full, RZ8_BOOTCDE_SET_FULLDATA, kBox, 0), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(LogLineCount(), 1);
    EXPECT_EQ(Requests().size(), 1u);
}

TEST_F(DeviceLinkWireTest, ReplyInTwoPiecesIsRecognised) {
    Faults f;
    f.splitReplies = true;
    f.splitDelay = 50ms;
    Start('C', f);
    RZ8Full out{};
    EXPECT_EQ(link.APIPR_GetRZ8FullData(out), 1);
    EXPECT_EQ(out.box_id, kBox);
    EXPECT_EQ(out.model, 'C');
}

TEST_F(DeviceLinkWireTest, RejectedCommandIsFollowedByAConfigurationRequest) {
    Faults f;
    f.answerFE = true;
    Start('C', f);
    EXPECT_EQ(link.APIPR_SetRZ8FullData(link.m_hCurRZ8Full, RZ8_BOOTCDE_PATTERN_ON, kBox, 0), 0);
    ASSERT_TRUE(sim.waitForRequests(2, 2s, kCom));
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1], Bytes{0xFF});
    EXPECT_EQ(LogLineCount(), 1);
}

TEST_F(DeviceLinkWireTest, BrokenEdidIsRestoredOnFourWideModels) {
    Faults f;
    f.edid = EdidFault::BrokenUntilRepair;
    Start('D', f);
    ASSERT_EQ(link.APIPR_SetRZ8FullData(link.m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, kBox, 0), 1);
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1][0], RZ8_BOOTCDE_GET_EDID);
    EXPECT_EQ(requests[1][6], 0xAA);
    EXPECT_EQ(requests[1][7], 0xAA);
    EXPECT_EQ(link.m_hTmpRZ8Full.param(), 0);
    EXPECT_EQ(link.CurrentExchange().Block()[7], 0x00); // the restored block is the one kept
    EXPECT_EQ(sim.state(kCom)->edidRepairs, 1);
}

} // namespace
