// Notifications through the frame's mouse routing: posted (queued, not delivered during
// the mouse handler), with the control's message and its index in the group, and held
// back by the busy latch until the handler clears it.
#include "ControlTestUtil.h"
#include "GUIGDIPlusMfcCtrlBtn.h"
#include "GUIGDIPlusMfcCtrlChkBox.h"
#include "GUIGDIPlusMfcCtrlEditBox.h"
#include "GUIGDIPlusMfcCtrlRdoBtn.h"
#include "GUIGDIPlusMfcCtrlSlider.h"
#include "GUIGDIPlusMfcCtrlSwitch.h"
#include "GuiTestApp.h"

#include <gtest/gtest.h>

#include <array>

using ControlTest::Posted;
using ControlTest::RecordingFrame;

namespace {

constexpr std::uint32_t kChkMsg = 1025, kSwitchMsg = 1125, kBtnMsg = 1225, kRdoMsg = 1327,
                        kSliderMsg = 1425;

// Control i of a group sits at (10 + 40 i, 10, 30 + 40 i, 30) on its own row.
GUIRect Cell(int row, int i) {
    return GUIRect{10 + 40 * i, 10 + 40 * row, 30 + 40 * i, 30 + 40 * row};
}
QPoint Centre(int row, int i) {
    return {20 + 40 * i, 20 + 40 * row};
}

class GuiCtlNotify : public ::testing::Test, protected ControlTest::WithGuiApp {
protected:
    void SetUp() override {
        EnsureGuiApp();
        for (int i = 0; i < 3; ++i) {
            m_switch[i].m_rcCtrl = Cell(0, i);
            m_switch[i].m_uMsg = kSwitchMsg;
            m_btn[i].m_rcCtrl = Cell(1, i);
            m_btn[i].m_uMsg = kBtnMsg + static_cast<std::uint32_t>(i);
            m_rdo[i].m_rcCtrl = Cell(2, i);
            m_rdo[i].m_uMsg = kRdoMsg;
        }
        m_chk.m_rcCtrl = Cell(3, 0);
        m_chk.m_uMsg = kChkMsg;
        m_rdo[0].m_iState = 1;

        m_slider.m_rcThumb = GUIRect{200, 200, 210, 210};
        m_slider.m_rcBar = GUIRect{202, 200, 208, 300};
        m_slider.m_iStart = 205;
        m_slider.m_iEnd = 295;
        m_slider.m_iCount = 4; // ticks 200, 230, 260, 290
        m_slider.m_iOrient = CGUIGDIPlusMfcCtrlSlider::kVertical;
        m_slider.m_bVisible = true;
        m_slider.m_uMsg = kSliderMsg;
        m_slider.LoadImage(); // no skin files: only the ticks matter here

        MouseRouter& r = m_frame.GetMouseRouter();
        r.AddGroup(MouseRouter::Role::Toggle, {&m_chk});
        r.AddGroup(MouseRouter::Role::Toggle, {&m_switch[0], &m_switch[1], &m_switch[2]});
        r.AddGroup(MouseRouter::Role::Button, {&m_btn[0], &m_btn[1], &m_btn[2]});
        r.AddGroup(MouseRouter::Role::Toggle, {&m_rdo[0], &m_rdo[1], &m_rdo[2]});
        r.AddGroup(MouseRouter::Role::Slider, {&m_slider});
    }
    void Click(QPoint p) {
        m_frame.GetMouseRouter().OnLButtonDown(p.x(), p.y());
        m_frame.GetMouseRouter().OnLButtonUp(p.x(), p.y());
    }

