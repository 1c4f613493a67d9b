// Routing of presses, releases and moves to windowless controls.
#include "MouseRouter.h"
#include "FakeCtrl.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using Kind = FakeCtrl::Kind;
using Role = MouseRouter::Role;

struct Posted {
    std::uint32_t msg;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Posted& o) const {
        return std::tie(msg, wParam, lParam) == std::tie(o.msg, o.wParam, o.lParam);
    }
};

class MouseRouterTest : public ::testing::Test {
protected:
    void SetUp() override {
        MouseRouter::Hooks hooks;
        hooks.post = [this](std::uint32_t m, std::uintptr_t w, std::intptr_t l) {
            m_posted.push_back({m, w, l});
            m_log.push_back("post");
        };
        hooks.repaint = [this] { ++m_repaints; };
        hooks.setCursor = [this](int type) { m_cursors.push_back(type); };
        hooks.beginDrag = [this](int x, int y) { m_drags.push_back({x, y}); };
        hooks.isBusy = [this] { return m_busy; };
        hooks.inDragStrip = [](int x, int y) { return x <= 1175 && y <= 32; };
        hooks.onPressed = [this](int g, int i) { m_pressed.push_back({g, i}); };
        hooks.onReleased = [this](int g, int i) {
            m_released.push_back({g, i});
            m_log.push_back("released");
        };
        m_router.SetHooks(std::move(hooks));
    }

    MouseRouter m_router;
    bool m_busy = false;
    std::vector<Posted> m_posted;
    std::vector<const char*> m_log;
    int m_repaints = 0;
    std::vector<int> m_cursors;
    std::vector<std::pair<int, int>> m_drags;
    std::vector<std::pair<int, int>> m_pressed;
    std::vector<std::pair<int, int>> m_released;
};

struct EdgeCase {
    const char* name;
    int x;
    int y;
    bool inside;
    friend void PrintTo(const EdgeCase& c, std::ostream* os) { *os << c.name; }
};

class RectangleEdges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(RectangleEdges, LeftTopIncludedRightBottomExcluded) {
    const GUIRect rc{100, 200, 140, 230};
    EXPECT_EQ(rc.Contains(GetParam().x, GetParam().y), GetParam().inside);

    // The same through the router: a press there selects the control or not.
    MouseRouter router;
    std::vector<std::uint32_t> posted;
    MouseRouter::Hooks hooks;
    hooks.post = [&](std::uint32_t m, std::uintptr_t, std::intptr_t) { posted.push_back(m); };
    router.SetHooks(hooks);
    FakeCtrl ctrl(Kind::Toggle, rc, 1125);
    router.AddGroup(Role::Toggle, {&ctrl});
    router.OnLButtonDown(GetParam().x, GetParam().y);
    EXPECT_EQ(posted.size(), GetParam().inside ? 1u : 0u);
    EXPECT_EQ(ctrl.m_on, GetParam().inside);
}

