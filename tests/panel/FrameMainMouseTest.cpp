// The panel's mouse routing: which control a press reaches, the shade keeping the mouse
// away, the adjusters' press-and-hold repeat in virtual time, and the Exit button.
#include "PanelTestFrame.h"
#include "ProcessFlags.h"

#include <QCoreApplication>
#include <QTest>

namespace {

using std::chrono::milliseconds;

class PanelMouseTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        StartUp();
        // As after a connect: every control usable.
        m_frame->EnableAllCtrl(true);
        m_frame->m_vecMessages.clear();
    }
    void Deliver() { QCoreApplication::processEvents(); }
    void MousePress(QPoint p) { QTest::mousePress(m_frame.get(), Qt::LeftButton, {}, p); }
    void MouseRelease(QPoint p) { QTest::mouseRelease(m_frame.get(), Qt::LeftButton, {}, p); }

    // Adjuster 7 ("Vertical Rate" +) posts WM_USER + 208.
    static constexpr int kAdjuster = 7;
    QPoint AdjusterPoint() { return Centre(m_frame->m_hGUICtrlBtn[kAdjuster].m_rcCtrl); }
    std::uint32_t AdjusterMsg() { return m_frame->m_hGUICtrlBtn[kAdjuster].GetMsg(); }
};

TEST_F(PanelMouseTest, APressWhereSettingAndSoftwareResetOverlapReachesSetting) {
    const QPoint p = Centre(m_frame->m_hGUICtrlBtn[CGUIGDIPlusMfcFrameMain::kBtnSetting].m_rcCtrl);
    MousePress(p);
    MouseRelease(p);
    Deliver();
    EXPECT_TRUE(m_frame->Of(FrameMsg::kBtnSWReset).empty());
    ASSERT_EQ(m_frame->Of(FrameMsg::kBtnSetting).size(), 1u);
    EXPECT_EQ(m_frame->Of(FrameMsg::kBtnSetting)[0].wParam, 4u);
    // Even told to show itself enabled, the hidden button draws nothing over Setting.
    EXPECT_FALSE(m_frame->m_hGUICtrlBtn[CGUIGDIPlusMfcFrameMain::kBtnSWReset].IsVisible());
}

TEST_F(PanelMouseTest, NotificationsArriveWithTheIndexAndFreeTheControl) {
    Press(Centre(m_frame->m_hGUICtrlRdoBtnEDID[2].m_rcCtrl).x(),
          Centre(m_frame->m_hGUICtrlRdoBtnEDID[2].m_rcCtrl).y());
    EXPECT_TRUE(m_frame->m_hGUICtrlRdoBtnEDID[2].GetBusy());
    Deliver();
    ASSERT_EQ(m_frame->Of(FrameMsg::kRdoEdidVersion).size(), 1u);
    EXPECT_EQ(m_frame->Of(FrameMsg::kRdoEdidVersion)[0].wParam, 2u);
    EXPECT_FALSE(m_frame->m_hGUICtrlRdoBtnEDID[2].GetBusy());
}

TEST_F(PanelMouseTest, WhileShadedTheMouseReachesNothing) {
    m_frame->m_nShadeMode = 2;
    const QPoint apply = Centre(m_frame->m_hGUICtrlBtn[5].m_rcCtrl);
    MousePress(apply);
    MouseRelease(apply);
    Press(Centre(m_frame->m_hGUICtrlChkBox[0].m_rcCtrl).x(),
          Centre(m_frame->m_hGUICtrlChkBox[0].m_rcCtrl).y());
    Deliver();
    EXPECT_TRUE(m_frame->m_vecMessages.empty());
    EXPECT_EQ(m_frame->m_hGUICtrlChkBox[0].GetState(), CGUIGDIPlusMfcCtrlCheckable::kOn);
}

