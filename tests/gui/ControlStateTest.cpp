// Hit tests and state mappings of buttons, switches, check boxes, radio buttons and edit
// boxes, table by table.
#include "GUIGDIPlusMfcCtrlBtn.h"
#include "GUIGDIPlusMfcCtrlChkBox.h"
#include "GUIGDIPlusMfcCtrlEditBox.h"
#include "GUIGDIPlusMfcCtrlRdoBtn.h"
#include "GUIGDIPlusMfcCtrlSwitch.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr GUIRect kRect{10, 20, 30, 40};
constexpr int kInX = 15, kInY = 25;
constexpr int kOutX = 35, kOutY = 25;

enum class K { Btn, Switch, ChkBox, RdoBtn, Edit };

const char* KindName(K k) {
    switch (k) {
    case K::Btn:
        return "Btn";
    case K::Switch:
        return "Switch";
    case K::ChkBox:
        return "ChkBox";
    case K::RdoBtn:
        return "RdoBtn";
    case K::Edit:
        return "Edit";
    }
    return "?";
}

std::unique_ptr<CGUIGDIPlusMfcCtrlStrip> Make(K k, int state, bool visible) {
    std::unique_ptr<CGUIGDIPlusMfcCtrlStrip> c;
    switch (k) {
    case K::Btn:
        c = std::make_unique<CGUIGDIPlusMfcCtrlBtn>();
        break;
    case K::Switch:
        c = std::make_unique<CGUIGDIPlusMfcCtrlSwitch>();
        break;
    case K::ChkBox:
        c = std::make_unique<CGUIGDIPlusMfcCtrlChkBox>();
        break;
    case K::RdoBtn:
        c = std::make_unique<CGUIGDIPlusMfcCtrlRdoBtn>();
        break;
    case K::Edit:
        c = std::make_unique<CGUIGDIPlusMfcCtrlEditBox>();
        break;
    }
    c->m_rcCtrl = kRect;
    c->m_iState = state;
    c->m_bVisible = visible;
    return c;
}

// --- The rectangle test: left and top inside, right and bottom outside. -------------

struct EdgeCase {
    const char* name;
    int x, y;
    bool inside;
};

const EdgeCase kEdges[] = {
    {"TopLeftCorner", 10, 20, true},      {"BottomRightInner", 29, 39, true},
    {"RightEdge", 30, 25, false},         {"BottomEdge", 15, 40, false},
    {"LeftOfLeftEdge", 9, 25, false},     {"AboveTopEdge", 15, 19, false},
    {"BottomRightCorner", 30, 40, false},
};

class GuiCtlRectEdges : public ::testing::TestWithParam<std::tuple<K, EdgeCase>> {};

TEST_P(GuiCtlRectEdges, PressAndHoverAcceptOnlyInside) {
    const auto [kind, edge] = GetParam();
    auto pressed = Make(kind, 0, true);
    EXPECT_EQ(pressed->HitDown(edge.x, edge.y), edge.inside);
    auto hovered = Make(kind, 0, true);
    EXPECT_EQ(hovered->HitHover(edge.x, edge.y), edge.inside);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, GuiCtlRectEdges,
                         ::testing::Combine(::testing::Values(K::Btn, K::Switch, K::ChkBox,
                                                              K::RdoBtn, K::Edit),
                                            ::testing::ValuesIn(kEdges)),
                         [](const auto& info) {
                             return std::string(KindName(std::get<0>(info.param))) + "_" +
                                    std::get<1>(info.param).name;
                         });

// --- HitDown: answer and resulting state. ---------------------------------------------

struct HitCase {
    const char* name;
    K kind;
    int state;
    bool visible;
    bool inside;
    bool answer;
    int after;
};

class GuiCtlHitDown : public ::testing::TestWithParam<HitCase> {};

