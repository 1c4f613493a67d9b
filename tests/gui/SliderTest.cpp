// Slider ticks, snapping, dragging and hover, without drawing.
#include "GUIGDIPlusMfcCtrlSlider.h"
#include "GuiTestApp.h"
#include "SkinFixtures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class GuiCtlSlider : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGuiApp();
        ASSERT_TRUE(m_dir.isValid());
        m_thumb = SkinFixtures::WriteStrip(m_dir.path(), "Thumb.tksx", 4, 23, 23);
        m_bar = SkinFixtures::WriteStrip(m_dir.path(), "Bar.tksx", 4, 15, 552);
    }
    // The main frame's resolution slider.
    void BuildMain(CGUIGDIPlusMfcCtrlSlider& s) {
        CGUIGDIPlusMfcCtrlSlider desc;
        desc.m_strImagePath = m_thumb;
        desc.m_strImagePath2 = m_bar;
        desc.m_rcThumb = GUIRect{274, 316, 297, 339};
        desc.m_rcBar = GUIRect{278, 323, 293, 875};
        desc.m_iStart = 323;
        desc.m_iEnd = 875;
        desc.m_iCount = 10;
        desc.m_iSpare = 10;
        desc.m_bVisible = true;
        desc.m_uMsg = 1425;
        desc.m_iOrient = CGUIGDIPlusMfcCtrlSlider::kVertical;
        desc.m_iSnap = 1;
        desc.m_iCurPos = 4; // never copied
        s.CopyFrom(desc);
        ASSERT_TRUE(s.LoadImage());
    }
    // A horizontal slider with even steps: ticks 0, 20, 40, 60, 80 (thumb 10 wide).
    void BuildEven(CGUIGDIPlusMfcCtrlSlider& s) {
        s.m_strImagePath = m_thumb;
        s.m_strImagePath2 = m_bar;
        s.m_rcThumb = GUIRect{100, 0, 110, 12};
        s.m_rcBar = GUIRect{0, 4, 100, 8};
        s.m_iStart = 5;
        s.m_iEnd = 85;
        s.m_iCount = 5;
        s.m_bVisible = true;
        s.m_iOrient = CGUIGDIPlusMfcCtrlSlider::kHorizontal;
        ASSERT_TRUE(s.LoadImage());
    }
    static int ThumbCentreY(const CGUIGDIPlusMfcCtrlSlider& s) {
        return (s.m_rcThumb.top + s.m_rcThumb.bottom) / 2;
    }

    QTemporaryDir m_dir;
    QString m_thumb, m_bar;
};

TEST_F(GuiCtlSlider, MainFrameTicksLeaveTheLargerGapLast) {
    CGUIGDIPlusMfcCtrlSlider s;
    BuildMain(s);
    std::vector<int> ticks{-1};
    ASSERT_TRUE(s.GetTicks(ticks));
    EXPECT_EQ(ticks, (std::vector<int>{312, 373, 434, 495, 556, 617, 678, 739, 800, 864}));
    // Thumb put on tick 0, size kept; position not yet chosen.
    EXPECT_EQ(s.m_rcThumb, (GUIRect{274, 312, 297, 335}));
    EXPECT_EQ(s.GetPos(), -1);
    EXPECT_EQ(s.m_iSpare, 10);
}

TEST_F(GuiCtlSlider, LoadImageOnlyOnce) {
    CGUIGDIPlusMfcCtrlSlider s;
    BuildMain(s);
    EXPECT_FALSE(s.LoadImage());
    s.FreeImage();
    std::vector<int> ticks{7};
    EXPECT_FALSE(s.GetTicks(ticks));
    EXPECT_EQ(ticks, std::vector<int>{7}) << "a failed query leaves the list alone";
    EXPECT_TRUE(s.LoadImage());
}

TEST_F(GuiCtlSlider, NoTicksNoLoad) {
    CGUIGDIPlusMfcCtrlSlider s;
    s.m_strImagePath = m_thumb;
    s.m_strImagePath2 = m_bar;
    s.m_iCount = 0;
    EXPECT_FALSE(s.LoadImage());
    EXPECT_FALSE(s.m_pImage);
    std::vector<int> ticks{1, 2};
    EXPECT_FALSE(s.GetTicks(ticks));
    EXPECT_EQ(ticks, (std::vector<int>{1, 2})) << "a failed query leaves the list alone";
    s.SetPos(0); // out of range for no ticks
    EXPECT_EQ(s.GetPos(), -1);
}

