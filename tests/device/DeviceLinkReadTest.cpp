// Waiting for replies: timing in virtual time, replies in pieces, wrong codes, the data
// block after 0x27..0x2F with its EDID checks and restore request, pixel counts.
#include "DeviceLinkFixture.h"
#include "EdidBlock.h"
#include "TraceCapture.h"

#include <algorithm>
#include <numeric>

namespace kztr::test {
namespace {

using Command = FakeSerialLine;

class DeviceLinkReadTest : public DeviceLinkFixture {};

TEST_F(DeviceLinkReadTest, ImmediateReplyReturnsOneWithoutSleeping) {
    const Bytes reply = replyFrame(0xFF, 'C', 1);
    port.onWrite(Command::command(0xFF), at(0ms, reply));
    RZ8Full out{};
    EXPECT_EQ(link->APIPR_GetRZ8FullData(out), 1);
    EXPECT_EQ(Bytes(out.bytes(), out.bytes() + 16), reply);
    EXPECT_EQ(clock.sleepCount(), 0);
    EXPECT_EQ(clock.elapsed(), 0ms);
    ASSERT_EQ(port.writes().size(), 1u);
    EXPECT_EQ(port.writes()[0].bytes, Bytes{0xFF});
}

TEST_F(DeviceLinkReadTest, SilentPortGivesUpAfterTheLimitWithoutSpinning) {
    RZ8Full out{};
    EXPECT_EQ(link->APIPR_GetRZ8FullData(out), 0);
    EXPECT_GE(clock.elapsed(), 5000ms);
    EXPECT_LT(clock.elapsed(), 5002ms);
    // One wait on the port covers the whole limit; polling every millisecond would take
    // thousands of waits or sleeps.
    EXPECT_LE(port.waitCalls(), 2);
    EXPECT_EQ(clock.sleepCount(), 0);
}

TEST_F(DeviceLinkReadTest, ClosedLinkWaitsOutTheLimitAndFails) {
    link->m_hRZ8Dev[0].ClosePort();
    RZ8Full out{};
    EXPECT_EQ(link->APIPR_UARTReadDataAndCheck(out, 0xFF, 5), 0);
    EXPECT_GE(clock.elapsed(), 5000ms);
    EXPECT_LE(clock.sleepCount(), 2);
}

TEST_F(DeviceLinkReadTest, ResetEchoIsAcceptedOnlyAfterTheNineSecondPause) {
    port.onWrite(Command::command(RZ8_BOOTCDE_HW_RESET), at(10ms, replyFrame(0x01)));
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hCurRZ8Full, RZ8_BOOTCDE_HW_RESET, 2, 1000), 1);
    EXPECT_EQ(clock.elapsed(), 1000ms + 9000ms);
    EXPECT_EQ(clock.slept(), 1000ms + 9000ms);
}

TEST_F(DeviceLinkReadTest, WrongCodeFailsAtOnceWithoutAnExtraRequest) {
    port.onWrite(Command::command(0xFF), at(20ms, replyFrame(0x05)));
    RZ8Full out{};
    EXPECT_EQ(link->APIPR_GetRZ8FullData(out), 0);
    EXPECT_EQ(clock.elapsed(), 20ms);
    EXPECT_EQ(port.writes().size(), 1u);
}

TEST_F(DeviceLinkReadTest, RejectedReplyFailsAtOnceAndSendsTheConfigurationRequest) {
    port.onWrite(Command::command(RZ8_BOOTCDE_SET_FULLDATA), at(20ms, replyFrame(0xFE)));
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hCurRZ8Full, 0x00, 2, 1000), 0);
    EXPECT_EQ(clock.elapsed(), 1000ms);
    const auto writes = port.writes();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].bytes.size(), 16u);
    EXPECT_EQ(writes[1].bytes, Bytes{0xFF});
}

// A reply split into pieces that arrive 100 ms apart.
struct SplitCase {
    const char* name;
    uint8_t code;
    std::vector<int> pieces;
};

// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.name;
}

class SplitReplyTest : public DeviceLinkFixture, public ::testing::WithParamInterface<SplitCase> {};

