// Every control kind draws the skin frame of its state into exactly its rectangle;
// hidden controls and controls without an image draw nothing.
#include "ControlTestUtil.h"
#include "GUIGDIPlusMfcCtrlBtn.h"
#include "GUIGDIPlusMfcCtrlChkBox.h"
#include "GUIGDIPlusMfcCtrlEditBox.h"
#include "GUIGDIPlusMfcCtrlRdoBtn.h"
#include "GUIGDIPlusMfcCtrlSlider.h"
#include "GUIGDIPlusMfcCtrlSwitch.h"
#include "GuiTestApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace SkinFixtures;
using ControlTest::WriteControlStrip;

namespace {

constexpr GUIRect kRect{10, 20, 30, 34};

struct Kind {
    const char* name;
    std::function<std::unique_ptr<CGUIGDIPlusMfcCtrlStrip>()> make;
};

const Kind kKinds[] = {
    {"Button", [] { return std::make_unique<CGUIGDIPlusMfcCtrlBtn>(); }},
    {"Switch", [] { return std::make_unique<CGUIGDIPlusMfcCtrlSwitch>(); }},
    {"ChkBox", [] { return std::make_unique<CGUIGDIPlusMfcCtrlChkBox>(); }},
    {"RdoBtn", [] { return std::make_unique<CGUIGDIPlusMfcCtrlRdoBtn>(); }},
    {"EditBox",
     [] {
         auto box = std::make_unique<CGUIGDIPlusMfcCtrlEditBox>();
         box->m_iMode = CGUIGDIPlusMfcCtrlEditBox::kModeText; // no text over the frame
         return box;
     }},
};

class GuiCtlDraw : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGuiApp();
        ASSERT_TRUE(m_dir.isValid());
        m_path = WriteControlStrip(m_dir, "Ctrl.tksx", kRect);
        ASSERT_FALSE(m_path.isEmpty());
    }
    std::unique_ptr<CGUIGDIPlusMfcCtrlStrip> Make(const Kind& kind, int state) {
        auto ctrl = kind.make();
        ctrl->m_strImagePath = m_path;
        ctrl->m_rcCtrl = kRect;
        ctrl->m_bVisible = true;
        ctrl->m_iState = state;
        EXPECT_TRUE(ctrl->LoadImage());
        return ctrl;
    }

    QTemporaryDir m_dir;
    QString m_path;
};

struct StateCase {
    const Kind* kind;
    int state;
};

class GuiCtlDrawState : public GuiCtlDraw, public ::testing::WithParamInterface<StateCase> {};

TEST_P(GuiCtlDrawState, DrawsFrameOfStateIntoRectangle) {
    auto ctrl = Make(*GetParam().kind, GetParam().state);
    QImage surface = MakeSurface(48, 48);
    ctrl->Draw(&surface);

    const int frame = GetParam().state;
    EXPECT_EQ(FrameAt(surface, {kRect.left, kRect.top}), frame) << "left/top edge";
    EXPECT_EQ(FrameAt(surface, {kRect.right - 1, kRect.bottom - 1}), frame);
    EXPECT_EQ(InkBounds(surface), QRect(kRect.left, kRect.top, kRect.Width(), kRect.Height()));
}

std::vector<StateCase> AllStates() {
    std::vector<StateCase> cases;
    for (const Kind& kind : kKinds)
        for (int state = 0; state < 4; ++state)
            cases.push_back(StateCase{&kind, state});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Kinds, GuiCtlDrawState, ::testing::ValuesIn(AllStates()),
                         [](const auto& info) {
                             return std::string(info.param.kind->name) + "_State" +
                                    std::to_string(info.param.state);
                         });

class GuiCtlDrawKind : public GuiCtlDraw, public ::testing::WithParamInterface<const Kind*> {};

TEST_P(GuiCtlDrawKind, HiddenDrawsNothingExceptSwitch) {
    auto ctrl = Make(*GetParam(), 1);
    ctrl->m_bVisible = false;
    QImage surface = MakeSurface(48, 48);
    ctrl->Draw(&surface);
    // A switch has no visibility: it is always drawn.
    const bool isSwitch = dynamic_cast<CGUIGDIPlusMfcCtrlSwitch*>(ctrl.get()) != nullptr;
    EXPECT_EQ(IsClear(surface), !isSwitch);
}

TEST_P(GuiCtlDrawKind, WithoutImageDrawsNothingButStillTakesPresses) {
    auto ctrl = GetParam()->make();
    ctrl->m_strImagePath = m_dir.filePath("missing.tksx");
    ctrl->m_rcCtrl = kRect;
    ctrl->m_bVisible = true;
    EXPECT_FALSE(ctrl->LoadImage());
    QImage surface = MakeSurface(48, 48);
    ctrl->Draw(&surface);
    ctrl->Draw(nullptr);
    EXPECT_TRUE(IsClear(surface));
    EXPECT_TRUE(ctrl->HitDown(kRect.left, kRect.top));
}

TEST_P(GuiCtlDrawKind, SecondLoadKeepsFirstImage) {
    auto ctrl = Make(*GetParam(), 0);
    const QImage* first = ctrl->m_pImage.get();
    ctrl->m_strImagePath = WriteStrip(m_dir.path(), "Other.tksx", 4, 3, 3);
    EXPECT_FALSE(ctrl->LoadImage());
    EXPECT_EQ(ctrl->m_pImage.get(), first);
    ctrl->FreeImage();
    EXPECT_FALSE(ctrl->m_pImage);
    ctrl->FreeImage(); // nothing held: nothing happens
    EXPECT_TRUE(ctrl->LoadImage());
}

std::vector<const Kind*> KindPtrs() {
    std::vector<const Kind*> out;
    for (const Kind& kind : kKinds)
        out.push_back(&kind);
    return out;
}

