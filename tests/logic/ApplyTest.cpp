// Apply with keep-or-revert, the resets, the user-defined resolution and the diagnostic
// keys against simulated controllers. Apply and the resets run on their worker thread;
// the test answers the keep-or-revert box and serves the window's thread meanwhile.
#include "ApplyFixture.h"
#include "TraceCapture.h"

#include <QKeyEvent>

namespace kztr::test {
namespace {

using Frame = CGUIGDIPlusMfcFrameMain;

TEST_F(ApplyTest, NothingChangedWritesNothingReadsBackAndRevertSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    const RZ8Full before = m_frame->m_hCurRZ8Full;
    PressAndWait(kApply);
    // The state before, the read back after the (empty) write.
    EXPECT_EQ(Codes(3), (std::vector<int>{0xFF, 0xFF}));
    ASSERT_EQ(m_calls.size(), 1u);
    EXPECT_EQ(m_calls[0].message, " Do you want to keep the settings ?");
    EXPECT_EQ(m_calls[0].countdown, " Reverting to previous settings in %d seconds.");
    EXPECT_EQ(m_calls[0].seconds, 30);
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_TRUE(Frame::IsSameRZ8Setting(m_frame->m_hCurRZ8Full, before));
    EXPECT_EQ(m_frame->m_hCurRZ8Full, m_frame->m_hDevRZ8Full);
    ExpectIdle(kApply);
}

struct AnswerCase {
    const char* name;
    int answer;
    bool reverted;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

class ApplyAnswerTest : public ApplyTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(ApplyAnswerTest, AChangedRateIsWrittenAndKeptOrWrittenBack) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    m_answer = GetParam().answer;
    SetRate(75);
    PressAndWait(kApply);

    std::vector<int> expected{0xFF, RZ8_BOOTCDE_SET_FULLDATA, 0xFF};
    if (GetParam().reverted) expected.push_back(RZ8_BOOTCDE_SET_FULLDATA);
    EXPECT_EQ(Codes(3), expected);
    EXPECT_EQ(Frames(3)[0].VRHz(), 75);
    EXPECT_EQ(m_calls.size(), 1u);
    const int now = GetParam().reverted ? 60 : 75;
    EXPECT_EQ(SimRate(3), now);
    EXPECT_EQ(Rate(), QString::number(now));
    EXPECT_EQ(m_frame->m_hCurRZ8Full.VRHz(), now);
    EXPECT_EQ(m_frame->m_hDevRZ8Full.VRHz(), now);
    ExpectIdle(kApply);
}

INSTANTIATE_TEST_SUITE_P(Answers, ApplyAnswerTest,
                         ::testing::Values(AnswerCase{"Keep", 0, false},
                                           AnswerCase{"Revert", 1004, true},
                                           AnswerCase{"CountdownRanOut", 2, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplyTest, WithSyncEveryControllerIsWrittenAndWrittenBack) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1), Controller(5, 2)}, true));
    SetRate(50);
    PressAndWait(kApply);
    for (int com : {3, 5}) {
        const std::vector<RZ8Full> sent = Frames(com);
        ASSERT_EQ(sent.size(), 2u) << "COM" << com;
        EXPECT_EQ(sent[0].VRHz(), 50);
        EXPECT_EQ(sent[1].VRHz(), 60);
        EXPECT_EQ(SimRate(com), 60);
    }
    EXPECT_EQ(Rate(), "60");
    ExpectIdle(kApply);
}

TEST_F(ApplyTest, AfterKeepingWithSyncGoingBackToTheEarlierValueIsWritten) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1), Controller(5, 2)}, true));
    m_answer = kKeep;
    SetRate(61);
    PressAndWait(kApply);
    ASSERT_EQ(SimRate(3), 61);
    // Back to the rate the controllers had before: that is a change for them.
    SetRate(60);
    PressAndWait(kApply);
    for (int com : {3, 5}) {
        const std::vector<RZ8Full> sent = Frames(com);
        ASSERT_EQ(sent.size(), 2u) << "COM" << com;
        EXPECT_EQ(sent[1].VRHz(), 60);
        EXPECT_EQ(SimRate(com), 60);
    }
}

