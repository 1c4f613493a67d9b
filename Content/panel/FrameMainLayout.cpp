// The panel's layout: every control group of the main frame with its descriptors, and
// building the controls from the skin.
#include "DebugTrace.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "TimingLimits.h"

namespace {

constexpr GUIColorRef kWhite = 0xFFFFFF;
constexpr GUIColorRef kAmber = 0x2DDCFF;
constexpr GUIColorRef kGrey = 0x969696;
constexpr unsigned char kLabelAlpha = 220;
constexpr int kDevBoxPitch = 75;

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

// Slots A0 to A31.
constexpr LabelRow kLabels[CGUIGDIPlusMfcFrameMain::kTextCount] = {
    {0, {36, 7, 1137, 27}, 12, kRegular, kLeft, kWhite, true},
    {1, {14, 111, 300, 131}, 16, kRegular, kLeft, kAmber, true},
    {3, {1104, 111, 1225, 131}, 12, kRegular, kLeft, kWhite, true},
    {4, {12, 230, 128, 250}, 12, kItalic, kLeft, kAmber, true},
    {5, {40, 258, 126, 283}, 12, kRegular, kLeft, kWhite, true},
    {6, {40, 288, 126, 313}, 12, kRegular, kLeft, kWhite, true},
    {7, {12, 321, 128, 341}, 12, kItalic, kLeft, kAmber, true},
    {8, {40, 350, 126, 375}, 12, kRegular, kLeft, kWhite, true},
    {9, {40, 380, 126, 405}, 12, kRegular, kLeft, kWhite, true},
    {10, {12, 415, 128, 435}, 12, kItalic, kLeft, kAmber, true},
    {11, {40, 443, 126, 468}, 12, kRegular, kLeft, kWhite, true},
    {12, {40, 473, 126, 498}, 12, kRegular, kLeft, kWhite, true},
    {13, {12, 506, 128, 526}, 12, kItalic, kLeft, kAmber, true},
    {14, {40, 536, 126, 561}, 12, kRegular, kLeft, kWhite, true},
    {15, {40, 566, 126, 591}, 12, kRegular, kLeft, kWhite, true},
    {16, {12, 602, 128, 622}, 12, kItalic, kLeft, kAmber, true},
    {17, {40, 632, 126, 657}, 12, kRegular, kLeft, kWhite, true},
    {18, {40, 662, 126, 687}, 12, kRegular, kLeft, kWhite, true},
    {19, {40, 692, 126, 717}, 12, kRegular, kLeft, kWhite, true},
    {20, {40, 722, 126, 747}, 12, kRegular, kLeft, kWhite, true},
    {21, {252, 262, 323, 282}, 14, kBoldItalic, kCentre, kAmber, true},
    {22, {335, 863, 352, 884}, 12, kRegular, kCentre, kWhite, true},
    {23, {572, 262, 663, 282}, 14, kBoldItalic, kCentre, kAmber, true},
    {24, {572, 313, 693, 333}, 12, kRegular, kRight, kWhite, true},
    {25, {572, 428, 693, 448}, 12, kRegular, kRight, kWhite, true},
    {26, {572, 501, 693, 521}, 12, kRegular, kRight, kWhite, true},
    {27, {572, 576, 693, 596}, 12, kRegular, kRight, kWhite, true},
    {28, {825, 428, 946, 448}, 12, kRegular, kRight, kWhite, true},
    {29, {825, 501, 946, 521}, 12, kRegular, kRight, kWhite, true},
    {30, {825, 576, 946, 596}, 12, kRegular, kRight, kWhite, true},
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
    {"GUIFrameMainCtrlSwitch_SerialCOM", {24, 53, 148, 89}, FrameMsg::kSwitchSerialCom, true, 0},
    {"GUIFrameMainCtrlSwitch_Pattern", {183, 53, 307, 89}, FrameMsg::kSwitchPattern, true, 0},
    {"GUIFrameMainCtrlSwitch_RGBW", {342, 53, 466, 89}, FrameMsg::kSwitchRgbw, true, 0},
};

constexpr const char* kAddInc = "GUIFrameMainCtrlBtn_AddInc";
constexpr const char* kAddDec = "GUIFrameMainCtrlBtn_AddDec";
constexpr std::uint32_t kAdj = FrameMsg::kBtnAdjustFirst;

constexpr StripRow kButtons[CGUIGDIPlusMfcFrameMain::kBtnCount] = {
    {"GUIFrameMainCtrlBtn_Exit", {1179, 4, 1227, 28}, FrameMsg::kBtnExit, true, 0},
    {"GUIFrameMainCtrlBtn_HWReset", {662, 55, 786, 87}, FrameMsg::kBtnHWReset, true, 0},
    // Hidden under the setting button: neither drawn nor hit.
    {"GUIFrameMainCtrlBtn_SWReset", {811, 55, 935, 87}, FrameMsg::kBtnSWReset, false, 0},
    {"GUIFrameMainCtrlBtn_Identify", {505, 55, 629, 87}, FrameMsg::kBtnIdentify, true, 0},
    {"GUIFrameMainCtrlBtn_Setting", {811, 55, 935, 87}, FrameMsg::kBtnSetting, true, 0},
    {"GUIFrameMainCtrlBtn_Apply", {1081, 55, 1205, 87}, FrameMsg::kBtnApply, true, 0},
    {"GUIFrameMainCtrlBtn_Set", {399, 866, 435, 882}, FrameMsg::kBtnSetUserRes, true, 0},
    // The +/- pairs of number boxes 2 to 8.
    {kAddInc, {741, 299, 775, 321}, kAdj + 0, true, 0},
    {kAddDec, {741, 322, 775, 348}, kAdj + 1, true, 0},
    {kAddInc, {741, 414, 775, 436}, kAdj + 2, true, 0},
    {kAddDec, {741, 437, 775, 463}, kAdj + 3, true, 0},
    {kAddInc, {741, 487, 775, 509}, kAdj + 4, true, 0},
    {kAddDec, {741, 510, 775, 536}, kAdj + 5, true, 0},
    {kAddInc, {741, 562, 775, 584}, kAdj + 6, true, 0},
    {kAddDec, {741, 585, 775, 611}, kAdj + 7, true, 0},
    {kAddInc, {994, 414, 1028, 436}, kAdj + 8, true, 0},
    {kAddDec, {994, 437, 1028, 463}, kAdj + 9, true, 0},
    {kAddInc, {994, 487, 1028, 509}, kAdj + 10, true, 0},
    {kAddDec, {994, 510, 1028, 536}, kAdj + 11, true, 0},
    {kAddInc, {994, 562, 1028, 584}, kAdj + 12, true, 0},
    {kAddDec, {994, 585, 1028, 611}, kAdj + 13, true, 0},
};
static_assert(kAdj + 13 == FrameMsg::kBtnAdjustLast, "fourteen adjusters");

constexpr const char* kRdoStd = "GUIFrameMainCtrlRdoBtn_STD";

using namespace TimingLimits;

struct EditRow {
    GUIRect rc;
    int max;
    int min;
    int state;
};

constexpr EditRow kEditBoxes[CGUIGDIPlusMfcFrameMain::kEditBoxCount] = {
    {{296, 864, 336, 883}, 99999, 0, CGUIGDIPlusMfcCtrlEditBox::kFocused},
    {{351, 864, 391, 883}, 9999, 0, 0},
    {{695, 313, 735, 332}, kVerticalRate.max, kVerticalRate.min, 0},
    {{695, 428, 735, 447}, kHorzBlank.max, kHorzBlank.min, 0},
    {{695, 501, 735, 520}, kHorzOffset.max, kHorzOffset.min, 0},
    {{695, 576, 735, 595}, kHorzSyncWidth.max, kHorzSyncWidth.min, 0},
    {{948, 428, 988, 447}, kVertBlank.max, kVertBlank.min, 0},
    {{948, 501, 988, 520}, kVertOffset.max, kVertOffset.min, 0},
    {{948, 576, 988, 595}, kVertSyncWidth.max, kVertSyncWidth.min, 0},
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

// Radio group: one skin, one message, rectangles by index, the first one checked.
template <size_t N>
bool BuildRadioGroup(CGUIGDIPlusMfcCtrlRdoBtn (&group)[N], const QString& path, std::uint32_t msg,
                     const GUIRect (&rects)[N]) {
    bool ok = true;
    for (size_t i = 0; i < N; ++i) {
        CGUIGDIPlusMfcCtrlRdoBtn d;
        FillStrip(d, path, StripRow{nullptr, rects[i], msg, true, i == 0 ? 1 : 0});
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
                  StripRow{nullptr, {45, 142, 70, 167}, FrameMsg::kRdoDevBox, false, 0});
        d.m_rcCtrl.Offset(kDevBoxPitch * i, 0);
        m_hGUICtrlRdoBtnDevBox[i].CopyFrom(d);
        ok = m_hGUICtrlRdoBtnDevBox[i].LoadImage() && ok;
    }

    for (int i = 0; i < kDevBoxCount; ++i) {
        CGUIGDIPlusMfcCtrlText d =
            LabelDescriptor(LabelRow{2, {23, 173, 89, 218}, 11, kRegular, kCentre, kWhite, false});
        d.m_rcCtrl.Offset(kDevBoxPitch * i, 0);
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
        d.m_rcCtrl = GUIRect{0, 0, 1235, 940};
        d.m_bVisible = true;
        d.m_iState = 0;
        m_hGUICtrlImageShadow[i].CopyFrom(d);
        ok = m_hGUICtrlImageShadow[i].LoadImage() && ok;
    }

    {
        CGUIGDIPlusMfcCtrlChkBox d;
        FillStrip(d, skin("GUIFrameMainCtrlChkBox_STD"),
                  StripRow{nullptr,
                           {1080, 113, 1098, 132},
                           FrameMsg::kChkBoxDevSettingSync,
                           true,
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
    ok = BuildRadioGroup(m_hGUICtrlRdoBtnHPol, rdo, FrameMsg::kRdoHorzPolarity,
                         {{17, 261, 36, 280}, {17, 289, 37, 308}}) &&
         ok;
    ok = BuildRadioGroup(m_hGUICtrlRdoBtnVPol, rdo, FrameMsg::kRdoVertPolarity,
                         {{17, 354, 36, 373}, {17, 382, 37, 401}}) &&
         ok;
    ok = BuildRadioGroup(m_hGUICtrlRdoBtnColor, rdo, FrameMsg::kRdoColorDepth,
                         {{17, 446, 36, 465}, {17, 474, 37, 493}}) &&
         ok;
    ok = BuildRadioGroup(m_hGUICtrlRdoBtnAudio, rdo, FrameMsg::kRdoAudioSupport,
                         {{17, 540, 36, 559}, {17, 568, 37, 587}}) &&
         ok;
    ok = BuildRadioGroup(
             m_hGUICtrlRdoBtnEDID, rdo, FrameMsg::kRdoEdidVersion,
             {{17, 635, 36, 654}, {17, 663, 37, 682}, {17, 695, 36, 714}, {17, 726, 37, 745}}) &&
         ok;

    {
        CGUIGDIPlusMfcCtrlSlider d;
        d.m_strImagePath = skin("GUIFrameMainCtrlSlider_ResolutionBtn");
        d.m_strImagePath2 = skin("GUIFrameMainCtrlSlider_ResolutionBar");
        d.m_rcThumb = GUIRect{274, 316, 297, 339};
        d.m_rcBar = GUIRect{278, 323, 293, 875};
        d.m_iStart = 323;
        d.m_iEnd = 875;
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