INSTANTIATE_TEST_SUITE_P(Kinds, GuiCtlDrawKind, ::testing::ValuesIn(KindPtrs()),
                         [](const auto& info) { return std::string(info.param->name); });

TEST_F(GuiCtlDraw, ButtonLoadsFromResourceWhenItHasAnId) {
    CGUIGDIPlusMfcCtrlBtn btn;
    btn.m_strImagePath = m_path;
    btn.m_iResID = 101; // tests' resource: an 8 x 2 strip
    ASSERT_TRUE(btn.LoadImage());
    EXPECT_EQ(btn.m_pImage->size(), QSize(8, 2));

    CGUIGDIPlusMfcCtrlBtn missing;
    missing.m_strImagePath = m_path;
    missing.m_iResID = 4711;
    EXPECT_FALSE(missing.LoadImage());
}

struct EditTextCase {
    const char* name;
    int state;
    GUIColorRef expected; // 0x00BBGGRR
};

class GuiCtlEditBoxText : public GuiCtlDraw, public ::testing::WithParamInterface<EditTextCase> {};

TEST_P(GuiCtlEditBoxText, TextInStateColourAtAlpha254BelowTopInset) {
    // Fully transparent frames, so every visible pixel is text.
    QImage clear(4 * 40, 20, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const QString path = WritePng(m_dir.path(), "Clear.tksx", clear);

    CGUIGDIPlusMfcCtrlEditBox box;
    box.m_strImagePath = path;
    box.m_rcCtrl = GUIRect{4, 6, 44, 26};
    box.m_bVisible = true;
    box.m_uFontSize = 14;
    box.m_clrText = 0x00FFFFFF;
    box.m_clrTextDisabled = 0x00969696;
    box.m_iState = GetParam().state;
    ASSERT_TRUE(box.LoadImage());
    box.SetText("8888");

    QImage surface = MakeSurface(64, 40);
    box.Draw(&surface);
    const QRect ink = InkBounds(surface);
    ASSERT_FALSE(ink.isNull()) << "no text drawn";
    EXPECT_GE(ink.top(), 6 + 2);
    EXPECT_GE(ink.left(), 4);
    EXPECT_EQ(MaxAlpha(surface), 254);
    const QColor c = MostOpaqueColor(surface);
    EXPECT_EQ(c.red(), static_cast<int>(GetParam().expected & 0xFF));
    EXPECT_EQ(c.green(), static_cast<int>((GetParam().expected >> 8) & 0xFF));
    EXPECT_EQ(c.blue(), static_cast<int>((GetParam().expected >> 16) & 0xFF));
}

INSTANTIATE_TEST_SUITE_P(States, GuiCtlEditBoxText,
                         ::testing::Values(EditTextCase{"Normal", 0, 0x00FFFFFF},
                                           EditTextCase{"Focused", 2, 0x00FFFFFF},
                                           EditTextCase{"Disabled", 3, 0x00969696}),
                         [](const auto& info) { return std::string(info.param.name); });

// Slider: bar and thumb always show the same frame.
class GuiCtlSliderDraw : public GuiCtlDraw, public ::testing::WithParamInterface<int> {
protected:
    void Build(CGUIGDIPlusMfcCtrlSlider& slider) {
        slider.m_rcThumb = GUIRect{40, 5, 50, 15};
        slider.m_rcBar = GUIRect{5, 30, 45, 36};
        slider.m_strImagePath = WriteControlStrip(m_dir, "Thumb.tksx", slider.m_rcThumb);
        slider.m_strImagePath2 = WriteControlStrip(m_dir, "Bar.tksx", slider.m_rcBar);
        slider.m_iOrient = CGUIGDIPlusMfcCtrlSlider::kVertical;
        slider.m_iStart = 10; // thumb centre at the first tick: top stays at 5
        slider.m_iEnd = 40;
        slider.m_iCount = 3;
        slider.m_bVisible = true;
    }
};

TEST_P(GuiCtlSliderDraw, BarAndThumbShowTheStateFrame) {
    CGUIGDIPlusMfcCtrlSlider slider;
    Build(slider);
    ASSERT_TRUE(slider.LoadImage());
    ASSERT_EQ(slider.m_rcThumb, (GUIRect{40, 5, 50, 15}));
    slider.m_iState = GetParam();
    QImage surface = MakeSurface(64, 48);
    slider.Draw(&surface);
    EXPECT_EQ(FrameAt(surface, {40, 5}), GetParam());
    EXPECT_EQ(FrameAt(surface, {49, 14}), GetParam());
    EXPECT_EQ(FrameAt(surface, {5, 30}), GetParam());
    EXPECT_EQ(FrameAt(surface, {44, 35}), GetParam());
    EXPECT_TRUE(IsClear(surface, QRect(0, 16, 64, 14)));
}

INSTANTIATE_TEST_SUITE_P(States, GuiCtlSliderDraw, ::testing::Values(0, 1, 2, 3),
                         [](const auto& info) { return "State" + std::to_string(info.param); });

TEST_F(GuiCtlSliderDraw, HiddenOrMissingImageDrawsNothing) {
    CGUIGDIPlusMfcCtrlSlider hidden;
    Build(hidden);
    ASSERT_TRUE(hidden.LoadImage());
    hidden.m_bVisible = false;
    QImage surface = MakeSurface(64, 48);
    hidden.Draw(&surface);
    EXPECT_TRUE(IsClear(surface));

    CGUIGDIPlusMfcCtrlSlider noBar;
    Build(noBar);
    noBar.m_strImagePath2 = m_dir.filePath("missing.tksx");
    EXPECT_FALSE(noBar.LoadImage());
    noBar.Draw(&surface);
    EXPECT_TRUE(IsClear(surface));
}

} // namespace