TEST_F(ApplyTest, ApplyIsRefusedWhileAPatternIsOnAndWorksAfterIt) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    ClickSwitch(Frame::kSwitchPattern);
    ASSERT_TRUE(g_bPatternOn);
    m_sim.clearRequests();
    // The button is disabled meanwhile; its notification is refused all the same.
    m_frame->PostFrameMessage(FrameMsg::kBtnApply, kApply, 0);
    Deliver();
    EXPECT_FALSE(m_frame->IsWorkerActive());
    EXPECT_TRUE(Codes(3).empty());
    EXPECT_TRUE(m_calls.empty());
    EXPECT_FALSE(m_frame->m_hGUICtrlBtn[kApply].GetBusy());

    ClickSwitch(Frame::kSwitchPattern);
    ASSERT_FALSE(g_bPatternOn);
    m_answer = kKeep;
    PressAndWait(kApply);
    EXPECT_EQ(m_calls.size(), 1u);
}

TEST_F(ApplyTest, WhenTheStateBeforeCannotBeReadNothingIsWritten) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    ASSERT_NO_FATAL_FAILURE(Refuse(3, {0xFF}));
    SetRate(75);
    PressAndWait(kApply);
    EXPECT_EQ(Codes(3), (std::vector<int>{0xFF, 0xFF}));
    EXPECT_EQ(m_boxes.Texts(), std::vector<QString>{"KZTRMaster apply fail.\nErrorCode = 0xA004"});
    EXPECT_TRUE(m_calls.empty());
    EXPECT_EQ(SimRate(3), 60);
    ExpectIdle(kApply);
}

TEST_F(ApplyTest, AFailedWriteEndsTheApplyWithoutAsking) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    ASSERT_NO_FATAL_FAILURE(Refuse(3));
    SetRate(75);
    PressAndWait(kApply);
    EXPECT_EQ(m_boxes.Texts(), std::vector<QString>{"KZTRMaster apply fail.\nErrorCode = 0xA001"});
    EXPECT_TRUE(m_calls.empty());
    ExpectIdle(kApply);
}

TEST_F(ApplyTest, HardwareResetIsRefusedWhileRgbwIsOn) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, true));
    ClickSwitch(Frame::kSwitchRGBW);
    m_sim.clearRequests();
    m_frame->PostFrameMessage(FrameMsg::kBtnHWReset, Frame::kBtnHWReset, 0);
    Deliver();
    EXPECT_FALSE(m_frame->IsWorkerActive());
    EXPECT_TRUE(Codes(3).empty());
    EXPECT_FALSE(m_frame->m_hGUICtrlBtn[Frame::kBtnHWReset].GetBusy());
}

TEST_F(ApplyTest, HardwareResetWithSyncGoesToEveryControllerAndShowsTheLast) {
    ASSERT_NO_FATAL_FAILURE(
        ConnectTo({Controller(3, 1), Controller(5, 2), Controller(7, 3)}, true));
    // The last controller runs at its own rate.
    RZ8Full other = m_frame->m_hCurRZ8Full;
    other.setVRHz(72);
    ASSERT_EQ(m_frame->ExchangeOf(2).APIPR_SetRZ8FullData(other, RZ8_BOOTCDE_SET_FULLDATA, 3, 0),
              1);
    m_sim.clearRequests();

    PressAndWait(Frame::kBtnHWReset);
    for (int com : {3, 5, 7})
        EXPECT_EQ(Frames(com).size(), 1u) << "COM" << com;
    EXPECT_EQ(Frames(7)[0].cmd, RZ8_BOOTCDE_HW_RESET);
    EXPECT_EQ(Codes(7), (std::vector<int>{RZ8_BOOTCDE_HW_RESET, 0xFF, 0xFF}));
    EXPECT_EQ(m_sim.state(5)->resets, 1);
    EXPECT_EQ(Rate(), "72");
    EXPECT_TRUE(m_boxes.boxes.empty());
    ExpectIdle(Frame::kBtnHWReset);
}