    RecordingFrame m_frame;
    CGUIGDIPlusMfcCtrlChkBox m_chk;
    std::array<CGUIGDIPlusMfcCtrlSwitch, 3> m_switch;
    std::array<CGUIGDIPlusMfcCtrlBtn, 3> m_btn;
    std::array<CGUIGDIPlusMfcCtrlRdoBtn, 3> m_rdo;
    CGUIGDIPlusMfcCtrlSlider m_slider;
};

TEST_F(GuiCtlNotify, PressOnToggleKindsPostsMessageAndIndex) {
    struct Row {
        const char* name;
        QPoint at;
        IGUIGDIPlusMfcCtrl* ctrl;
        Posted expected;
    };
    const Row rows[] = {
        {"switch 2", Centre(0, 2), &m_switch[2], {kSwitchMsg, 2, 0}},
        {"check box", Centre(3, 0), &m_chk, {kChkMsg, 0, 0}},
        {"radio 1", Centre(2, 1), &m_rdo[1], {kRdoMsg, 1, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_frame.received.clear();
        m_frame.GetMouseRouter().OnLButtonDown(row.at.x(), row.at.y());
        EXPECT_TRUE(m_frame.received.empty()) << "must be queued, not called";
        EXPECT_TRUE(row.ctrl->GetBusy());
        m_frame.DeliverPosted();
        ASSERT_EQ(m_frame.received.size(), 1u);
        EXPECT_EQ(m_frame.received[0], row.expected);
        row.ctrl->SetBusy(false);
    }
    EXPECT_TRUE(m_switch[2].GetCheck());
    EXPECT_TRUE(m_chk.GetCheck());
    EXPECT_TRUE(m_rdo[1].GetCheck());
}

TEST_F(GuiCtlNotify, TwoQuickPressesOnASwitchPostOnce) {
    const QPoint p = Centre(0, 1);
    m_frame.GetMouseRouter().OnLButtonDown(p.x(), p.y());
    m_frame.GetMouseRouter().OnLButtonDown(p.x(), p.y());
    EXPECT_FALSE(m_switch[1].GetCheck()) << "toggled twice, back where it was";
    m_frame.DeliverPosted();
    ASSERT_EQ(m_frame.received.size(), 1u);
    EXPECT_EQ(m_frame.received[0], (Posted{kSwitchMsg, 1, 0}));

    // Once the handler clears the latch the next press notifies again.
    m_switch[1].SetBusy(false);
    m_frame.GetMouseRouter().OnLButtonDown(p.x(), p.y());
    m_frame.DeliverPosted();
    EXPECT_EQ(m_frame.received.size(), 2u);
}

TEST_F(GuiCtlNotify, PressOnSelectedRadioPostsNothing) {
    const QPoint p = Centre(2, 0);
    m_frame.GetMouseRouter().OnLButtonDown(p.x(), p.y());
    m_frame.DeliverPosted();
    EXPECT_TRUE(m_frame.received.empty());
    EXPECT_FALSE(m_rdo[0].GetBusy());
}

TEST_F(GuiCtlNotify, ButtonPostsOnReleaseEvenOutside) {
    const QPoint p = Centre(1, 1);
    m_frame.GetMouseRouter().OnLButtonDown(p.x(), p.y());
    EXPECT_EQ(m_btn[1].m_iState, CGUIGDIPlusMfcCtrlBtn::kPressed);
    m_frame.DeliverPosted();
    EXPECT_TRUE(m_frame.received.empty()) << "the press posts nothing";

    m_frame.GetMouseRouter().OnLButtonUp(600, 600);
    EXPECT_EQ(m_btn[1].m_iState, CGUIGDIPlusMfcCtrlBtn::kNormal);
    EXPECT_TRUE(m_btn[1].GetBusy());
    EXPECT_TRUE(m_frame.received.empty());
    m_frame.DeliverPosted();
    ASSERT_EQ(m_frame.received.size(), 1u);
    EXPECT_EQ(m_frame.received[0], (Posted{kBtnMsg + 1, 1, 0}));
}

TEST_F(GuiCtlNotify, DisabledOrHiddenButtonStaysSilent) {
    m_btn[0].SetEnable(false);
    m_btn[2].SetVisible(false);
    Click(Centre(1, 0));
    Click(Centre(1, 2));
    m_frame.DeliverPosted();
    EXPECT_TRUE(m_frame.received.empty());
    EXPECT_EQ(m_btn[0].m_iState, CGUIGDIPlusMfcCtrlBtn::kDisabled);
    EXPECT_EQ(m_btn[2].m_iState, CGUIGDIPlusMfcCtrlBtn::kNormal);
}

TEST_F(GuiCtlNotify, BusyButtonChangesLookButPostsNothing) {
    m_btn[0].SetBusy(true);
    Click(Centre(1, 0));
    m_frame.DeliverPosted();
    EXPECT_TRUE(m_frame.received.empty());
    EXPECT_EQ(m_btn[0].m_iState, CGUIGDIPlusMfcCtrlBtn::kNormal);
}

TEST_F(GuiCtlNotify, SliderPostsOnPressWhileDraggingAndOnRelease) {
    MouseRouter& r = m_frame.GetMouseRouter();
    auto handle = [&] {
        m_frame.DeliverPosted();
        m_slider.SetBusy(false); // what the handler does after reading GetPos()
    };
    r.OnLButtonDown(205, 205);
    EXPECT_TRUE(m_slider.GetBusy());
    handle();
    r.OnMouseMove(205, 262); // latch clear: posted
    EXPECT_EQ(m_slider.GetPos(), 2);
    r.OnMouseMove(205, 300); // latch set: only the thumb moves
    EXPECT_EQ(m_slider.GetPos(), 3);
    handle();
    r.OnLButtonUp(900, 900);
    EXPECT_FALSE(m_slider.IsDragging());
    handle();
    const Posted p{kSliderMsg, 0, 0};
    EXPECT_EQ(m_frame.received, (std::vector<Posted>{p, p, p}));
    EXPECT_EQ(m_slider.GetPos(), 3);
}

TEST_F(GuiCtlNotify, EditBoxesTakeAndDropFocusWithoutNotifying) {
    CGUIGDIPlusMfcCtrlEditBox boxes[2];
    for (int i = 0; i < 2; ++i) {
        boxes[i].m_rcCtrl = Cell(5, i);
        boxes[i].m_bVisible = true;
    }
    const int edits =
        m_frame.GetMouseRouter().AddGroup(MouseRouter::Role::Edit, {&boxes[0], &boxes[1]});
    (void)edits;
    const QPoint p = Centre(5, 1);
    m_frame.GetMouseRouter().OnLButtonDown(p.x(), p.y());
    EXPECT_FALSE(boxes[0].IsFocused());
    EXPECT_TRUE(boxes[1].IsFocused());
    m_frame.GetMouseRouter().OnLButtonDown(600, 600);
    EXPECT_FALSE(boxes[1].IsFocused());
    m_frame.DeliverPosted();
    EXPECT_TRUE(m_frame.received.empty());
}

} // namespace