TEST_P(GuiCtlHitDown, AnswerAndState) {
    const HitCase& c = GetParam();
    auto ctrl = Make(c.kind, c.state, c.visible);
    EXPECT_EQ(ctrl->HitDown(c.inside ? kInX : kOutX, c.inside ? kInY : kOutY), c.answer);
    EXPECT_EQ(ctrl->m_iState, c.after);
}

INSTANTIATE_TEST_SUITE_P(Rows, GuiCtlHitDown,
                         ::testing::Values(
                             // Push button: pressed unless disabled, hidden or outside.
                             HitCase{"Btn_Normal", K::Btn, 0, true, true, true, 2},
                             HitCase{"Btn_AlreadyPressed", K::Btn, 2, true, true, true, 2},
                             HitCase{"Btn_Disabled", K::Btn, 3, true, true, false, 3},
                             HitCase{"Btn_Outside", K::Btn, 0, true, false, false, 0},
                             HitCase{"Btn_Hidden", K::Btn, 0, false, true, false, 0},
                             // Switch: toggles while enabled; no visibility of its own.
                             HitCase{"Switch_OffToOn", K::Switch, 0, true, true, true, 1},
                             HitCase{"Switch_OnToOff", K::Switch, 1, true, true, true, 0},
                             HitCase{"Switch_OffDisabled", K::Switch, 2, true, true, false, 2},
                             HitCase{"Switch_OnDisabled", K::Switch, 3, true, true, false, 3},
                             HitCase{"Switch_Outside", K::Switch, 0, true, false, false, 0},
                             HitCase{"Switch_FlagHiddenStillHit", K::Switch, 0, false, true, true,
                                     1},
                             // Check box: toggles while enabled and visible.
                             HitCase{"ChkBox_OffToOn", K::ChkBox, 0, true, true, true, 1},
                             HitCase{"ChkBox_OnToOff", K::ChkBox, 1, true, true, true, 0},
                             HitCase{"ChkBox_OffDisabled", K::ChkBox, 2, true, true, false, 2},
                             HitCase{"ChkBox_OnDisabled", K::ChkBox, 3, true, true, false, 3},
                             HitCase{"ChkBox_Outside", K::ChkBox, 0, true, false, false, 0},
                             HitCase{"ChkBox_Hidden", K::ChkBox, 0, false, true, false, 0},
                             // Radio button: only an unselected, enabled one is selected.
                             HitCase{"RdoBtn_Select", K::RdoBtn, 0, true, true, true, 1},
                             HitCase{"RdoBtn_AlreadySelected", K::RdoBtn, 1, true, true, false, 1},
                             HitCase{"RdoBtn_OffDisabled", K::RdoBtn, 2, true, true, false, 2},
                             HitCase{"RdoBtn_OnDisabled", K::RdoBtn, 3, true, true, false, 3},
                             HitCase{"RdoBtn_Outside", K::RdoBtn, 0, true, false, false, 0},
                             HitCase{"RdoBtn_Hidden", K::RdoBtn, 0, false, true, false, 0},
                             // Edit box: focused unless disabled, hidden or outside.
                             HitCase{"Edit_Normal", K::Edit, 0, true, true, true, 2},
                             HitCase{"Edit_Hover", K::Edit, 1, true, true, true, 2},
                             HitCase{"Edit_Focused", K::Edit, 2, true, true, true, 2},
                             HitCase{"Edit_Disabled", K::Edit, 3, true, true, false, 3},
                             HitCase{"Edit_Outside", K::Edit, 0, true, false, false, 0},
                             HitCase{"Edit_Hidden", K::Edit, 0, false, true, false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GuiCtlEditHitDown, ReadOnlyNeverTakesTheFocus) {
    CGUIGDIPlusMfcCtrlEditBox box;
    box.m_rcCtrl = kRect;
    box.m_bVisible = true;
    box.m_bReadOnly = true;
    EXPECT_FALSE(box.HitDown(kInX, kInY));
    EXPECT_EQ(box.m_iState, 0);
}

// --- HitHover. -------------------------------------------------------------------------

class GuiCtlHitHover : public ::testing::TestWithParam<HitCase> {};

TEST_P(GuiCtlHitHover, AnswerAndState) {
    const HitCase& c = GetParam();
    auto ctrl = Make(c.kind, c.state, c.visible);
    EXPECT_EQ(ctrl->HitHover(c.inside ? kInX : kOutX, c.inside ? kInY : kOutY), c.answer);
    EXPECT_EQ(ctrl->m_iState, c.after);
}

INSTANTIATE_TEST_SUITE_P(Rows, GuiCtlHitHover,
                         ::testing::Values(
                             // Buttons have no hover look.
                             HitCase{"Btn_Normal", K::Btn, 0, true, true, true, 0},
                             HitCase{"Btn_Pressed", K::Btn, 2, true, true, true, 2},
                             HitCase{"Btn_Disabled", K::Btn, 3, true, true, false, 3},
                             HitCase{"Btn_Hidden", K::Btn, 0, false, true, false, 0},
                             HitCase{"Switch_On", K::Switch, 1, true, true, true, 1},
                             HitCase{"Switch_Disabled", K::Switch, 2, true, true, false, 2},
                             HitCase{"Switch_FlagHidden", K::Switch, 0, false, true, true, 0},
                             HitCase{"ChkBox_On", K::ChkBox, 1, true, true, true, 1},
                             HitCase{"ChkBox_OnDisabled", K::ChkBox, 3, true, true, false, 3},
                             HitCase{"ChkBox_Hidden", K::ChkBox, 0, false, true, false, 0},
                             HitCase{"RdoBtn_Off", K::RdoBtn, 0, true, true, true, 0},
                             HitCase{"RdoBtn_OffDisabled", K::RdoBtn, 2, true, true, false, 2},
                             HitCase{"RdoBtn_Outside", K::RdoBtn, 1, true, false, false, 1},
                             // Edit box: the pointer gives the hover look, leaving takes it away;
                             // focus and the disabled look stay.
                             HitCase{"Edit_NormalInside", K::Edit, 0, true, true, true, 1},
                             HitCase{"Edit_FocusedInside", K::Edit, 2, true, true, true, 2},
                             HitCase{"Edit_DisabledInside", K::Edit, 3, true, true, false, 3},
                             HitCase{"Edit_HoverOutside", K::Edit, 1, true, false, false, 0},
                             HitCase{"Edit_FocusedOutside", K::Edit, 2, true, false, false, 2},
                             HitCase{"Edit_DisabledOutside", K::Edit, 3, true, false, false, 3},
                             HitCase{"Edit_HiddenInside", K::Edit, 1, false, true, false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Push button release. ----------------------------------------------------------------

class GuiCtlBtnHitUp : public ::testing::TestWithParam<HitCase> {};

TEST_P(GuiCtlBtnHitUp, AnswerAndState) {
    const HitCase& c = GetParam();
    auto btn = Make(K::Btn, c.state, c.visible);
    EXPECT_EQ(btn->HitUp(c.inside ? kInX : kOutX, c.inside ? kInY : kOutY), c.answer);
    EXPECT_EQ(btn->m_iState, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GuiCtlBtnHitUp,
    ::testing::Values(HitCase{"PressedInside", K::Btn, 2, true, true, true, 0},
                      // The release point is not tested.
                      HitCase{"PressedOutside", K::Btn, 2, true, false, true, 0},
                      HitCase{"NotPressed", K::Btn, 0, true, true, false, 0},
                      HitCase{"Disabled", K::Btn, 3, true, true, false, 3},
                      HitCase{"PressedHidden", K::Btn, 2, false, true, false, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// --- SetEnable mappings. -----------------------------------------------------------------

struct EnableCase {
    const char* name;
    K kind;
    int from;
    bool enable;
    int to;
};

class GuiCtlSetEnable : public ::testing::TestWithParam<EnableCase> {};

TEST_P(GuiCtlSetEnable, MapsState) {
    const EnableCase& c = GetParam();
    auto ctrl = Make(c.kind, c.from, true);
    switch (c.kind) {
    case K::Btn:
        static_cast<CGUIGDIPlusMfcCtrlBtn&>(*ctrl).SetEnable(c.enable);
        break;
    case K::Edit:
        static_cast<CGUIGDIPlusMfcCtrlEditBox&>(*ctrl).SetEnable(c.enable);
        break;
    default:
        static_cast<CGUIGDIPlusMfcCtrlCheckable&>(*ctrl).SetEnable(c.enable);
        break;
    }
    EXPECT_EQ(ctrl->m_iState, c.to);
}

std::vector<EnableCase> EnableRows() {
    std::vector<EnableCase> rows = {
        {"Btn_PressedDisabled", K::Btn, 2, false, 3},
        {"Btn_DisabledEnabled", K::Btn, 3, true, 0},
        {"Btn_PressedEnabled", K::Btn, 2, true, 0},
        {"Edit_FocusedDisabled", K::Edit, 2, false, 3},
        {"Edit_HoverEnabled", K::Edit, 1, true, 0},
        {"Edit_DisabledEnabled", K::Edit, 3, true, 0},
    };
    // Switch, check box and radio button share one surprising mapping: enabling keeps
    // only a disabled "on", so an enabled "on" turns off; disabling twice loses "on".
    struct Row {
        const char* name;
        int from;
        bool enable;
        int to;
    };
    const Row shared[] = {
        {"OffEnable", 0, true, 0},      {"OnEnable_TurnsOff", 1, true, 0},
        {"OffDisEnable", 2, true, 0},   {"OnDisEnable", 3, true, 1},
        {"OffDisable", 0, false, 2},    {"OnDisable", 1, false, 3},
        {"OffDisDisable", 2, false, 2}, {"OnDisDisable_LosesOn", 3, false, 2},
    };
    static std::vector<std::string> names; // keeps the row names alive
    names.reserve(3 * std::size(shared));
    for (K kind : {K::Switch, K::ChkBox, K::RdoBtn}) {
        for (const Row& r : shared) {
            names.push_back(std::string(KindName(kind)) + "_" + r.name);
            rows.push_back(EnableCase{names.back().c_str(), kind, r.from, r.enable, r.to});
        }
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Rows, GuiCtlSetEnable, ::testing::ValuesIn(EnableRows()),
                         [](const auto& info) { return std::string(info.param.name); });

// --- SetCheck / GetCheck on the checkable kinds. ---------------------------------------

struct CheckCase {
    const char* name;
    int from;
    bool check;
    int to;
    bool getCheck;
};

class GuiCtlSetCheck : public ::testing::TestWithParam<std::tuple<K, CheckCase>> {};

TEST_P(GuiCtlSetCheck, OnlyWhileEnabled) {
    const auto [kind, c] = GetParam();
    auto ctrl = Make(kind, c.from, true);
    auto& checkable = static_cast<CGUIGDIPlusMfcCtrlCheckable&>(*ctrl);
    checkable.SetCheck(c.check);
    EXPECT_EQ(checkable.m_iState, c.to);
    EXPECT_EQ(checkable.GetCheck(), c.getCheck);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GuiCtlSetCheck,
    ::testing::Combine(::testing::Values(K::Switch, K::ChkBox, K::RdoBtn),
                       ::testing::Values(CheckCase{"OffCheck", 0, true, 1, true},
                                         CheckCase{"OnUncheck", 1, false, 0, false},
                                         CheckCase{"OnCheck", 1, true, 1, true},
                                         CheckCase{"OffDisCheck_Ignored", 2, true, 2, false},
                                         CheckCase{"OnDisUncheck_Ignored", 3, false, 3, true})),
    [](const auto& info) {
        return std::string(KindName(std::get<0>(info.param))) + "_" + std::get<1>(info.param).name;
    });

// --- Edit box focus. -----------------------------------------------------------------

struct FocusCase {
    const char* name;
    int from;
    bool focus;
    int to;
};

class GuiCtlEditFocus : public ::testing::TestWithParam<FocusCase> {};

TEST_P(GuiCtlEditFocus, SetFocusStateSparesHoverAndDisabled) {
    CGUIGDIPlusMfcCtrlEditBox box;
    box.m_iState = GetParam().from;
    box.SetFocusState(GetParam().focus);
    EXPECT_EQ(box.m_iState, GetParam().to);
    EXPECT_EQ(box.IsFocused(), GetParam().to == 2);
}

INSTANTIATE_TEST_SUITE_P(Rows, GuiCtlEditFocus,
                         ::testing::Values(FocusCase{"NormalFocus", 0, true, 2},
                                           FocusCase{"NormalUnfocus", 0, false, 0},
                                           FocusCase{"FocusedUnfocus", 2, false, 0},
                                           FocusCase{"HoverKeepsLook", 1, true, 1},
                                           FocusCase{"HoverUnfocusKeepsLook", 1, false, 1},
                                           FocusCase{"DisabledStays", 3, true, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Records copied from descriptors. --------------------------------------------------

TEST(GuiCtlDescriptor, EditBoxNumberModeStartsAtZero) {
    CGUIGDIPlusMfcCtrlEditBox fresh;
    EXPECT_EQ(fresh.m_iMode, CGUIGDIPlusMfcCtrlEditBox::kModeNumber);
    EXPECT_EQ(fresh.m_iState, 0);
    EXPECT_TRUE(fresh.GetText().isEmpty());

    CGUIGDIPlusMfcCtrlEditBox desc;
    desc.m_strText = "123";
    desc.m_rcCtrl = kRect;
    desc.m_iMaxLen = 5;
    desc.m_iMax = 99999;
    desc.m_iMin = 7;
    CGUIGDIPlusMfcCtrlEditBox number;
    number.CopyFrom(desc);
    EXPECT_EQ(number.GetText(), "0");
    EXPECT_EQ(number.m_rcCtrl, kRect);
    EXPECT_EQ(number.m_iMaxLen, 5);
    EXPECT_EQ(number.m_iMax, 99999);
    EXPECT_EQ(number.m_iMin, 7);

    desc.m_iMode = CGUIGDIPlusMfcCtrlEditBox::kModeText;
    CGUIGDIPlusMfcCtrlEditBox text;
    text.CopyFrom(desc);
    EXPECT_EQ(text.GetText(), "123");
}

TEST(GuiCtlDescriptor, ButtonCopiesEveryField) {
    CGUIGDIPlusMfcCtrlBtn desc;
    desc.m_iResID = 0;
    desc.m_strImagePath = "/skin/GUIFrameMainCtrlBtn_Exit.tksx";
    desc.m_rcCtrl = GUIRect{1179, 4, 1227, 28};
    desc.m_bVisible = false;
    desc.m_uMsg = 1231;
    desc.m_iState = 3;
    desc.m_iSpare = 9;
    CGUIGDIPlusMfcCtrlBtn btn;
    btn.CopyFrom(desc);
    EXPECT_EQ(btn.m_strImagePath, desc.m_strImagePath);
    EXPECT_EQ(btn.m_rcCtrl, desc.m_rcCtrl);
    EXPECT_FALSE(btn.IsVisible());
    EXPECT_EQ(btn.GetMsg(), 1231u);
    EXPECT_EQ(btn.m_iState, 3);
    EXPECT_EQ(btn.m_iSpare, 9);
    EXPECT_FALSE(btn.GetBusy());
}

} // namespace
