// Sending a command frame: header stamping, the rate rule, the daily log line, the
// pause and the echo.
#include "DeviceLinkFixture.h"
#include "TraceCapture.h"

namespace kztr::test {
namespace {

using Command = FakeSerialLine;

class DeviceLinkWriteTest : public DeviceLinkFixture {};

TEST_F(DeviceLinkWriteTest, EdidRequestFromZeroRecordLeavesAsExpected) {
    link->m_hTmpRZ8Full = RZ8Full{};
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, 2, 1000), 0);
    ASSERT_EQ(port.writes().size(), 1u);
    EXPECT_EQ(port.writes()[0].bytes, (Bytes{0x27, 0x44, 0x50, 0x02, 0x00, 0x28, 0x00, 0x00, 0x00,
                                             0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
    // The record keeps the stamped header and the 60 Hz that replaced "not set".
    EXPECT_EQ(link->m_hTmpRZ8Full.VRHz(), 60);
    EXPECT_EQ(link->m_hTmpRZ8Full.model, 0x44);
}

TEST_F(DeviceLinkWriteTest, HeaderTraceShowsTheLetterBeforeItIsOverwritten) {
    TraceCapture trace;
    link->m_hTmpRZ8Full.model = 'H';
    port.onWrite(Command::command(0x0E), at(0ms, replyFrame(0x0E)));
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, 0x0E, 2, 1000), 1);
    EXPECT_EQ(trace.count("[D]APIPR_SetRZ8FullData CMD=e mode=H"), 1);
    const uint8_t* b = link->m_hTmpRZ8Full.bytes();
    EXPECT_EQ(Bytes(b, b + 4), (Bytes{0x0E, 0x44, 0x50, 0x02}));
}

TEST_F(DeviceLinkWriteTest, SetRateIsLeftAloneAndOtherBitsSurvive) {
    link->m_hCurRZ8Full.setVRHz(75);
    link->m_hCurRZ8Full.setHp(1);
    link->m_hCurRZ8Full.setParam(0x1234);
    link->APIPR_SetRZ8FullData(link->m_hCurRZ8Full, 0x00, 2, 0);
    ASSERT_EQ(port.writes().size(), 1u);
    const Bytes f = port.writes()[0].bytes;
    EXPECT_EQ(f[4], 0x08);
    EXPECT_EQ(f[5], 75 - 20);
    EXPECT_EQ(f[6], 0x12);
    EXPECT_EQ(f[7], 0x34);
    EXPECT_EQ(f[10], 0x01); // horizontal blank 280, high byte first
    EXPECT_EQ(f[11], 0x18);
}

TEST_F(DeviceLinkWriteTest, BoxIdCommandCarriesTheNewId) {
    port.onWrite(Command::command(RZ8_BOOTCDE_SET_BOXID), at(0ms, replyFrame(0x08, 'D', 7)));
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hCurRZ8Full, RZ8_BOOTCDE_SET_BOXID, 7, 1000), 1);
    EXPECT_EQ(port.writes()[0].bytes[3], 7);
}

TEST_F(DeviceLinkWriteTest, PatternCommandWithoutPauseReturnsAtOnce) {
    port.onWrite(Command::command(RZ8_BOOTCDE_PATTERN_ON), at(0ms, replyFrame(0x03)));
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hCurRZ8Full, RZ8_BOOTCDE_PATTERN_ON, 2, 0), 1);
    EXPECT_EQ(clock.elapsed(), 0ms);
    EXPECT_EQ(clock.sleepCount(), 0);
}

// Whether a send leaves a line in the daily log.
struct LogCase {
    const char* name;
    bool linkOpen;
    bool writeFails;
    std::vector<ScheduledBytes> answer;
    int expectResult;
    int expectLines;
    std::chrono::milliseconds expectElapsed;
};

// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const LogCase& c, std::ostream* os) {
    *os << c.name;
}

class SendLogTest : public DeviceLinkFixture, public ::testing::WithParamInterface<LogCase> {};

TEST_P(SendLogTest, LogLineOnlyForFramesThatLeft) {
    const LogCase& c = GetParam();
    if (!c.linkOpen) link->m_hRZ8Dev[0].ClosePort();
    port.setWriteFails(c.writeFails);
    port.onWrite(Command::command(0x00), c.answer);
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hCurRZ8Full, 0x00, 2, 1000), c.expectResult);
    EXPECT_EQ(logLines().size(), size_t(c.expectLines));
    EXPECT_EQ(clock.elapsed(), c.expectElapsed);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SendLogTest,
    ::testing::Values(LogCase{"ClosedPort", false, false, {}, 0, 0, 0ms},
                      LogCase{"WriteFails", true, true, {}, 0, 0, 0ms},
                      LogCase{"Unanswered", true, false, {}, 0, 1, 6000ms},
                      LogCase{"Rejected", true, false, at(3ms, replyFrame(0xFE)), 0, 1, 1000ms},
                      LogCase{"Echoed", true, false, at(3ms, replyFrame(0x00)), 1, 1, 1000ms}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceLinkWriteTest, ClosedLinkFailsWithoutPauseOrLogLine) {
    link->m_hRZ8Dev[0].ClosePort();
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hCurRZ8Full, 0x00, 2, 1000), 0);
    EXPECT_EQ(clock.elapsed(), 0ms);
    EXPECT_TRUE(logLines().isEmpty());
}

TEST_F(DeviceLinkWriteTest, LogLineNamesTheResolutionOfTheControllersOwnList) {
    // A single-width controller: its list is 3, whatever letter the record holds.
    link->CurrentExchange().SetBoxMode(BOXMODE_T2CLONE);
    link->m_strUserRes = {"0000 * 0000", "", "", ""};
    link->BuildSliderResInfo();
    link->m_hCurRZ8Full.hRZ8Data.I_output_mode = 7;
    link->m_hCurRZ8Full.setAudiobit(1);
    link->m_wHBlank = 300;
    port.onWrite(Command::command(0x00), at(0ms, replyFrame(0x00)));
    TraceCapture trace;
    ASSERT_EQ(link->APIPR_SetRZ8FullData(link->m_hCurRZ8Full, 0x00, 1, 1000), 1);
    EXPECT_EQ(trace.count("[D][uart]APIPR_GetRZ8FullInfoForLogFile nType=3"), 1);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0], QStringLiteral("[23:15:00]: v3.11 (ID = 01) - ; VR = 60Hz; HLimited = 300; "
                                       "VLimited = 45;  Audio = ON ; Cmd=0 DP=7 [UP PORT]1920 x "
                                       "1080; "));
}

} // namespace
} // namespace kztr::test
