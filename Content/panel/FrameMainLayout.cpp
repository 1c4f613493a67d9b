// The panel's layout: every control group of the main frame with its descriptors, and
// building the controls from the skin.
#include "DebugTrace.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "PanelGeometry.h"
#include "TimingLimits.h"

namespace {

constexpr GUIColorRef kWhite = 0xFFFFFF;
constexpr GUIColorRef kAmber = 0x2DDCFF;
constexpr GUIColorRef kGrey = 0x969696;
constexpr unsigned char kLabelAlpha = 220;

namespace pg = PanelGeometry;

constexpr GUIRect R(const pg::Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

enum Align { kLeft = 0, kCentre = 1, kRight = 2 };
enum Style { kRegular, kItalic, kBoldItalic };

struct LabelRow {
    int textIndex; // label list index; -1: empty
    GUIRect rc;
    unsigned size;
    Style style;
    Align align;
    GUIColorRef colour;
    bool visible;
};

constexpr const pg::RadioGroup* kGroups = pg::kRadioGroups;
constexpr const pg::ParamRow* kRows = pg::kParamRows;

// Slots A0 to A31.
constexpr LabelRow kLabels[CGUIGDIPlusMfcFrameMain::kTextCount] = {
    {0, R(pg::kTitleText), 12, kRegular, kLeft, kWhite, true},
    {1, R(pg::kModelLabel), 16, kRegular, kLeft, kAmber, true},
    {3, R(pg::kSyncLabel), 12, kRegular, kLeft, kWhite, true},
    {4, R(kGroups[0].heading), 12, kItalic, kLeft, kAmber, true},
    {5, R(kGroups[0].labels[0]), 12, kRegular, kLeft, kWhite, true},
    {6, R(kGroups[0].labels[1]), 12, kRegular, kLeft, kWhite, true},
    {7, R(kGroups[1].heading), 12, kItalic, kLeft, kAmber, true},
    {8, R(kGroups[1].labels[0]), 12, kRegular, kLeft, kWhite, true},
    {9, R(kGroups[1].labels[1]), 12, kRegular, kLeft, kWhite, true},
    {10, R(kGroups[2].heading), 12, kItalic, kLeft, kAmber, true},
    {11, R(kGroups[2].labels[0]), 12, kRegular, kLeft, kWhite, true},
    {12, R(kGroups[2].labels[1]), 12, kRegular, kLeft, kWhite, true},
    {13, R(kGroups[3].heading), 12, kItalic, kLeft, kAmber, true},
    {14, R(kGroups[3].labels[0]), 12, kRegular, kLeft, kWhite, true},
    {15, R(kGroups[3].labels[1]), 12, kRegular, kLeft, kWhite, true},
    {16, R(kGroups[4].heading), 12, kItalic, kLeft, kAmber, true},
    {17, R(kGroups[4].labels[0]), 12, kRegular, kLeft, kWhite, true},
    {18, R(kGroups[4].labels[1]), 12, kRegular, kLeft, kWhite, true},
    {19, R(kGroups[4].labels[2]), 12, kRegular, kLeft, kWhite, true},
    {20, R(kGroups[4].labels[3]), 12, kRegular, kLeft, kWhite, true},
    {21, R(pg::kResHeading), 14, kBoldItalic, kCentre, kAmber, true},
    {22, R(pg::kUserTimes), 12, kRegular, kCentre, kWhite, true},
    {23, R(pg::kParamHeading), 14, kBoldItalic, kCentre, kAmber, true},
    {24, R(kRows[0].label), 12, kRegular, kRight, kWhite, true},
    {25, R(kRows[1].label), 12, kRegular, kRight, kWhite, true},
    {26, R(kRows[2].label), 12, kRegular, kRight, kWhite, true},
    {27, R(kRows[3].label), 12, kRegular, kRight, kWhite, true},
    {28, R(kRows[4].label), 12, kRegular, kRight, kWhite, true},
    {29, R(kRows[5].label), 12, kRegular, kRight, kWhite, true},
    {30, R(kRows[6].label), 12, kRegular, kRight, kWhite, true},
    {-1, {0, 0, 0, 0}, 0, kRegular, kLeft, 0, false},
    {-1, {0, 0, 0, 0}, 0, kRegular, kLeft, 0, false},
};

struct StripRow {
    const char* stem;
    GUIRect rc;
    std::uint32_t msg;
    bool visible;
    int state;
};

constexpr StripRow kSwitches[CGUIGDIPlusMfcFrameMain::kSwitchCount] = {
    {"GUIFrameMainCtrlSwitch_SerialCOM", R(pg::kSwitches[0]), FrameMsg::kSwitchSerialCom, true, 0},
    {"GUIFrameMainCtrlSwitch_Pattern", R(pg::kSwitches[1]), FrameMsg::kSwitchPattern, true, 0},
    {"GUIFrameMainCtrlSwitch_RGBW", R(pg::kSwitches[2]), FrameMsg::kSwitchRgbw, true, 0},
};

constexpr const char* kAddInc = "GUIFrameMainCtrlBtn_AddInc";
constexpr const char* kAddDec = "GUIFrameMainCtrlBtn_AddDec";
constexpr std::uint32_t kAdj = FrameMsg::kBtnAdjustFirst;

// A +/- pair of a number box 2 to 8, from its row of the parameter area.
constexpr StripRow Inc(int row) {
    return {kAddInc, R(kRows[row].inc), kAdj + 2u * unsigned(row), true, 0};
}
constexpr StripRow Dec(int row) {
    return {kAddDec, R(kRows[row].dec), kAdj + 2u * unsigned(row) + 1u, true, 0};
}

constexpr StripRow kButtons[CGUIGDIPlusMfcFrameMain::kBtnCount] = {
    {"GUIFrameMainCtrlBtn_Exit", R(pg::kExit), FrameMsg::kBtnExit, true, 0},
    {"GUIFrameMainCtrlBtn_HWReset", R(pg::kHWReset), FrameMsg::kBtnHWReset, true, 0},
    // Hidden under the setting button: neither drawn nor hit.
    {"GUIFrameMainCtrlBtn_SWReset", R(pg::kSWReset), FrameMsg::kBtnSWReset, false, 0},
    {"GUIFrameMainCtrlBtn_Identify", R(pg::kIdentify), FrameMsg::kBtnIdentify, true, 0},
    {"GUIFrameMainCtrlBtn_Setting", R(pg::kSetting), FrameMsg::kBtnSetting, true, 0},
    {"GUIFrameMainCtrlBtn_Apply", R(pg::kApply), FrameMsg::kBtnApply, true, 0},
    {"GUIFrameMainCtrlBtn_Set", R(pg::kSet), FrameMsg::kBtnSetUserRes, true, 0},
    Inc(0),
    Dec(0),
    Inc(1),
    Dec(1),
    Inc(2),
    Dec(2),
    Inc(3),
    Dec(3),
    Inc(4),
    Dec(4),
    Inc(5),
    Dec(5),
    Inc(6),
    Dec(6),
};
static_assert(kAdj + 13 == FrameMsg::kBtnAdjustLast, "fourteen adjusters");
// The background draws a bay per device and a notch per slider stop.
static_assert(pg::kDeviceCount == CGUIGDIPlusMfcFrameMain::kDevBoxCount, "a bay per device box");
static_assert(pg::kSliderStops == kSliderPositionCount, "a notch per slider position");

constexpr const char* kRdoStd = "GUIFrameMainCtrlRdoBtn_STD";

using namespace TimingLimits;

struct EditRow {
    GUIRect rc;
    int max;
    int min;
    int state;
};

constexpr EditRow kEditBoxes[CGUIGDIPlusMfcFrameMain::kEditBoxCount] = {
    {R(pg::kUserWidthBox), 99999, 0, CGUIGDIPlusMfcCtrlEditBox::kFocused},
    {R(pg::kUserHeightBox), 9999, 0, 0},
    {R(kRows[0].box), kVerticalRate.max, kVerticalRate.min, 0},
    {R(kRows[1].box), kHorzBlank.max, kHorzBlank.min, 0},
    {R(kRows[2].box), kHorzOffset.max, kHorzOffset.min, 0},
    {R(kRows[3].box), kHorzSyncWidth.max, kHorzSyncWidth.min, 0},
    {R(kRows[4].box), kVertBlank.max, kVertBlank.min, 0},
    {R(kRows[5].box), kVertOffset.max, kVertOffset.min, 0},
    {R(kRows[6].box), kVertSyncWidth.max, kVertSyncWidth.min, 0},
};

CGUIGDIPlusMfcCtrlText LabelDescriptor(const LabelRow& row) {
    CGUIGDIPlusMfcCtrlText d;
    if (row.textIndex >= 0) d.m_strText = GUITextTable::Instance().GetLabel(row.textIndex);
    d.m_rcCtrl = row.rc;
    d.m_strFace = QStringLiteral("Arial");
    d.m_uSize = row.size;
    d.m_bBold = row.style == kBoldItalic;
    d.m_bItalic = row.style != kRegular;
    d.m_iAlign = row.align;
    d.m_clrText = row.colour;
    d.m_iAngle = 0;
    d.m_byAlpha = kLabelAlpha;
    d.m_bVisible = row.visible;
    d.m_bDisabled = false;
    return d;
}

template <typename Strip> void FillStrip(Strip& d, const QString& path, const StripRow& row) {
    d.m_strImagePath = path;
    d.m_strExtra.clear();
    d.m_rcCtrl = row.rc;
    d.m_bVisible = row.visible;
    d.m_iSpare = 0;
    d.m_bBusy = false;
    d.m_uMsg = row.msg;
    d.m_iState = row.state;
}

// Radio group G of the column: one skin, one message, its radios' places, the first one
// checked. A group of more radios than the table places would stand at (0, 0).
template <int G, size_t N>
bool BuildRadioGroup(CGUIGDIPlusMfcCtrlRdoBtn (&group)[N], const QString& path, std::uint32_t msg) {
    static_assert(N == size_t(kGroups[G].count), "the table places every radio of the group");
    bool ok = true;
    for (size_t i = 0; i < N; ++i) {
        CGUIGDIPlusMfcCtrlRdoBtn d;
        FillStrip(d, path, StripRow{nullptr, R(kGroups[G].radios[i]), msg, true, i == 0 ? 1 : 0});
        group[i].CopyFrom(d);
        ok = group[i].LoadImage() && ok;
    }
    return ok;
}

} // namespace

int CGUIGDIPlusMfcFrameMain::BuildControls() {
    m_strSkinPath = m_strSkinDir;
    const auto skin = [this](const char* stem) {
        return m_strSkinPath + QStringLiteral("GUIFrameMain/") + QLatin1String(stem) +
               QStringLiteral(".tksx");
    };

    // The backgrounds are not checked here; start-up checks the connected one.
    m_pImageBKEn = LoadSkinImageFile(skin("GUIFrameMainBKEn"));
    m_pImageBKDs = LoadSkinImageFile(skin("GUIFrameMainBKDs"));

    // A failed image does not stop the building: every control is built.
    bool ok = true;

    for (int i = 0; i < kTextCount; ++i)
        m_hGUICtrlText[i].CopyFrom(LabelDescriptor(kLabels[i]));

    for (int i = 0; i < kDevBoxCount; ++i) {
        CGUIGDIPlusMfcCtrlRdoBtn d;
        FillStrip(d, skin("GUIFrameMainCtrlRdoBtn_DeviceBox"),
                  StripRow{nullptr, R(pg::deviceButton(i)), FrameMsg::kRdoDevBox, false, 0});
        m_hGUICtrlRdoBtnDevBox[i].CopyFrom(d);
        ok = m_hGUICtrlRdoBtnDevBox[i].LoadImage() && ok;
    }

    for (int i = 0; i < kDevBoxCount; ++i) {
        CGUIGDIPlusMfcCtrlText d = LabelDescriptor(
            LabelRow{2, R(pg::deviceLabel(i)), 11, kRegular, kCentre, kWhite, false});
        m_hGUICtrlTextDevBox[i].CopyFrom(d);
    }

    for (auto& label : m_hGUICtrlTextRes)
        label.CopyFrom(
            LabelDescriptor(LabelRow{-1, {0, 0, 0, 0}, 12, kRegular, kLeft, kWhite, true}));

    const char* const shades[kShadowCount] = {"GUIFrameMainBKShadowSetting",
                                              "GUIFrameMainBKShadowPure"};
    for (int i = 0; i < kShadowCount; ++i) {
        CGUIGDIPlusMfcCtrlImage d;
        d.m_strImagePath = skin(shades[i]);
        d.m_rcCtrl = R(pg::kPanel);
        d.m_bVisible = true;
        d.m_iState = 0;
        m_hGUICtrlImageShadow[i].CopyFrom(d);
        ok = m_hGUICtrlImageShadow[i].LoadImage() && ok;
    }

    {
        CGUIGDIPlusMfcCtrlChkBox d;
        FillStrip(d, skin("GUIFrameMainCtrlChkBox_STD"),
                  StripRow{nullptr, R(pg::kSyncCheck), FrameMsg::kChkBoxDevSettingSync, true,
                           CGUIGDIPlusMfcCtrlCheckable::kOn});
        m_hGUICtrlChkBox[0].CopyFrom(d);
        ok = m_hGUICtrlChkBox[0].LoadImage() && ok;
    }

    for (int i = 0; i < kSwitchCount; ++i) {
        CGUIGDIPlusMfcCtrlSwitch d;
        FillStrip(d, skin(kSwitches[i].stem), kSwitches[i]);
        m_hGUICtrlSwitch[i].CopyFrom(d);
        ok = m_hGUICtrlSwitch[i].LoadImage() && ok;
    }

    for (int i = 0; i < kBtnCount; ++i) {
        CGUIGDIPlusMfcCtrlBtn d;
        FillStrip(d, skin(kButtons[i].stem), kButtons[i]);
        d.m_iResID = 0;
        m_hGUICtrlBtn[i].CopyFrom(d);
        ok = m_hGUICtrlBtn[i].LoadImage() && ok;
    }

    const QString rdo = skin(kRdoStd);
    ok = BuildRadioGroup<0>(m_hGUICtrlRdoBtnHPol, rdo, FrameMsg::kRdoHorzPolarity) && ok;
    ok = BuildRadioGroup<1>(m_hGUICtrlRdoBtnVPol, rdo, FrameMsg::kRdoVertPolarity) && ok;
    ok = BuildRadioGroup<2>(m_hGUICtrlRdoBtnColor, rdo, FrameMsg::kRdoColorDepth) && ok;
    ok = BuildRadioGroup<3>(m_hGUICtrlRdoBtnAudio, rdo, FrameMsg::kRdoAudioSupport) && ok;
    ok = BuildRadioGroup<4>(m_hGUICtrlRdoBtnEDID, rdo, FrameMsg::kRdoEdidVersion) && ok;

    {
        CGUIGDIPlusMfcCtrlSlider d;
        d.m_strImagePath = skin("GUIFrameMainCtrlSlider_ResolutionBtn");
        d.m_strImagePath2 = skin("GUIFrameMainCtrlSlider_ResolutionBar");
        d.m_rcThumb = R(pg::kSliderThumb);
        d.m_rcBar = R(pg::kSliderBar);
        d.m_iStart = pg::kSliderStart;
        d.m_iEnd = pg::kSliderEnd;
        d.m_iCount = kSliderPositionCount;
        d.m_iSpare = kSliderPositionCount;
        d.m_bVisible = true;
        d.m_uMsg = FrameMsg::kSliderResolution;
        d.m_iOrient = CGUIGDIPlusMfcCtrlSlider::kVertical;
        d.m_iSnap = 1;
        d.m_iState = 0;
        m_hGUICtrlSliderRes.CopyFrom(d);
        ok = m_hGUICtrlSliderRes.LoadImage() && ok;
    }

    for (int i = 0; i < kEditBoxCount; ++i) {
        CGUIGDIPlusMfcCtrlEditBox d;
        d.m_strImagePath = skin("GUIFrameMainCtrlEditBox");
        d.m_rcCtrl = kEditBoxes[i].rc;
        d.m_clrText = kWhite;
        d.m_clrTextDisabled = kGrey;
        d.m_uFontSize = 12;
        d.m_iMax = kEditBoxes[i].max;
        d.m_iMin = kEditBoxes[i].min;
        d.m_bVisible = true;
        d.m_iMaxLen = 5;
        d.m_bReadOnly = false;
        d.m_iMode = CGUIGDIPlusMfcCtrlEditBox::kModeNumber;
        d.m_iState = kEditBoxes[i].state;
        m_hGUICtrlEditBox[i].CopyFrom(d);
        ok = m_hGUICtrlEditBox[i].LoadImage() && ok;
    }

    RZ8_TRACE("[D]BuildControls %d\n", ok ? 1 : 0);
    return ok ? 1 : 0;
}
