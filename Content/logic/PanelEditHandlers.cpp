// The operator's edits on the panel: radio groups and the slider change the edited
// record at once; the +/- adjusters only change their timing box; the check box
// chooses between one controller and all of them for the next Apply.
#include "DebugTrace.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"

namespace {

// Checks radio index of its group and unchecks the others.
template <size_t N> void Select(CGUIGDIPlusMfcCtrlRdoBtn (&group)[N], std::uintptr_t index) {
    for (size_t i = 0; i < N; ++i)
        group[i].SetCheck(i == index);
}

// The clicked radio alone checked, its latch free, and the panel showing it.
template <size_t N>
void Pick(CGUIGDIPlusMfcFrameMain& frame, CGUIGDIPlusMfcCtrlRdoBtn (&group)[N],
          std::uintptr_t index) {
    Select(group, index);
    if (index < N) group[index].SetBusy(false);
    frame.RepaintFrame();
}

// Radio index 0 is the "+" of a polarity pair (bit 1) and "On" of audio (bit 1).
unsigned FirstIsOne(std::uintptr_t index) {
    return index == 0 ? 1u : 0u;
}

constexpr const char* kRule =
    "[D]-------------------------------------------------------------------------";

} // namespace

long CGUIGDIPlusMfcFrameMain::OnCtrlRdoBtnMsgHorzPolarity(std::uintptr_t wParam, std::intptr_t) {
    SelectPolarity(m_hGUICtrlRdoBtnHPol, wParam, "OnCtrlRdoBtnMsgHorzPolarity", "hp",
                   &RZ8Full::setHp, &RZ8Full::hp);
    return 0;
}

long CGUIGDIPlusMfcFrameMain::OnCtrlRdoBtnMsgVertPolarity(std::uintptr_t wParam, std::intptr_t) {
    SelectPolarity(m_hGUICtrlRdoBtnVPol, wParam, "OnCtrlRdoBtnMsgVertPolarity", "vp",
                   &RZ8Full::setVp, &RZ8Full::vp);
    return 0;
}

void CGUIGDIPlusMfcFrameMain::SelectPolarity(CGUIGDIPlusMfcCtrlRdoBtn (&group)[2],
                                             std::uintptr_t wParam, const char* handler,
                                             const char* field, void (RZ8Full::*set)(unsigned),
                                             unsigned (RZ8Full::*get)() const) {
    RZ8Full& r = m_hCurRZ8Full;
    // Both groups trace their first line under the vertical handler's name.
    RZ8_TRACE("[D][HV][SET GUI OnCtrlRdoBtnMsgVertPolarity] %d  %d\t\th=%d v=%d",
              int(group[0].GetCheck()), int(group[1].GetCheck()), r.hp(), r.vp());
    Pick(*this, group, wParam);
    (r.*set)(FirstIsOne(wParam));
    RZ8_TRACE("[D][HV][SET GUI %s]m_hCurRZ8Full.hRZ8Data.%s %d", handler, field, (r.*get)());
    RZ8_TRACE("[D][HV][SET GUI %s]m_hCurRZ8Full.hRZ8Data  %d %d", handler, r.hp(), r.vp());
    APIPR_SliderResPosAssignment(r);
    RZ8_TRACE("[D][HV][SET GUI %s]m_hCurRZ8Full.hRZ8Data  %d %d", handler, r.hp(), r.vp());
    RZ8_TRACE("%s", kRule);
}

long CGUIGDIPlusMfcFrameMain::OnCtrlRdoBtnMsgColorDepth(std::uintptr_t wParam, std::intptr_t) {
    Pick(*this, m_hGUICtrlRdoBtnColor, wParam);
    // "8 Bit" first, "10 Bit" second.
    m_hCurRZ8Full.setColor_10bit(wParam == 1 ? 1u : 0u);
    APIPR_SliderResPosAssignment(m_hCurRZ8Full);
    return 0;
}

long CGUIGDIPlusMfcFrameMain::OnCtrlRdoBtnMsgAudio(std::uintptr_t wParam, std::intptr_t) {
    Pick(*this, m_hGUICtrlRdoBtnAudio, wParam);
    m_hCurRZ8Full.setAudiobit(FirstIsOne(wParam));
    APIPR_SliderResPosAssignment(m_hCurRZ8Full);
    return 0;
}