TEST_P(SplitReplyTest, IsAssembledAcrossPolls) {
    const SplitCase& c = GetParam();
    const Bytes reply = replyFrame(c.code);
    std::vector<ScheduledBytes> pieces;
    size_t offset = 0;
    for (size_t i = 0; i < c.pieces.size(); ++i) {
        pieces.push_back({std::chrono::milliseconds(100 * i),
                          Bytes(reply.begin() + offset, reply.begin() + offset + c.pieces[i])});
        offset += c.pieces[i];
    }
    ASSERT_EQ(offset, 16u);
    port.onWrite(Command::command(c.code), pieces);
    const auto lastPiece = std::chrono::milliseconds(100 * (c.pieces.size() - 1));

    if (c.code == RZ8_BOOTCDE_GET_OLDDATA) {
        RZ8Full out{};
        EXPECT_EQ(link->APIPR_GetRZ8FullData(out), 1);
        EXPECT_EQ(Bytes(out.bytes(), out.bytes() + 16), reply);
        EXPECT_EQ(clock.elapsed(), lastPiece);
    } else {
        // A reset echo in pieces still pauses once, after the last piece.
        EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hCurRZ8Full, c.code, 2, 0), 1);
        EXPECT_EQ(clock.elapsed(), lastPiece + 9000ms);
        EXPECT_EQ(clock.slept(), 9000ms);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, SplitReplyTest,
    ::testing::Values(SplitCase{"FifteenThenOne", 0xFF, {15, 1}},
                      SplitCase{"OneThenFifteen", 0xFF, {1, 15}},
                      SplitCase{"FourQuarters", 0xFF, {4, 4, 4, 4}},
                      SplitCase{"ResetEchoInTwoPieces", RZ8_BOOTCDE_HW_RESET, {15, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceLinkReadTest, PartialReplyThatNeverCompletesFailsAtTheLimit) {
    const Bytes reply = replyFrame(0xFF);
    port.onWrite(Command::command(0xFF), at(0ms, Bytes(reply.begin(), reply.begin() + 15)));
    RZ8Full out{};
    EXPECT_EQ(link->APIPR_GetRZ8FullData(out), 0);
    EXPECT_GE(clock.elapsed(), 5000ms);
    EXPECT_LE(port.waitCalls(), 3);
    EXPECT_EQ(clock.sleepCount(), 0);
}

TEST_F(DeviceLinkReadTest, EdidBlockInPiecesIsReadOnceAfterTheWholeReply) {
    TraceCapture trace;
    const Bytes reply = replyFrame(RZ8_BOOTCDE_GET_EDID);
    port.onWrite(Command::command(RZ8_BOOTCDE_GET_EDID),
                 {{0ms, Bytes(reply.begin(), reply.begin() + 10)},
                  {50ms, concat(Bytes(reply.begin() + 10, reply.end()), makeEdidBlock(0x1A))}});
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, 2, 1000), 1);
    EXPECT_EQ(trace.count("EDID len=256"), 1);
    EXPECT_EQ(link->HV_Polarity, 0x1A);
    EXPECT_EQ(link->m_iEDIDReadCount, 1);
    EXPECT_EQ(clock.elapsed(), 1000ms + 500ms);
}

TEST_F(DeviceLinkReadTest, ValidEdidSetsPolarityWithoutRestore) {
    TraceCapture trace;
    port.onWrite(Command::command(RZ8_BOOTCDE_GET_EDID),
                 at(5ms, concat(replyFrame(0x27), makeEdidBlock(0x1E))));
    link->CurrentExchange().SetBoxMode(BOXMODE_T4T5_A);
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, 2, 1000), 1);
    EXPECT_EQ(link->HV_Polarity, 0x1E);
    EXPECT_EQ(port.writeCount(RZ8_BOOTCDE_GET_EDID), 1);
    EXPECT_EQ(trace.count("checksum error"), 0);
    EXPECT_EQ(trace.count("[D]APIPR_UARTReadDataAndCheck HV_Polarity=1e"), 1);
    EXPECT_EQ(trace.count("[D] 00 FF FF FF FF FF FF 00"), 1);
}