TEST_F(PanelMouseTest, HoldingAnAdjusterStepsAfter300MsUntilReleaseThenClicksOnce) {
    MousePress(AdjusterPoint());
    ASSERT_TRUE(m_frame->m_hBtnRepeat.IsActive());

    m_clock.advance(milliseconds(299));
    EXPECT_EQ(m_frame->m_hBtnRepeat.Poll(), 0);
    EXPECT_TRUE(m_frame->Of(AdjusterMsg()).empty()) << "no step within 300 ms";

    m_clock.advance(milliseconds(1));
    int steps = 0;
    for (int i = 0; i < 5; ++i) {
        steps += m_frame->m_hBtnRepeat.Poll();
        m_clock.advance(milliseconds(1));
    }
    EXPECT_EQ(steps, 5);
    ASSERT_EQ(m_frame->Of(AdjusterMsg()).size(), 5u) << "each step is handled at once";
    for (const auto& m : m_frame->Of(AdjusterMsg()))
        EXPECT_EQ(m.wParam, 0u);

    MouseRelease(AdjusterPoint());
    EXPECT_FALSE(m_frame->m_hBtnRepeat.IsActive());
    EXPECT_EQ(m_frame->m_hBtnRepeat.Poll(), 0);
    Deliver();
    const auto all = m_frame->Of(AdjusterMsg());
    ASSERT_EQ(all.size(), 6u) << "five steps and the final click";
    EXPECT_EQ(all.back().wParam, std::uintptr_t(kAdjuster));
    EXPECT_FALSE(m_frame->m_hGUICtrlBtn[kAdjuster].GetBusy());
}

TEST_F(PanelMouseTest, AShortClickGivesExactlyOneStep) {
    MousePress(AdjusterPoint());
    m_clock.advance(milliseconds(120));
    EXPECT_EQ(m_frame->m_hBtnRepeat.Poll(), 0);
    MouseRelease(AdjusterPoint());
    Deliver();
    ASSERT_EQ(m_frame->Of(AdjusterMsg()).size(), 1u);
    EXPECT_EQ(m_frame->Of(AdjusterMsg())[0].wParam, std::uintptr_t(kAdjuster));
}

TEST_F(PanelMouseTest, ReleaseAnywhereEndsTheRepeatEvenForAButtonDisabledMeanwhile) {
    MousePress(AdjusterPoint());
    m_clock.advance(milliseconds(400));
    EXPECT_EQ(m_frame->m_hBtnRepeat.Poll(), 1);
    m_frame->EnableAllCtrl(false);
    MouseRelease(QPoint(600, 900));
    EXPECT_FALSE(m_frame->m_hBtnRepeat.IsActive());
    m_clock.advance(milliseconds(400));
    EXPECT_EQ(m_frame->m_hBtnRepeat.Poll(), 0);
}

TEST_F(PanelMouseTest, PressesAlongTheTitleMoveTheWindowWhileExitStaysClickable) {
    const QPoint before = m_frame->pos();
    MousePress(QPoint(1175, 32)); // the strip's last point
    QTest::mouseMove(m_frame.get(), QPoint(1225, 62));
    MouseRelease(QPoint(1225, 62));
    Deliver();
    EXPECT_EQ(m_frame->pos(), before + QPoint(50, 30));
    EXPECT_TRUE(m_frame->m_vecMessages.empty());

    // Exit stands right of the strip.
    m_frame->move(before);
    const GUIRect& exit = m_frame->m_hGUICtrlBtn[CGUIGDIPlusMfcFrameMain::kBtnExit].m_rcCtrl;
    Press(exit.left, exit.top);
    EXPECT_EQ(m_frame->m_hGUICtrlBtn[CGUIGDIPlusMfcFrameMain::kBtnExit].GetState(),
              CGUIGDIPlusMfcCtrlBtn::kPressed);
}

TEST_F(PanelMouseTest, TheHandShowsOverUsableControlsOnlyAndNeverUnderAShade) {
    m_frame->GetMouseRouter().OnMouseMove(Centre(m_frame->m_hGUICtrlBtn[5].m_rcCtrl).x(),
                                          Centre(m_frame->m_hGUICtrlBtn[5].m_rcCtrl).y());
    EXPECT_EQ(m_frame->GetFrameCursor(), Qt::PointingHandCursor);
    m_frame->GetMouseRouter().OnMouseMove(200, 900);
    EXPECT_EQ(m_frame->GetFrameCursor(), Qt::ArrowCursor);
    m_frame->m_nShadeMode = 1;
    m_frame->GetMouseRouter().OnMouseMove(Centre(m_frame->m_hGUICtrlBtn[5].m_rcCtrl).x(),
                                          Centre(m_frame->m_hGUICtrlBtn[5].m_rcCtrl).y());
    EXPECT_EQ(m_frame->GetFrameCursor(), Qt::ArrowCursor);
}

TEST_F(PanelMouseTest, PushButtonsBelowTheAdjustersDoNotRepeat) {
    const QPoint apply = Centre(m_frame->m_hGUICtrlBtn[5].m_rcCtrl);
    MousePress(apply);
    EXPECT_FALSE(m_frame->m_hBtnRepeat.IsActive());
    MouseRelease(apply);
    Deliver();
    EXPECT_EQ(m_frame->Of(FrameMsg::kBtnApply).size(), 1u);
}

} // namespace