TEST_F(ApplyTest, SoftwareResetSendsNothingAndLeavesThePanelUsable) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, true));
    m_frame->PostFrameMessage(FrameMsg::kBtnSWReset, Frame::kBtnSWReset, 0);
    Deliver();
    ASSERT_TRUE(WaitUntil([this] { return !m_frame->IsWorkerActive(); }, 5000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(Codes(3).empty());
    ExpectIdle(Frame::kBtnSWReset);
    EXPECT_TRUE(m_frame->m_hGUICtrlBtn[kApply].IsEnabled());
}

TEST_F(ApplyTest, TheHotKeyStartsAHardwareResetButNotDuringAnApply) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    g_pMainFrame = m_frame.get();
    m_frame->OnHotKeyMsg(FrameMsg::kHotKeyId, Qt::Key_F12);
    Deliver();
    ASSERT_TRUE(WaitUntil([this] { return !m_frame->IsWorkerActive(); }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(Frames(3).size(), 1u);
    EXPECT_EQ(Frames(3)[0].cmd, RZ8_BOOTCDE_HW_RESET);

    // F12 typed on the panel is not the hot key.
    m_sim.clearRequests();
    m_frame->OnKeyDownMsg(Qt::Key_F12, 0);
    Deliver();
    EXPECT_FALSE(m_frame->IsWorkerActive());

    // While an Apply asks keep or revert, the hot key is refused.
    m_answer = kKeep;
    m_whileAsked = [this] {
        m_frame->OnHotKeyMsg(FrameMsg::kHotKeyId, Qt::Key_F12);
        QCoreApplication::sendPostedEvents(m_frame.get(), FrameMessageEvent::EventType());
    };
    PressAndWait(kApply);
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_frame->IsWorkerActive());
    for (const RZ8Full& f : Frames(3))
        EXPECT_NE(f.cmd, RZ8_BOOTCDE_HW_RESET);
    g_pMainFrame = nullptr;
}

// The user-defined resolution.
TEST_F(ApplyTest, SetWithSyncWritesEveryControllerWithAnIdAndRebuildsTheLists) {
    ASSERT_NO_FATAL_FAILURE(
        ConnectTo({Controller(3, 1), Controller(5, 2), Controller(7, 0xFF)}, true));
    m_frame->m_hGUICtrlEditBox[Frame::kEditHPixel].SetNumber(2000);
    m_frame->m_hGUICtrlEditBox[Frame::kEditVPixel].SetNumber(1000);
    ClickButton(Frame::kBtnSetUserRes);

    const std::vector<int> perController{RZ8_BOOTCDE_SET_VPIXEL,  0xFF, RZ8_BOOTCDE_GET_VPIXEL,
                                         RZ8_BOOTCDE_SET_HPIXEL,  0xFF, RZ8_BOOTCDE_GET_HPIXEL,
                                         RZ8_BOOTCDE_PIXEL_COMMIT};
    EXPECT_EQ(Codes(3), perController);
    EXPECT_EQ(Codes(5), perController);
    EXPECT_TRUE(Codes(7).empty()) << "a controller without an ID is left alone";
    EXPECT_EQ(m_sim.state(5)->hPixel, 2000);
    EXPECT_EQ(m_sim.state(5)->vPixel, 1000);
    EXPECT_EQ(m_sim.state(5)->pixelCommits, 1);
    EXPECT_EQ(m_frame->m_strUserRes[0], "2000 * 1000");
    EXPECT_EQ(m_frame->ResolutionText(0, kUserResPosition), "2000 * 1000");
    ExpectIdle(Frame::kBtnSetUserRes);
}

TEST_F(ApplyTest, SetOfOneControllerSendsWidthFirstWithoutReadBacks) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    m_frame->m_hGUICtrlEditBox[Frame::kEditHPixel].SetNumber(1600);
    m_frame->m_hGUICtrlEditBox[Frame::kEditVPixel].SetNumber(900);
    ClickButton(Frame::kBtnSetUserRes);
    EXPECT_EQ(Codes(3), (std::vector<int>{RZ8_BOOTCDE_SET_HPIXEL, RZ8_BOOTCDE_GET_HPIXEL,
                                          RZ8_BOOTCDE_SET_VPIXEL, RZ8_BOOTCDE_GET_VPIXEL,
                                          RZ8_BOOTCDE_PIXEL_COMMIT}));
    EXPECT_EQ(Frames(3)[0].param(), 1600);
    EXPECT_EQ(Frames(3)[2].param(), 900);
    EXPECT_EQ(m_frame->m_strUserRes[0], "1600 * 900");
    ExpectIdle(Frame::kBtnSetUserRes);
}