// Each expected line is a prefix of the traced line at the same place; nothing is missing,
// nothing extra, nothing out of order.
void ExpectTraceInOrder(const std::vector<std::string>& traced,
                        const std::vector<std::string>& expected) {
    ASSERT_EQ(traced.size(), expected.size()) << ::testing::PrintToString(traced);
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(traced[i].rfind(expected[i], 0), 0u)
            << "line " << i << ": " << traced[i] << "\n  expected to start with: " << expected[i];
}

TEST_F(DeviceLinkReadTest, EdidExchangeTracesEveryStepInOrder) {
    link->CurrentExchange().SetBoxMode(BOXMODE_T1T3);
    link->m_strUserRes[0] = QStringLiteral("0000 * 0000");
    link->BuildSliderResInfo();
    link->m_hTmpRZ8Full = RZ8Full{};
    link->m_hTmpRZ8Full.model = 'C';
    port.onWrite(Command::command(0x27),
                 at(5ms, concat(replyFrame(0x27, 'C', 2), makeEdidBlock(0x1C))));
    TraceCapture trace;
    ASSERT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, 2, 1000), 1);

    std::vector<std::string> expected = {
        "[D]APIPR_SetRZ8FullData CMD=27 mode=C",
        "[D][Send]APIPR_UARTSendData length=16 : 27 44 50 02    00 28 00 00    00 00 00 00    00 "
        "00 00 00     ",
        "[D][Send]APIPU_SendData clear uart data len=0",
        "[D][uart]APIPR_GetRZ8FullInfoForLogFile nType=0",
        "[D]APIPR_UARTReadDataAndCheck cmd=27 EDID len=256 Mode=" + std::to_string(BOXMODE_T1T3),
        "[D]APIPR_UARTReadDataAndCheck HV_Polarity=1c",
        "[D]checksum0=",
        "[D]checksum1=",
    };
    for (int line = 0; line < 16; ++line)
        expected.push_back(line == 0 ? "[D] 00 FF FF FF FF FF FF 00 " : "[D] ");
    expected.push_back("[D]APIPR_UARTReadDataAndCheck  len=16 cmd=27");
    expected.push_back("[D]APIPR_UARTReadDataAndCheck read uart data VR=60, DID_Ver=0, vp=0, "
                       "hp=0, color_10bit=0, audiobit=0 model=C(43)");
    expected.push_back("[D]APIPR_UARTReadDataAndCheck read uart data I_output_mode=7, iVLimit=45, "
                       "iHLimit=280(1801), HO=0, VO=0, HSW=0, VSW=0");
    ExpectTraceInOrder(trace.texts(), expected);
    // The stale-input line belongs to the device link's own source file.
    EXPECT_EQ(trace.lines()[2].file, "RZ8Ctrl.cpp");
}

TEST_F(DeviceLinkReadTest, ResetEchoTracesThePauseAfterIt) {
    port.onWrite(Command::command(RZ8_BOOTCDE_HW_RESET), at(0ms, replyFrame(0x01)));
    TraceCapture trace;
    ASSERT_EQ(link->APIPR_SetRZ8FullData(link->m_hCurRZ8Full, RZ8_BOOTCDE_HW_RESET, 2, 1000), 1);
    const std::vector<std::string> t = trace.texts();
    const auto pause = std::find(t.begin(), t.end(),
                                 "[D]APIPR_UARTReadDataAndCheck 5 CMD=1 (delay 9sec for zephT3)");
    ASSERT_NE(pause, t.end()) << ::testing::PrintToString(t);
    // Before the reply's own lines: the pause comes first, then the reply is looked at.
    const auto len = std::find(t.begin(), t.end(), "[D]APIPR_UARTReadDataAndCheck  len=16 cmd=1");
    EXPECT_LT(pause, len);
    EXPECT_EQ(std::count(t.begin(), t.end(), *pause), 1);
}

