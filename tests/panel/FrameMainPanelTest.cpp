// The panel right after start-up: placement, title, not-connected looks, resolution
// labels, shades and the pixel boxes read back on every repaint.
#include "PanelTestFrame.h"
#include "ProcessFlags.h"

#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

namespace {

namespace pg = PanelGeometry;

const QSize kPanelSize = PanelSize();

using std::chrono::milliseconds;

TEST_F(PanelTest, StartUpShowsTheSplashForTwoAndAHalfSecondsThenPlacesThePanel) {
    bool splashShownDuringWait = false;
    QTimer::singleShot(0, m_frame.get(),
                       [&] { splashShownDuringWait = m_frame->m_hSplash.isVisible(); });
    StartUp();

    EXPECT_TRUE(splashShownDuringWait);
    EXPECT_GE(m_clock.elapsed(), milliseconds(2500));
    EXPECT_LT(m_clock.elapsed(), milliseconds(2600));
    EXPECT_FALSE(m_frame->m_hSplash.isVisible());

    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_EQ(m_frame->size(), kPanelSize);
    EXPECT_EQ(m_frame->pos(),
              QPoint((1600 - kPanelSize.width()) / 2, (1050 - kPanelSize.height()) / 2));
    EXPECT_EQ(m_frame->GetShownImage().size(), kPanelSize);
}

TEST_F(PanelTest, StartUpSetsTitleUserTextAndLowestTimings) {
    StartUp();
    EXPECT_EQ(m_frame->m_hGUICtrlText[0].m_strText, "nIVRA - v3.11");
    EXPECT_EQ(m_frame->m_strUserRes[0], "0000 * 0000");
    const char* const expected[] = {"0", "0", "20", "40", "10", "0", "0", "0", "0"};
    for (int i = 0; i < CGUIGDIPlusMfcFrameMain::kEditBoxCount; ++i)
        EXPECT_EQ(m_frame->m_hGUICtrlEditBox[i].GetText(), expected[i]) << "box " << i;
}

// One control's state right after start-up.
struct LookCase {
    const char* name;
    std::function<int(CGUIGDIPlusMfcFrameMain&)> state;
    int expected;
};

void PrintTo(const LookCase& c, std::ostream* os) {
    *os << c.name;
}

class NotConnectedLookTest : public PanelTest, public ::testing::WithParamInterface<LookCase> {};

TEST_P(NotConnectedLookTest, ShowsItsState) {
    StartUp();
    EXPECT_EQ(GetParam().state(*m_frame), GetParam().expected);
}

using F = CGUIGDIPlusMfcFrameMain;
INSTANTIATE_TEST_SUITE_P(
    AfterStartUp, NotConnectedLookTest,
    ::testing::Values(
        LookCase{"ExitButtonUsable", [](F& f) { return f.m_hGUICtrlBtn[0].GetState(); }, 0},
        LookCase{"SerialComSwitchUsable", [](F& f) { return f.m_hGUICtrlSwitch[0].GetState(); }, 0},
        LookCase{"PatternSwitchOffDisabled", [](F& f) { return f.m_hGUICtrlSwitch[1].GetState(); },
                 2},
        LookCase{"RgbwSwitchOffDisabled", [](F& f) { return f.m_hGUICtrlSwitch[2].GetState(); }, 2},
        LookCase{"HwResetDisabled", [](F& f) { return f.m_hGUICtrlBtn[1].GetState(); }, 3},
        LookCase{"IdentifyDisabled", [](F& f) { return f.m_hGUICtrlBtn[3].GetState(); }, 3},
        LookCase{"SettingDisabled", [](F& f) { return f.m_hGUICtrlBtn[4].GetState(); }, 3},
        LookCase{"ApplyDisabled", [](F& f) { return f.m_hGUICtrlBtn[5].GetState(); }, 3},
        LookCase{"SetDisabled", [](F& f) { return f.m_hGUICtrlBtn[6].GetState(); }, 3},
        LookCase{"FirstAdjusterDisabled", [](F& f) { return f.m_hGUICtrlBtn[7].GetState(); }, 3},
        LookCase{"LastAdjusterDisabled", [](F& f) { return f.m_hGUICtrlBtn[20].GetState(); }, 3},
        LookCase{"CheckBoxCheckedDisabled", [](F& f) { return f.m_hGUICtrlChkBox[0].GetState(); },
                 3},
        LookCase{"CheckedRadioDisabled", [](F& f) { return f.m_hGUICtrlRdoBtnHPol[0].GetState(); },
                 3},
        LookCase{"UncheckedRadioDisabled",
                 [](F& f) { return f.m_hGUICtrlRdoBtnHPol[1].GetState(); }, 2},
        LookCase{"EdidFirstCheckedDisabled",
                 [](F& f) { return f.m_hGUICtrlRdoBtnEDID[0].GetState(); }, 3},
        LookCase{"EdidLastDisabled", [](F& f) { return f.m_hGUICtrlRdoBtnEDID[3].GetState(); }, 2},
        LookCase{"DeviceRadioDisabled", [](F& f) { return f.m_hGUICtrlRdoBtnDevBox[0].GetState(); },
                 2},
        LookCase{"WidthBoxDisabled", [](F& f) { return f.m_hGUICtrlEditBox[0].GetState(); }, 3},
        LookCase{"LastNumberBoxDisabled", [](F& f) { return f.m_hGUICtrlEditBox[8].GetState(); },
                 3},
        LookCase{"SliderDisabled", [](F& f) { return f.m_hGUICtrlSliderRes.m_iState; }, 3},
        LookCase{"ShadeDisabledLook", [](F& f) { return f.m_hGUICtrlImageShadow[1].m_iState; }, 1},
        LookCase{"SoftwareResetHidden", [](F& f) { return int(f.m_hGUICtrlBtn[2].IsVisible()); },
                 0},
        LookCase{"SliderOnFirstTick", [](F& f) { return f.m_hGUICtrlSliderRes.GetPos(); }, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, EveryLabelButTheTitleIsGreyedAndDeviceColumnsAreHidden) {
    StartUp();
    EXPECT_FALSE(m_frame->m_hGUICtrlText[0].m_bDisabled);
    for (int i = 1; i < CGUIGDIPlusMfcFrameMain::kTextCount; ++i)
        EXPECT_TRUE(m_frame->m_hGUICtrlText[i].m_bDisabled) << "label A" << i;
    for (const auto& label : m_frame->m_hGUICtrlTextRes)
        EXPECT_TRUE(label.m_bDisabled);
    for (int i = 0; i < CGUIGDIPlusMfcFrameMain::kDevBoxCount; ++i) {
        EXPECT_FALSE(m_frame->m_hGUICtrlTextDevBox[i].IsVisible()) << "column " << i;
        EXPECT_FALSE(m_frame->m_hGUICtrlRdoBtnDevBox[i].IsVisible()) << "column " << i;
    }
}

// Controls that stand alone on the background: what shows there must be the background
// with exactly the control's disabled frame drawn over it.
struct PixelLookCase {
    const char* name;
    std::function<CGUIGDIPlusMfcCtrlStrip&(CGUIGDIPlusMfcFrameMain&)> ctrl;
    int frame;
};

void PrintTo(const PixelLookCase& c, std::ostream* os) {
    *os << c.name;
}

class PixelLookTest : public PanelTest, public ::testing::WithParamInterface<PixelLookCase> {};

TEST_P(PixelLookTest, TheDisabledFrameIsWhatShows) {
    StartUp();
    CGUIGDIPlusMfcCtrlStrip& ctrl = GetParam().ctrl(*m_frame);
    QImage expected = Backdrop();
    DrawSkinFrame(&expected, ctrl.m_pImage.get(), GetParam().frame, 4, ctrl.m_rcCtrl);
    EXPECT_TRUE(SameInside(m_frame->GetShownImage(), expected, ctrl.m_rcCtrl));

    // A wrong frame would be told apart: the enabled look differs there.
    QImage enabledLook = Backdrop();
    DrawSkinFrame(&enabledLook, ctrl.m_pImage.get(), GetParam().frame & 1, 4, ctrl.m_rcCtrl);
    EXPECT_FALSE(SameInside(expected, enabledLook, ctrl.m_rcCtrl));
}

INSTANTIATE_TEST_SUITE_P(
    AfterStartUp, PixelLookTest,
    ::testing::Values(
        PixelLookCase{"HwResetButton",
                      [](F& f) -> CGUIGDIPlusMfcCtrlStrip& { return f.m_hGUICtrlBtn[1]; }, 3},
        PixelLookCase{"SettingButtonNotSoftwareReset",
                      [](F& f) -> CGUIGDIPlusMfcCtrlStrip& { return f.m_hGUICtrlBtn[4]; }, 3},
        PixelLookCase{"PatternSwitch",
                      [](F& f) -> CGUIGDIPlusMfcCtrlStrip& { return f.m_hGUICtrlSwitch[1]; }, 2},
        PixelLookCase{"CheckBoxCheckedAndDisabled",
                      [](F& f) -> CGUIGDIPlusMfcCtrlStrip& { return f.m_hGUICtrlChkBox[0]; }, 3},
        PixelLookCase{"FirstEdidRadio",
                      [](F& f) -> CGUIGDIPlusMfcCtrlStrip& { return f.m_hGUICtrlRdoBtnEDID[0]; },
                      3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, HiddenDeviceColumnsLeaveTheBackgroundAndFoundOnesShow) {
    StartUp();
    // A device column: its label's width, from above its radio to below its label.
    const auto column = [](int i) {
        return GUIRect{pg::deviceLabel(i).left, pg::deviceButton(i).top - 2,
                       pg::deviceLabel(i).right, pg::deviceLabel(i).bottom + 2};
    };
    // From column i to the row's end.
    const auto columnsFrom = [&column](int i) {
        GUIRect r = column(i);
        r.right = column(pg::kDeviceCount - 1).right + 10;
        return r;
    };
    const GUIRect columns = columnsFrom(0);
    EXPECT_TRUE(SameInside(m_frame->GetShownImage(), Backdrop(), columns));

    // Three controllers found: their columns show, the other thirteen stay bare.
    for (int i = 0; i < 3; ++i) {
        m_frame->m_hGUICtrlTextDevBox[i].SetVisible(true);
        m_frame->m_hGUICtrlRdoBtnDevBox[i].SetVisible(true);
    }
    m_frame->RepaintFrame();
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(SameInside(m_frame->GetShownImage(), Backdrop(), column(i))) << "column " << i;
    }
    EXPECT_TRUE(SameInside(m_frame->GetShownImage(), Backdrop(), columnsFrom(3)));
}

// Resolution label i beside tick i, with the triple-width list before any connect.
struct TickCase {
    int index;
    int top;
    const char* text;
};

class ResolutionLabelTest : public PanelTest, public ::testing::WithParamInterface<TickCase> {};

TEST_P(ResolutionLabelTest, StandsAtItsTick) {
    StartUp();
    const CGUIGDIPlusMfcCtrlText& label = m_frame->m_hGUICtrlTextRes[GetParam().index];
    EXPECT_EQ(label.m_rcCtrl, (GUIRect{299, GetParam().top, 380, GetParam().top + 19}));
    EXPECT_EQ(label.m_strText, GetParam().text);
    EXPECT_EQ(m_frame->m_vecSliderTickPos.at(size_t(GetParam().index)), GetParam().top);
}

INSTANTIATE_TEST_SUITE_P(
    Slider, ResolutionLabelTest,
    ::testing::Values(TickCase{0, 312, "3840 x 1024"}, TickCase{1, 373, "4098 x 768"},
                      TickCase{2, 434, "4320 x 900"}, TickCase{3, 495, "4320 x 1050"},
                      TickCase{4, 556, "4800 x 900"}, TickCase{5, 617, "4800 x 1200"},
                      TickCase{6, 678, "5040 x 1050"}, TickCase{7, 739, "5760 x 1080"},
                      TickCase{8, 800, "5760 x 1200"}, TickCase{9, 864, ""}),
    [](const auto& info) { return "Label" + std::to_string(info.param.index); });

TEST_F(PanelTest, UserDefinedModeMovesTheThumbAndShowsWidthAndHeightInTheBoxes) {
    StartUp();
    m_frame->m_hGUICtrlTextRes[9].SetText("kept");
    m_frame->m_wHPIXEL = 1920;
    m_frame->m_wVPIXEL = 1080;
    RZ8Full record{};
    record.hRZ8Data.I_output_mode = 9;
    m_frame->APIPR_SliderResPosAssignment(record);

    EXPECT_EQ(m_frame->m_hGUICtrlSliderRes.GetPos(), 9);
    EXPECT_EQ(m_frame->m_hGUICtrlSliderRes.m_rcThumb.top, 864);
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[0].GetText(), "1920");
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[1].GetText(), "1080");
    EXPECT_EQ(m_frame->m_hGUICtrlTextRes[9].m_strText, "kept");

    // A mode beyond the ticks leaves the thumb; the labels are laid out all the same.
    record.hRZ8Data.I_output_mode = 12;
    m_frame->m_hGUICtrlTextRes[3].SetRect(0, 0, 0, 0);
    m_frame->APIPR_SliderResPosAssignment(record);
    EXPECT_EQ(m_frame->m_hGUICtrlSliderRes.GetPos(), 9);
    EXPECT_EQ(m_frame->m_hGUICtrlTextRes[3].m_rcCtrl, PanelRect(pg::resLabel(3)));
}

struct ShadeCase {
    const char* name;
    int mode;
    bool panelEnabled;
};

void PrintTo(const ShadeCase& c, std::ostream* os) {
    *os << c.name;
}

class ShadeTest : public PanelTest, public ::testing::WithParamInterface<ShadeCase> {
protected:
    QImage ShownWithShade(int mode) {
        m_frame->m_nShadeMode = mode;
        m_frame->RepaintFrame();
        return m_frame->GetShownImage();
    }
};

TEST_P(ShadeTest, CoversTheWholePanel) {
    StartUp();
    m_frame->EnableAllCtrl(GetParam().panelEnabled);
    QImage expected = ShownWithShade(0);
    const int mode = GetParam().mode;
    const CGUIGDIPlusMfcCtrlImage& shade = m_frame->m_hGUICtrlImageShadow[mode - 1];
    {
        QPainter p(&expected);
        p.drawImage(QRectF(QPointF(0, 0), kPanelSize), *shade.m_pImage,
                    SkinFrameSource(*shade.m_pImage, shade.m_iState, 2));
    }
    EXPECT_EQ(ShownWithShade(mode), expected);
    EXPECT_NE(ShownWithShade(mode), ShownWithShade(0));
    // On the usable panel the two shades look different, so the wrong one would show.
    if (GetParam().panelEnabled) {
        EXPECT_NE(ShownWithShade(mode), ShownWithShade(3 - mode));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, ShadeTest,
                         ::testing::Values(ShadeCase{"SettingOverUsablePanel", 1, true},
                                           ShadeCase{"PureOverUsablePanel", 2, true},
                                           ShadeCase{"PureOverNotConnectedPanel", 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// What a repaint makes of the text in a pixel box.
struct PixelBoxCase {
    const char* name;
    int box;
    const char* typed;
    const char* shown;
    uint16_t stored;
};

void PrintTo(const PixelBoxCase& c, std::ostream* os) {
    *os << c.name;
}

class PixelBoxTest : public PanelTest, public ::testing::WithParamInterface<PixelBoxCase> {};

TEST_P(PixelBoxTest, RepaintReadsItBack) {
    StartUp();
    const PixelBoxCase& c = GetParam();
    m_frame->m_hGUICtrlEditBox[c.box].SetText(c.typed);
    m_frame->RepaintFrame();
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[c.box].GetText(), c.shown);
    EXPECT_EQ(c.box == 0 ? m_frame->m_wHPIXEL : m_frame->m_wVPIXEL, c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PixelBoxTest,
    ::testing::Values(PixelBoxCase{"LeadingZeros", 0, "0012", "12", 12},
                      PixelBoxCase{"HeightLeadingZeros", 1, "0768", "768", 768},
                      PixelBoxCase{"Empty", 0, "", "0", 0},
                      PixelBoxCase{"NoDigits", 1, "x9", "0", 0},
                      PixelBoxCase{"LargestWidth", 0, "65535", "65535", 65535},
                      // Never a wrapped value: what shows is what is stored.
                      PixelBoxCase{"BeyondSixteenBits", 0, "70000", "65535", 65535}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, DisablingTwiceKeepsChecksAndEnablingBringsThemBack) {
    StartUp();
    m_frame->EnableAllCtrl(false);
    EXPECT_EQ(m_frame->m_hGUICtrlChkBox[0].GetState(), CGUIGDIPlusMfcCtrlCheckable::kOnDisabled);
    EXPECT_EQ(m_frame->m_hGUICtrlRdoBtnAudio[0].GetState(),
              CGUIGDIPlusMfcCtrlCheckable::kOnDisabled);

    m_frame->EnableAllCtrl(true);
    EXPECT_EQ(m_frame->m_hGUICtrlChkBox[0].GetState(), CGUIGDIPlusMfcCtrlCheckable::kOn);
    EXPECT_EQ(m_frame->m_hGUICtrlRdoBtnAudio[0].GetState(), CGUIGDIPlusMfcCtrlCheckable::kOn);
    EXPECT_EQ(m_frame->m_hGUICtrlRdoBtnAudio[1].GetState(), CGUIGDIPlusMfcCtrlCheckable::kOff);
    EXPECT_EQ(m_frame->m_hGUICtrlBtn[5].GetState(), CGUIGDIPlusMfcCtrlBtn::kNormal);
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[3].GetState(), CGUIGDIPlusMfcCtrlEditBox::kNormal);
    EXPECT_EQ(m_frame->m_hGUICtrlSliderRes.m_iState, CGUIGDIPlusMfcCtrlSlider::kNormal);
    EXPECT_FALSE(m_frame->m_hGUICtrlText[5].m_bDisabled);
    // Hidden stays hidden.
    EXPECT_FALSE(m_frame->m_hGUICtrlBtn[2].IsVisible());
    EXPECT_FALSE(m_frame->m_hGUICtrlTextDevBox[0].IsVisible());

    // The serial-COM switch and Exit are never touched: a pressed-on switch stays on.
    m_frame->m_hGUICtrlSwitch[0].SetCheck(true);
    m_frame->EnableAllCtrl(false);
    EXPECT_EQ(m_frame->m_hGUICtrlSwitch[0].GetState(), CGUIGDIPlusMfcCtrlCheckable::kOn);
    EXPECT_EQ(m_frame->m_hGUICtrlBtn[0].GetState(), CGUIGDIPlusMfcCtrlBtn::kNormal);
}

TEST_F(PanelTest, ConnectedBackgroundWhileTheLinkIsOpen) {
    StartUp();
    g_bSerialOpen = true;
    m_frame->RepaintFrame();
    const QImage connected = m_frame->GetShownImage();
    g_bSerialOpen = false;
    m_frame->RepaintFrame();
    EXPECT_NE(connected, m_frame->GetShownImage());

    QImage expected(connected.size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    m_frame->GetPainter().DrawSkinImage(*m_frame->m_pImageBKEn, &expected, 0, 0, kPanelSize.width(),
                                        kPanelSize.height(), 255);
    // Between the toolbar and the device row nothing but the background is drawn.
    EXPECT_TRUE(SameInside(connected, expected, GUIRect{470, 95, 1000, 105}));
}

} // namespace

TEST_F(PanelTest, TypingGoesToTheClickedNumberBoxOnly) {
    StartUp();
    m_frame->EnableAllCtrl(true);
    std::vector<QString> before;
    for (const auto& box : m_frame->m_hGUICtrlEditBox)
        before.push_back(box.GetText());

    // "Horz Blank :" is box 3; a click there takes the focus from box 0.
    QTest::mouseClick(m_frame.get(), Qt::LeftButton, {}, QPoint(715, 437));
    QTest::keyClicks(m_frame.get(), "5");
    QTest::keyClick(m_frame.get(), Qt::Key_Escape); // taken by the panel, not a box

    for (int i = 0; i < CGUIGDIPlusMfcFrameMain::kEditBoxCount; ++i) {
        if (i == 3)
            EXPECT_EQ(m_frame->m_hGUICtrlEditBox[i].GetText(), before[i] + "5");
        else
            EXPECT_EQ(m_frame->m_hGUICtrlEditBox[i].GetText(), before[i]) << "box " << i;
    }
    EXPECT_TRUE(m_frame->m_hGUICtrlEditBox[3].IsFocused());
}