TEST_F(ApplyTest, ATypedSizeBeyondSixteenBitsIsHeldAtTheLargestAndShownSo) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    m_frame->m_hGUICtrlEditBox[Frame::kEditHPixel].SetNumber(70000);
    m_frame->m_hGUICtrlEditBox[Frame::kEditVPixel].SetNumber(1080);
    ClickButton(Frame::kBtnSetUserRes);
    ASSERT_FALSE(Frames(3).empty());
    EXPECT_EQ(Frames(3)[0].param(), 65535) << "not wrapped to 70000 - 65536";
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditHPixel].GetText(), "65535");
    EXPECT_EQ(m_frame->m_strUserRes[0], "65535 * 1080");
}

TEST_F(ApplyTest, AFailedSetStopsThatControllerAtOnceAndLeavesThePanelUsable) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1), Controller(5, 2)}, true));
    const QString before = m_frame->m_strUserRes[0];
    ASSERT_NO_FATAL_FAILURE(Refuse(3));
    m_frame->m_hGUICtrlEditBox[Frame::kEditHPixel].SetNumber(2000);
    ClickButton(Frame::kBtnSetUserRes);
    // The refused SET_VPIXEL, then the configuration request the refusal asks for.
    EXPECT_EQ(Codes(3), (std::vector<int>{RZ8_BOOTCDE_SET_VPIXEL, 0xFF}));
    // The other controller, written at the same time, goes through its whole sequence.
    EXPECT_EQ(Codes(5), (std::vector<int>{RZ8_BOOTCDE_SET_VPIXEL, 0xFF, RZ8_BOOTCDE_GET_VPIXEL,
                                          RZ8_BOOTCDE_SET_HPIXEL, 0xFF, RZ8_BOOTCDE_GET_HPIXEL,
                                          RZ8_BOOTCDE_PIXEL_COMMIT}));
    EXPECT_EQ(m_sim.state(5)->hPixel, 2000);
    EXPECT_EQ(m_frame->m_strUserRes[0], before);
    EXPECT_TRUE(m_boxes.boxes.empty());
    ExpectIdle(Frame::kBtnSetUserRes);
}

// The diagnostic keys.
TEST_F(ApplyTest, F6ReadsTheEdidBufferWithItsMarkerAndClearsItAfter) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    QKeyEvent f6(QEvent::KeyPress, Qt::Key_F6, Qt::NoModifier);
    QCoreApplication::sendEvent(m_frame.get(), &f6);
    const std::vector<RZ8Full> sent = Frames(3);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].cmd, RZ8_BOOTCDE_GET_EDID_BUF);
    EXPECT_EQ(sent[0].param(), 0xAAAA);
    EXPECT_EQ(m_frame->m_hTmpRZ8Full.param(), 0);
}

TEST_F(ApplyTest, F7ReadsThePortRegistersAndF8TheEdid) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1, 'H')}, false));
    QKeyEvent f7(QEvent::KeyPress, Qt::Key_F7, Qt::NoModifier);
    QCoreApplication::sendEvent(m_frame.get(), &f7);
    EXPECT_EQ(Codes(3), (std::vector<int>{0xFF, 0x2D, 0x2E}));
    m_sim.clearRequests();
    QKeyEvent f8(QEvent::KeyPress, Qt::Key_F8, Qt::NoModifier);
    QCoreApplication::sendEvent(m_frame.get(), &f8);
    EXPECT_EQ(Codes(3), std::vector<int>{RZ8_BOOTCDE_GET_EDID});
}

TEST_F(ApplyTest, DiagnosticKeysWaitForNoWorkerAndF5OnlyTraces) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    TraceCapture trace;
    g_bDevBusy = true;
    for (Qt::Key key : {Qt::Key_F6, Qt::Key_F7, Qt::Key_F8}) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(m_frame.get(), &e);
    }
    g_bDevBusy = false;
    EXPECT_TRUE(Codes(3).empty());
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QCoreApplication::sendEvent(m_frame.get(), &f5);
    EXPECT_TRUE(Codes(3).empty());
    EXPECT_EQ(trace.count("[D][HV][SET GUI OnkeyDown]m_hCurRZ8Full.hRZ8Data  1 1"), 1);
}

} // namespace
} // namespace kztr::test