TEST_F(DeviceLinkReadTest, UnknownSyncFlagsKeepThePreviousPolarity) {
    link->HV_Polarity = 0x18;
    port.onWrite(Command::command(RZ8_BOOTCDE_GET_EDID),
                 at(5ms, concat(replyFrame(0x27), makeEdidBlock(0x10))));
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, 2, 1000), 1);
    EXPECT_EQ(link->HV_Polarity, 0x18);
}

TEST_F(DeviceLinkReadTest, PortRegisterBlockDoesNotTouchPolarity) {
    port.onWrite(Command::command(0x2D), at(5ms, concat(replyFrame(0x2D), makeEdidBlock(0x1A))));
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, 0x2D, 2, 1000), 1);
    EXPECT_EQ(link->HV_Polarity, 0);
    EXPECT_EQ(link->m_iEDIDReadCount, 1);
}

TEST_F(DeviceLinkReadTest, BlockLeavesTheByteSumsOfItsTwoHalvesInTheAccumulators) {
    Bytes block(RZ8_BLOCK_LEN);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = uint8_t(i * 7 + 3);
    const auto sumOf = [&](size_t from) {
        return uint8_t(std::accumulate(block.begin() + from, block.begin() + from + 128, 0u));
    };
    port.onWrite(Command::command(0x2D), at(5ms, concat(replyFrame(0x2D), block)));
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, 0x2D, 2, 1000), 1);
    EXPECT_EQ(link->CurrentExchange().Checksum0(), sumOf(0));
    EXPECT_EQ(link->CurrentExchange().Checksum1(), sumOf(128));
    EXPECT_EQ(link->CurrentExchange().ChecksumDID(), sumOf(128));
}

TEST_F(DeviceLinkReadTest, ShortBlockIsTracedButNotExamined) {
    TraceCapture trace;
    Bytes block(200);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = uint8_t(i);
    port.onWrite(Command::command(RZ8_BOOTCDE_GET_EDID_BUF),
                 at(5ms, concat(replyFrame(0x28), block)));
    link->m_hTmpRZ8Full.setParam(RZ8_PARAM_EDID_RESTORE);
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, 0x28, 2, 1000), 1);
    EXPECT_EQ(trace.count("[D]APIPR_UARTReadDataAndCheck cmd=28 EDID len=200 Mode="), 1);
    int dumpLines = 0;
    for (const std::string& t : trace.texts())
        if (t.rfind("[D] ", 0) == 0) ++dumpLines;
    EXPECT_EQ(dumpLines, 13);
    // The last line runs past the 200 bytes into the buffer as it is.
    EXPECT_EQ(trace.count("[D] C0 C1 C2 C3 C4 C5 C6 C7 00 00 00 00 00 00 00 00"), 1);
    EXPECT_EQ(trace.count("checksum0"), 0);
    EXPECT_EQ(link->m_iEDIDReadCount, 0);
}

TEST_F(DeviceLinkReadTest, ReplyFieldsAreTracedWithSignsAndByteOrder) {
    TraceCapture trace;
    Bytes reply = replyFrame(0xFF, 'H', 1);
    reply[8] = 0xFF; // I_output_mode -1
    reply[9] = 200;  // iVLimit as a signed byte
    reply[4] = 0x30; // color_10bit and audiobit
    port.onWrite(Command::command(0xFF), at(0ms, reply));
    RZ8Full out{};
    ASSERT_EQ(link->APIPR_GetRZ8FullData(out), 1);
    EXPECT_EQ(trace.count("[D]APIPR_UARTReadDataAndCheck  len=16 cmd=ff"), 1);
    EXPECT_EQ(trace.count("[D]APIPR_UARTReadDataAndCheck read uart data VR=60, DID_Ver=0, vp=0, "
                          "hp=0, color_10bit=1, audiobit=1 model=H(48)"),
              1);
    EXPECT_EQ(trace.count("[D]APIPR_UARTReadDataAndCheck read uart data I_output_mode=-1, "
                          "iVLimit=-56, iHLimit=280(1801), HO=0, VO=0, HSW=0, VSW=0"),
              1);
}

// EDID with a broken header: which box modes ask the controller to restore it.
struct RestoreCase {
    const char* name;
    uint8_t boxMode;
    bool restores;
};

// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const RestoreCase& c, std::ostream* os) {
    *os << c.name;
}

class EdidRestoreTest : public DeviceLinkFixture,
                        public ::testing::WithParamInterface<RestoreCase> {
protected:
    void ScriptBrokenThenGood() {
        Bytes broken = makeEdidBlock(0x1C);
        broken[7] = 0x01;
        fixEdidChecksums(broken);
        port.onWrite(Command::command(0x27), at(5ms, concat(replyFrame(0x27), broken)), 1);
        port.onWrite(Command::command(0x27), at(5ms, concat(replyFrame(0x27), makeEdidBlock())));
    }
};

TEST_P(EdidRestoreTest, BrokenHeader) {
    const RestoreCase& c = GetParam();
    ScriptBrokenThenGood();
    link->CurrentExchange().SetBoxMode(c.boxMode);
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, 2, 1000), 1);
    const auto writes = port.writes();
    ASSERT_EQ(writes.size(), c.restores ? 2u : 1u);
    EXPECT_EQ(writes[0].bytes[6], 0x00);
    EXPECT_EQ(writes[0].bytes[7], 0x00);
    if (c.restores) {
        EXPECT_EQ(writes[1].bytes[0], 0x27);
        EXPECT_EQ(writes[1].bytes[3], 0x02); // the current device's box ID
        EXPECT_EQ(writes[1].bytes[6], 0xAA);
        EXPECT_EQ(writes[1].bytes[7], 0xAA);
        EXPECT_EQ(link->m_iEDIDReadCount, 2);
    } else {
        EXPECT_EQ(link->m_iEDIDReadCount, 1);
    }
    EXPECT_EQ(link->m_hTmpRZ8Full.param(), 0);
}

TEST_P(EdidRestoreTest, RestoreRequestIsTraced) {
    const RestoreCase& c = GetParam();
    ScriptBrokenThenGood();
    link->CurrentExchange().SetBoxMode(c.boxMode);
    TraceCapture trace;
    ASSERT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, 2, 1000), 1);
    const std::string error = "[D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_EDID error " +
                              std::to_string(c.boxMode) + " readcount=1";
    EXPECT_EQ(trace.count(error), c.restores ? 1 : 0);
    EXPECT_EQ(trace.count("[D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_EDID buf"), c.restores ? 1 : 0);
    // The restore's own frame carries the marker.
    EXPECT_EQ(trace.count("[D][Send]APIPR_UARTSendData length=16 : 27 44 50 02    00 28 aa aa"),
              c.restores ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(BoxModes, EdidRestoreTest,
                         ::testing::Values(RestoreCase{"T5", BOXMODE_T5, true},
                                           RestoreCase{"T4T5_A", BOXMODE_T4T5_A, true},
                                           RestoreCase{"T4T5_B", BOXMODE_T4T5_B, true},
                                           RestoreCase{"Nivra", BOXMODE_NIVRA, true},
                                           RestoreCase{"T1T3", BOXMODE_T1T3, false},
                                           RestoreCase{"T2", BOXMODE_T2, false},
                                           RestoreCase{"T2Clone", BOXMODE_T2CLONE, false},
                                           RestoreCase{"Unknown", BOXMODE_UNKNOWN, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceLinkReadTest, RestoreStopsAtTheReadCountCap) {
    TraceCapture trace;
    Bytes broken = makeEdidBlock();
    broken[0] = 0x01;
    fixEdidChecksums(broken);
    port.onWrite(Command::command(0x27), at(5ms, concat(replyFrame(0x27), broken)));
    link->CurrentExchange().SetBoxMode(BOXMODE_T4T5_A);
    link->m_iEDIDReadCount = 1;
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, 2, 1000), 1);
    // Blocks 2, 3 and 4 ask again; the fifth block reaches the cap.
    EXPECT_EQ(port.writeCount(0x27), 4);
    EXPECT_EQ(trace.count("[D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_EDID readcount error"), 1);
    EXPECT_EQ(trace.count("[D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_EDID readcount error 5"), 1);
    EXPECT_EQ(link->m_iEDIDReadCount, 5);
    EXPECT_EQ(link->m_hTmpRZ8Full.param(), 0);
}

TEST_F(DeviceLinkReadTest, FailedRestoreFailsTheRead) {
    Bytes broken = makeEdidBlock();
    broken[1] = 0x00;
    fixEdidChecksums(broken);
    port.onWrite(Command::command(0x27), at(5ms, concat(replyFrame(0x27), broken)), 1);
    link->CurrentExchange().SetBoxMode(BOXMODE_T5);
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, 2, 1000), 0);
    EXPECT_EQ(port.writeCount(0x27), 2);
    // The marker stays when the restore was not answered.
    EXPECT_EQ(link->m_hTmpRZ8Full.param(), RZ8_PARAM_EDID_RESTORE);
}