long CGUIGDIPlusMfcFrameMain::OnCtrlRdoBtnMsgEDIDVer(std::uintptr_t wParam, std::intptr_t) {
    Pick(*this, m_hGUICtrlRdoBtnEDID, wParam);
    // Radio i stands for version code i; the field is two bits wide.
    if (wParam < std::size(m_hGUICtrlRdoBtnEDID)) m_hCurRZ8Full.setDID_Ver(unsigned(wParam));
    APIPR_SliderResPosAssignment(m_hCurRZ8Full);
    return 0;
}

long CGUIGDIPlusMfcFrameMain::OnCtrlSliderMsgRes(std::uintptr_t, std::intptr_t) {
    // Nothing goes to the controller until Apply.
    m_hCurRZ8Full.hRZ8Data.I_output_mode = static_cast<int8_t>(m_hGUICtrlSliderRes.GetPos());
    m_hGUICtrlSliderRes.SetBusy(false);
    return 0;
}

long CGUIGDIPlusMfcFrameMain::OnCtrlChkBoxMsgDevSettingSync(std::uintptr_t, std::intptr_t) {
    // The box has already flipped its own look; both start set.
    m_bDevSettingSync = !m_bDevSettingSync;
    m_hGUICtrlChkBox[0].SetBusy(false);
    RepaintFrame();
    return 0;
}

long CGUIGDIPlusMfcFrameMain::AdjustBox(int nBox, int nStep, std::uint32_t msg) {
    CGUIGDIPlusMfcCtrlEditBox& box = m_hGUICtrlEditBox[nBox];
    int v = box.GetNumber() + nStep;
    if (nStep > 0 && v >= box.m_iMax) v = box.m_iMax;
    if (nStep < 0 && v <= box.m_iMin) v = box.m_iMin;
    if (nBox == kEditVBlank) {
        if (nStep > 0)
            RZ8_TRACE("[D][HB][SET GUI]OnCtrlBtnMsgVBlankInc + %d\n", v);
        else
            RZ8_TRACE("[D][HB][SET GUI]OnCtrlBtnMsgVBlankInc - %d\n", v);
    }
    box.SetNumber(v);
    RepaintFrame();
    m_hGUICtrlBtn[kFirstAdjusterBtn + (msg - FrameMsg::kBtnAdjustFirst)].SetBusy(false);
    return 0;
}

// Messages of the adjusters, in pairs (+, -) per timing box.
#define KZTR_ADJUSTER(name, box, step, offset)                                                     \
    long CGUIGDIPlusMfcFrameMain::name(std::uintptr_t, std::intptr_t) {                            \
        return AdjustBox(box, step, FrameMsg::kBtnAdjustFirst + (offset));                         \
    }
KZTR_ADJUSTER(OnCtrlBtnMsgVRateInc, kEditVRate, +1, 0)
KZTR_ADJUSTER(OnCtrlBtnMsgVRateDec, kEditVRate, -1, 1)
KZTR_ADJUSTER(OnCtrlBtnMsgHBlankInc, kEditHBlank, +1, 2)
KZTR_ADJUSTER(OnCtrlBtnMsgHBlankDec, kEditHBlank, -1, 3)
KZTR_ADJUSTER(OnCtrlBtnMsgHOffsetInc, kEditHOffset, +1, 4)
KZTR_ADJUSTER(OnCtrlBtnMsgHOffsetDec, kEditHOffset, -1, 5)
KZTR_ADJUSTER(OnCtrlBtnMsgHSyncWidthInc, kEditHSyncWidth, +1, 6)
KZTR_ADJUSTER(OnCtrlBtnMsgHSyncWidthDec, kEditHSyncWidth, -1, 7)
KZTR_ADJUSTER(OnCtrlBtnMsgVBlankInc, kEditVBlank, +1, 8)
KZTR_ADJUSTER(OnCtrlBtnMsgVBlankDec, kEditVBlank, -1, 9)
KZTR_ADJUSTER(OnCtrlBtnMsgVOffsetInc, kEditVOffset, +1, 10)
KZTR_ADJUSTER(OnCtrlBtnMsgVOffsetDec, kEditVOffset, -1, 11)
KZTR_ADJUSTER(OnCtrlBtnMsgVSyncWidthInc, kEditVSyncWidth, +1, 12)
KZTR_ADJUSTER(OnCtrlBtnMsgVSyncWidthDec, kEditVSyncWidth, -1, 13)
#undef KZTR_ADJUSTER