INSTANTIATE_TEST_SUITE_P(Points, RectangleEdges,
                         ::testing::Values(EdgeCase{"TopLeftCorner", 100, 200, true},
                                           EdgeCase{"Inside", 120, 215, true},
                                           EdgeCase{"LastColumnAndRow", 139, 229, true},
                                           EdgeCase{"RightEdge", 140, 215, false},
                                           EdgeCase{"BottomEdge", 120, 230, false},
                                           EdgeCase{"LeftOfLeft", 99, 215, false},
                                           EdgeCase{"AboveTop", 120, 199, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MouseRouterTest, FirstAcceptingControlEndsTheSearch) {
    FakeCtrl a(Kind::Toggle, {0, 100, 50, 150}, 1025);
    FakeCtrl b(Kind::Toggle, {0, 100, 50, 150}, 1125); // overlaps a
    FakeCtrl c(Kind::Toggle, {60, 100, 90, 150}, 1126);
    FakeCtrl d(Kind::Toggle, {0, 100, 50, 150}, 1326); // later group, same place
    m_router.AddGroup(Role::Toggle, {&a});
    const int g1 = m_router.AddGroup(Role::Toggle, {&c, &b});
    m_router.AddGroup(Role::Toggle, {&d});

    m_router.OnLButtonDown(10, 120);
    EXPECT_TRUE(a.m_on);
    EXPECT_EQ(b.m_downCalls, 0);
    EXPECT_EQ(d.m_downCalls, 0);
    ASSERT_EQ(m_posted.size(), 1u);
    EXPECT_EQ(m_posted[0], (Posted{1025, 0, 0}));
    EXPECT_TRUE(a.m_busy);
    EXPECT_EQ(m_repaints, 1);

    // Index within the group is the wParam.
    a.m_visible = false;
    m_router.OnLButtonDown(10, 120);
    ASSERT_EQ(m_posted.size(), 2u);
    EXPECT_EQ(m_posted[1], (Posted{1125, 1, 0}));
    EXPECT_EQ(m_pressed.back(), std::make_pair(g1, 1));
}

TEST_F(MouseRouterTest, BusyLatchSuppressesRepeatNotification) {
    FakeCtrl sw(Kind::Toggle, {24, 53, 148, 89}, 1125);
    m_router.AddGroup(Role::Toggle, {&sw});
    m_router.OnLButtonDown(30, 60);
    m_router.OnLButtonDown(30, 60); // handler has not run yet
    EXPECT_FALSE(sw.m_on);          // toggled twice: back where it was
    EXPECT_EQ(m_posted.size(), 1u); // but only one notification
    sw.SetBusy(false);              // the handler clears the latch
    m_router.OnLButtonDown(30, 60);
    EXPECT_EQ(m_posted.size(), 2u);
}

TEST_F(MouseRouterTest, ButtonNotifiesOnReleaseAnywhere) {
    FakeCtrl exitBtn(Kind::Button, {1179, 40, 1227, 64}, 1231);
    FakeCtrl applyBtn(Kind::Button, {1081, 55, 1205, 87}, 1229);
    const int g = m_router.AddGroup(Role::Button, {&exitBtn, &applyBtn});
    m_router.OnLButtonDown(1100, 60);
    EXPECT_TRUE(m_posted.empty());
    EXPECT_EQ(m_pressed.back(), std::make_pair(g, 1));
    m_router.OnLButtonUp(5, 900); // far outside
    ASSERT_EQ(m_posted.size(), 1u);
    EXPECT_EQ(m_posted[0], (Posted{1229, 1, 0}));
    // The release hook runs before the notification is posted.
    ASSERT_EQ(m_log.size(), 2u);
    EXPECT_STREQ(m_log[0], "released");
    EXPECT_STREQ(m_log[1], "post");
    // Latched: a second click posts nothing until the handler clears it.
    m_router.OnLButtonDown(1100, 60);
    m_router.OnLButtonUp(1100, 60);
    EXPECT_EQ(m_posted.size(), 1u);
}

TEST_F(MouseRouterTest, EveryEditBoxIsOfferedAndSearchGoesOn) {
    FakeCtrl chk(Kind::Toggle, {0, 100, 10, 110}, 1025);
    FakeCtrl e0(Kind::Edit, {296, 864, 336, 883}, 0);
    FakeCtrl e1(Kind::Edit, {351, 864, 391, 883}, 0);
    FakeCtrl rdo(Kind::Toggle, {296, 864, 336, 883}, 1327); // after the edits
    m_router.AddGroup(Role::Toggle, {&chk});
    m_router.AddGroup(Role::Edit, {&e0, &e1});
    m_router.AddGroup(Role::Toggle, {&rdo});

    m_router.OnLButtonDown(300, 870);
    EXPECT_TRUE(e0.m_focused);
    EXPECT_FALSE(e1.m_focused);
    EXPECT_EQ(e1.m_focusCalls, 1);
    EXPECT_TRUE(rdo.m_on);
    ASSERT_EQ(m_posted.size(), 1u);
    EXPECT_EQ(m_posted[0].msg, 1327u);

    // A press on an earlier control still offers the press to every edit box, which
    // drop the focus.
    m_router.OnLButtonDown(5, 105);
    EXPECT_FALSE(e0.m_focused);
    EXPECT_EQ(e0.m_focusCalls, 2);
    EXPECT_TRUE(chk.m_on);
}

TEST_F(MouseRouterTest, BusyFrameIgnoresTheMouse) {
    FakeCtrl sw(Kind::Toggle, {24, 53, 148, 89}, 1125);
    FakeCtrl btn(Kind::Button, {662, 55, 786, 87}, 1225);
    m_router.AddGroup(Role::Toggle, {&sw});
    m_router.AddGroup(Role::Button, {&btn});
    btn.m_pressed = true;
    m_busy = true;
    m_router.OnLButtonDown(30, 60);
    m_router.OnLButtonUp(30, 60);
    m_router.OnMouseMove(30, 60);
    EXPECT_EQ(sw.m_downCalls + sw.m_hoverCalls + btn.m_upCalls, 0);
    EXPECT_TRUE(m_posted.empty());
    EXPECT_EQ(m_repaints, 0);
    EXPECT_EQ(m_cursors, std::vector<int>{MouseRouter::kCursorArrow});
}

TEST_F(MouseRouterTest, DragStripStartsAWindowMoveOnly) {
    FakeCtrl exitBtn(Kind::Button, {1179, 4, 1227, 28}, 1231);
    FakeCtrl title(Kind::Toggle, {0, 0, 1175, 32}, 1000);
    m_router.AddGroup(Role::Toggle, {&title});
    m_router.AddGroup(Role::Button, {&exitBtn});
    m_router.OnLButtonDown(1175, 32); // inclusive bounds
    EXPECT_EQ(m_drags, (std::vector<std::pair<int, int>>{{1175, 32}}));
    EXPECT_EQ(title.m_downCalls, 0);
    EXPECT_EQ(m_repaints, 0);
    m_router.OnLButtonDown(1190, 10); // right of the strip: the Exit button
    EXPECT_EQ(m_drags.size(), 1u);
    EXPECT_TRUE(exitBtn.m_pressed);
}

TEST_F(MouseRouterTest, HoverSetsHandAndRepaintsOnlyForEditAndSlider) {
    FakeCtrl sw(Kind::Toggle, {0, 100, 50, 150}, 1125);
    FakeCtrl edit(Kind::Edit, {100, 100, 150, 150}, 0);
    FakeCtrl slider(Kind::Slider, {200, 100, 250, 150}, 1425);
    m_router.AddGroup(Role::Toggle, {&sw});
    m_router.AddGroup(Role::Edit, {&edit});
    m_router.AddGroup(Role::Slider, {&slider});

    m_router.OnMouseMove(10, 110);
    EXPECT_EQ(m_cursors.back(), MouseRouter::kCursorHand);
    EXPECT_EQ(m_repaints, 0);
    EXPECT_EQ(edit.m_hoverCalls, 0); // search ended at the switch

    m_router.OnMouseMove(110, 110);
    EXPECT_EQ(m_cursors.back(), MouseRouter::kCursorHand);
    EXPECT_EQ(m_repaints, 1);

    m_router.OnMouseMove(210, 110);
    EXPECT_EQ(m_repaints, 2);
    EXPECT_TRUE(m_posted.empty()); // hovering a slider is not a change

    m_router.OnMouseMove(500, 500);
    EXPECT_EQ(m_cursors.back(), MouseRouter::kCursorArrow);
    EXPECT_EQ(m_repaints, 3);
}

TEST_F(MouseRouterTest, MoveOrderCanDifferFromPressOrder) {
    FakeCtrl a(Kind::Toggle, {0, 0, 50, 50}, 1);
    FakeCtrl b(Kind::Edit, {0, 0, 50, 50}, 2);
    const int ga = m_router.AddGroup(Role::Toggle, {&a});
    const int gb = m_router.AddGroup(Role::Edit, {&b});
    m_router.SetMoveOrder({gb, ga});
    m_router.OnMouseMove(10, 10);
    EXPECT_EQ(b.m_hoverCalls, 1);
    EXPECT_EQ(a.m_hoverCalls, 0);
    EXPECT_EQ(m_repaints, 1); // an edit box answered
}

TEST_F(MouseRouterTest, SliderNotifiesOnPressDragAndRelease) {
    FakeCtrl btn(Kind::Button, {700, 300, 740, 320}, 1232);
    FakeCtrl slider(Kind::Slider, {274, 316, 297, 339}, 1425);
    m_router.AddGroup(Role::Button, {&btn});
    m_router.AddGroup(Role::Slider, {&slider});

    m_router.OnLButtonDown(280, 320);
    ASSERT_EQ(m_posted.size(), 1u);
    EXPECT_EQ(m_posted[0], (Posted{1425, 0, 0}));
    m_router.OnMouseMove(280, 500); // latch still set: the thumb moves, nothing posted
    EXPECT_EQ(m_posted.size(), 1u);
    slider.SetBusy(false);
    m_router.OnMouseMove(280, 600);
    EXPECT_EQ(m_posted.size(), 2u);
    slider.SetBusy(false);
    m_router.OnLButtonUp(280, 900); // release ends the drag: one more notification
    EXPECT_EQ(m_posted.size(), 3u);
    EXPECT_FALSE(slider.m_dragging);
    EXPECT_EQ(btn.m_upCalls, 1); // buttons were asked first
}

TEST_F(MouseRouterTest, PressOrderIsConfigurable) {
    FakeCtrl a(Kind::Toggle, {0, 100, 50, 150}, 1);
    FakeCtrl b(Kind::Toggle, {0, 100, 50, 150}, 2);
    const int ga = m_router.AddGroup(Role::Toggle, {&a});
    const int gb = m_router.AddGroup(Role::Toggle, {&b});
    m_router.SetPressOrder({gb, ga});
    m_router.OnLButtonDown(10, 110);
    ASSERT_EQ(m_posted.size(), 1u);
    EXPECT_EQ(m_posted[0].msg, 2u);
}

} // namespace