TEST_F(DeviceLinkReadTest, BlockWaitKeepsTheMessagePumpRunning) {
    int pumped = 0;
    link->SetMessagePump([&] { ++pumped; });
    port.onWrite(Command::command(0x27), at(5ms, concat(replyFrame(0x27), makeEdidBlock())));
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, 2, 0), 1);
    EXPECT_GE(pumped, 10);
    EXPECT_EQ(clock.elapsed(), 5ms + 500ms);
}

// Pixel-count replies store the count carried in bytes 6 and 7.
struct PixelCase {
    const char* name;
    uint8_t code;
    uint8_t hi, lo;
    uint16_t expectH, expectV;
    const char* traceLine; // "" when none
};

// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const PixelCase& c, std::ostream* os) {
    *os << c.name;
}

class PixelReplyTest : public DeviceLinkFixture, public ::testing::WithParamInterface<PixelCase> {};

TEST_P(PixelReplyTest, StoresTheCount) {
    const PixelCase& c = GetParam();
    // What the controller answered before: 11 wide, 22 high.
    for (const auto& [code, count] : {std::pair<uint8_t, uint16_t>{0x0E, 11}, {0x0F, 22}}) {
        port.onWrite(Command::command(code), at(0ms, replyFrame(code, 'D', 2, count)), 1);
        ASSERT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, code, 2, 0), 1);
    }
    Bytes reply = replyFrame(c.code);
    reply[6] = c.hi;
    reply[7] = c.lo;
    port.onWrite(Command::command(c.code), at(0ms, reply));
    TraceCapture trace;
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, c.code, 2, 1000), 1);
    EXPECT_EQ(link->CurrentExchange().ReportedHPixel(), c.expectH);
    EXPECT_EQ(link->CurrentExchange().ReportedVPixel(), c.expectV);
    // The panel's own counts are the panel's to take.
    EXPECT_EQ(link->m_wHPIXEL, 0);
    if (*c.traceLine) {
        EXPECT_EQ(trace.count(c.traceLine), 1);
    }
    EXPECT_EQ(trace.count("PIXEL h="), *c.traceLine ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Counts, PixelReplyTest,
                         ::testing::Values(PixelCase{"Horizontal1920", 0x0E, 0x07, 0x80, 1920, 22,
                                                     "[D]RZ8_BOOTCDE_GET_HPIXEL h=1920 v=22"},
                                           PixelCase{"Vertical1080", 0x0F, 0x04, 0x38, 11, 1080,
                                                     "[D]RZ8_BOOTCDE_GET_VPIXEL h=11 v=1080"},
                                           PixelCase{"OtherCommandStoresNothing", 0x0C, 0x07, 0x80,
                                                     11, 22, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceLinkReadTest, PixelCountOfAMismatchedReplyIsIgnored) {
    Bytes reply = replyFrame(0x0F);
    reply[6] = 0x07;
    reply[7] = 0x80;
    port.onWrite(Command::command(0x0E), at(0ms, reply));
    EXPECT_EQ(link->APIPR_SetRZ8FullData(link->m_hTmpRZ8Full, 0x0E, 2, 1000), 0);
    EXPECT_EQ(link->CurrentExchange().ReportedHPixel(), 0);
    EXPECT_EQ(link->CurrentExchange().ReportedVPixel(), 0);
}

} // namespace
} // namespace kztr::test