TEST_F(GuiCtlSlider, TicksAreMadeEvenWithoutImages) {
    CGUIGDIPlusMfcCtrlSlider s;
    s.m_strImagePath = m_dir.filePath("missing.tksx");
    s.m_strImagePath2 = m_bar;
    s.m_rcThumb = GUIRect{0, 0, 10, 10};
    s.m_iStart = 5;
    s.m_iEnd = 45;
    s.m_iCount = 3;
    EXPECT_FALSE(s.LoadImage());
    std::vector<int> ticks;
    ASSERT_TRUE(s.GetTicks(ticks));
    EXPECT_EQ(ticks, (std::vector<int>{0, 20, 40}));
}

struct DragCase {
    const char* name;
    int v; // pointer coordinate along the axis
    int pos;
};

class GuiCtlSliderDrag : public GuiCtlSlider, public ::testing::WithParamInterface<DragCase> {};

TEST_P(GuiCtlSliderDrag, SnapsToNearestTickByLeadingEdge) {
    CGUIGDIPlusMfcCtrlSlider s;
    BuildEven(s);
    ASSERT_TRUE(s.HitDown(s.m_rcThumb.left, 5));
    ASSERT_TRUE(s.IsDragging());
    EXPECT_TRUE(s.Track(GetParam().v, 500)); // dragging: anywhere over the frame counts
    EXPECT_EQ(s.GetPos(), GetParam().pos);
    EXPECT_EQ(s.m_rcThumb, (GUIRect{20 * GetParam().pos, 0, 20 * GetParam().pos + 10, 12}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GuiCtlSliderDrag,
    ::testing::Values(DragCase{"OnTick", 40, 2}, DragCase{"JustBelowHalf", 49, 2},
                      DragCase{"HalfwayPicksLower", 50, 2}, DragCase{"JustAboveHalf", 51, 3},
                      DragCase{"FarBeforeStart", -5000, 0}, DragCase{"FarPastEnd", 5000, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GuiCtlSlider, MainFrameHalfwayAndFarPastTheEnd) {
    CGUIGDIPlusMfcCtrlSlider s;
    BuildMain(s);
    ASSERT_TRUE(s.HitDown(280, 320));
    EXPECT_EQ(s.GetPos(), 0);
    // Between 800 and 864 the halfway point is 832.
    EXPECT_TRUE(s.Track(280, 832));
    EXPECT_EQ(s.GetPos(), 8);
    EXPECT_EQ(s.m_rcThumb.top, 800);
    EXPECT_TRUE(s.Track(280, 833));
    EXPECT_EQ(s.GetPos(), 9);
    EXPECT_TRUE(s.Track(-100, 20000));
    EXPECT_EQ(s.GetPos(), 9);
    EXPECT_EQ(s.m_rcThumb, (GUIRect{274, 864, 297, 887}));
    EXPECT_TRUE(s.HitUp(0, 0)); // the release ends the drag anywhere
    EXPECT_EQ(s.m_iState, CGUIGDIPlusMfcCtrlSlider::kNormal);
}

TEST_F(GuiCtlSlider, WithoutSnapTheThumbCentreFollowsThePointer) {
    CGUIGDIPlusMfcCtrlSlider s;
    s.m_iSnap = 0;
    BuildEven(s);
    ASSERT_TRUE(s.HitDown(2, 5));
    EXPECT_TRUE(s.Track(33, 5));
    EXPECT_EQ(s.GetPos(), 2);
    EXPECT_EQ(s.m_rcThumb.left, 28);
    EXPECT_TRUE(s.Track(1000, 5)); // clamped to the last tick's edge
    EXPECT_EQ(s.m_rcThumb.left, 75);
}

TEST_F(GuiCtlSlider, OneTickHoldsTheThumb) {
    CGUIGDIPlusMfcCtrlSlider s;
    s.m_strImagePath = m_thumb;
    s.m_strImagePath2 = m_bar;
    s.m_rcThumb = GUIRect{0, 0, 10, 11};
    s.m_iStart = 50;
    s.m_iEnd = 90;
    s.m_iCount = 1;
    s.m_bVisible = true;
    s.m_iOrient = CGUIGDIPlusMfcCtrlSlider::kVertical;
    ASSERT_TRUE(s.LoadImage());
    std::vector<int> ticks;
    ASSERT_TRUE(s.GetTicks(ticks));
    EXPECT_EQ(ticks, std::vector<int>{45});
    ASSERT_TRUE(s.HitDown(5, 50));
    EXPECT_TRUE(s.Track(5, 300));
    EXPECT_EQ(s.m_rcThumb.top, 45);
    EXPECT_EQ(s.GetPos(), 0);
}

TEST_F(GuiCtlSlider, UnknownOrientationMakesNoTicksAndDragIsHarmless) {
    CGUIGDIPlusMfcCtrlSlider s;
    s.m_strImagePath = m_thumb;
    s.m_strImagePath2 = m_bar;
    s.m_rcThumb = GUIRect{0, 0, 10, 10};
    s.m_iCount = 3;
    s.m_iEnd = 40;
    s.m_bVisible = true;
    s.m_iOrient = 2;
    EXPECT_TRUE(s.LoadImage());
    std::vector<int> ticks;
    EXPECT_FALSE(s.GetTicks(ticks));
    ASSERT_TRUE(s.HitDown(5, 5));
    EXPECT_TRUE(s.Track(30, 30));
    EXPECT_EQ(s.GetPos(), -1);
    s.SetPos(1);
    EXPECT_EQ(s.GetPos(), 1);
    EXPECT_EQ(s.m_rcThumb, (GUIRect{0, 0, 10, 10}));
}

TEST_F(GuiCtlSlider, SetPosMovesThumbAndIgnoresOutOfRange) {
    CGUIGDIPlusMfcCtrlSlider s;
    BuildMain(s);
    s.SetPos(3);
    EXPECT_EQ(s.GetPos(), 3);
    EXPECT_EQ(s.m_rcThumb, (GUIRect{274, 495, 297, 518}));
    s.SetPos(10);
    s.SetPos(-1);
    EXPECT_EQ(s.GetPos(), 3);
    EXPECT_EQ(s.m_rcThumb.top, 495);
}

TEST_F(GuiCtlSlider, HoverComesAndGoesWithThePointer) {
    CGUIGDIPlusMfcCtrlSlider s;
    BuildMain(s);
    EXPECT_TRUE(s.Track(280, 320));
    EXPECT_EQ(s.m_iState, CGUIGDIPlusMfcCtrlSlider::kHover);
    EXPECT_FALSE(s.HitUp(280, 400)); // a hovered one goes back to normal
    EXPECT_EQ(s.m_iState, CGUIGDIPlusMfcCtrlSlider::kNormal);
    EXPECT_TRUE(s.Track(280, 320));
    EXPECT_FALSE(s.Track(280, 400));
    EXPECT_EQ(s.m_iState, CGUIGDIPlusMfcCtrlSlider::kNormal);
    EXPECT_TRUE(s.HitUp(280, 320)); // a release over the thumb counts
}

TEST_F(GuiCtlSlider, PressOnTheBarAwayFromTheThumbDoesNothing) {
    CGUIGDIPlusMfcCtrlSlider s;
    BuildMain(s);
    EXPECT_FALSE(s.HitDown(285, 600));
    EXPECT_EQ(s.m_iState, CGUIGDIPlusMfcCtrlSlider::kNormal);
    EXPECT_EQ(s.GetPos(), -1);
}

TEST_F(GuiCtlSlider, DisabledIgnoresPressHoverAndRelease) {
    CGUIGDIPlusMfcCtrlSlider s;
    BuildMain(s);
    s.SetEnable(false);
    EXPECT_FALSE(s.HitDown(280, 320));
    EXPECT_FALSE(s.Track(280, 320));
    EXPECT_FALSE(s.HitUp(280, 320));
    EXPECT_EQ(s.m_iState, CGUIGDIPlusMfcCtrlSlider::kDisabled);
    s.SetEnable(true);
    EXPECT_EQ(s.m_iState, CGUIGDIPlusMfcCtrlSlider::kNormal);
}

TEST_F(GuiCtlSlider, HiddenIsNotHit) {
    CGUIGDIPlusMfcCtrlSlider s;
    BuildMain(s);
    s.SetVisible(false);
    EXPECT_FALSE(s.HitDown(280, 320));
    EXPECT_FALSE(s.Track(280, 320));
    EXPECT_FALSE(s.HitUp(280, 320));
    EXPECT_EQ(s.m_iState, CGUIGDIPlusMfcCtrlSlider::kNormal);
}

TEST_F(GuiCtlSlider, ThumbEdgesFollowTheRectangleRule) {
    CGUIGDIPlusMfcCtrlSlider s;
    BuildMain(s); // thumb (274, 312, 297, 335)
    EXPECT_TRUE(s.Track(274, 312));
    EXPECT_FALSE(s.Track(297, 320));
    EXPECT_FALSE(s.Track(280, 335));
    EXPECT_FALSE(s.HitDown(297, 320));
    EXPECT_TRUE(s.HitDown(296, 334));
    EXPECT_EQ(ThumbCentreY(s), 323);
}

} // namespace
