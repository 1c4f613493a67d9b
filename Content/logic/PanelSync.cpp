// Which control shows which field of the configuration record: the record put on the
// panel, and the panel's timing boxes taken back and written to the controllers.
#include "DebugTrace.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "RZ8Frames.h"

#include <algorithm>

namespace {

// Unchecks the whole group, then checks one radio (a disabled radio keeps its state).
template <size_t N> void CheckOnly(CGUIGDIPlusMfcCtrlRdoBtn (&group)[N], unsigned index) {
    for (auto& radio : group)
        radio.SetCheck(false);
    if (index < N) group[index].SetCheck(true);
}

uint8_t Low8(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}

} // namespace

bool CGUIGDIPlusMfcFrameMain::IsSameRZ8Setting(const RZ8Full& a, const RZ8Full& b) {
    const RZ8Data& x = a.hRZ8Data;
    const RZ8Data& y = b.hRZ8Data;
    return a.hp() == b.hp() && a.vp() == b.vp() && a.DID_Ver() == b.DID_Ver() &&
           a.audiobit() == b.audiobit() && a.color_10bit() == b.color_10bit() &&
           a.VRStored() == b.VRStored() && x.I_output_mode == y.I_output_mode && x.VO == y.VO &&
           x.HO == y.HO && x.HSW == y.HSW && x.VSW == y.VSW && a.iHLimit() == b.iHLimit() &&
           x.iVLimit == y.iVLimit;
}

bool CGUIGDIPlusMfcFrameMain::IsSameBoxID(const RZ8Full& a, const RZ8Full& b) {
    return a.box_id == b.box_id;
}

void CGUIGDIPlusMfcFrameMain::APIPR_UpdateWholeUIFromData(const RZ8Full& hRecord) {
    const RZ8Data& d = hRecord.hRZ8Data;
    RZ8_TRACE("[D]APIPR_UpdateWholeUIFromData %x %x %c %c\n", hRecord.model, hRecord.fw_ver,
              hRecord.model, hRecord.fw_ver);
    RZ8_TRACE("[D]APIPR_SliderResPosAssignment h=%d v=%d ResolutionCount=%d\n  "
              "APIPR_UpdateFrame-->clear m_wHPIXEL,m_wVPIXEL value",
              m_wHPIXEL, m_wVPIXEL, kSliderPositionCount);

    // The first radio of each polarity pair is "+", which is bit value 1.
    CheckOnly(m_hGUICtrlRdoBtnHPol, hRecord.hp() ? 0 : 1);
    RZ8_TRACE("[D][HV]APIPR_UpdateWholeUIFromData hv %d %d\n", hRecord.hp(), hRecord.vp());
    CheckOnly(m_hGUICtrlRdoBtnVPol, hRecord.vp() ? 0 : 1);
    CheckOnly(m_hGUICtrlRdoBtnColor, hRecord.color_10bit());
    // "On" comes first.
    CheckOnly(m_hGUICtrlRdoBtnAudio, hRecord.audiobit() ? 0 : 1);
    CheckOnly(m_hGUICtrlRdoBtnEDID, hRecord.DID_Ver());

    for (int btn : {9, 10, 15, 16})
        m_hGUICtrlBtn[btn].SetEnable(true);
    m_hGUICtrlEditBox[kEditHBlank].SetEnable(true);
    m_hGUICtrlEditBox[kEditHOffset].SetEnable(true);

    RZ8_TRACE("[D][HB][SET GUI]APIPR_UpdateFrame %d fpga hb=%x(GUI=%x)\n", m_hRZ8DevBoxMode,
              unsigned(d.iHLimitBE[0] | d.iHLimitBE[1] << 8),
              unsigned(m_hGUICtrlEditBox[kEditHBlank].GetNumber()));
    m_wHBlank = hRecord.iHLimit();
    m_hGUICtrlEditBox[kEditHBlank].SetNumber(m_wHBlank);

    m_hGUICtrlEditBox[kEditVBlank].SetNumber(d.iVLimit);
    m_hGUICtrlEditBox[kEditHOffset].SetNumber(d.HO);
    m_hGUICtrlEditBox[kEditVOffset].SetNumber(d.VO);
    m_hGUICtrlEditBox[kEditHSyncWidth].SetNumber(d.HSW);
    m_hGUICtrlEditBox[kEditVSyncWidth].SetNumber(d.VSW);
    m_hGUICtrlEditBox[kEditVRate].SetNumber(hRecord.VRHz());

    RZ8_TRACE("[D]APIPR_SliderResPosAssignment h=%d v=%d ResolutionCount=%d\n", m_wHPIXEL,
              m_wVPIXEL, kSliderPositionCount);
    APIPR_SliderResPosAssignment(hRecord);
}

bool CGUIGDIPlusMfcFrameMain::APIPR_UpdateWholeDataFromUI(RZ8Full& hRecord) {
    // The boxes belong to the window's thread; Apply runs this on its worker.
    OnGuiThread([this, &hRecord] {
        RZ8Data& d = hRecord.hRZ8Data;
        const int hBlankBox = m_hGUICtrlEditBox[kEditHBlank].GetNumber();
        m_wHBlank = static_cast<uint16_t>(hBlankBox);
        RZ8_TRACE("[D][HB]APIPR_UpdateFrame %d fpga hb=%x(GUI=%x)\n", m_hRZ8DevBoxMode,
                  unsigned(m_wHBlank), unsigned(hBlankBox));
        hRecord.setIHLimit(m_wHBlank);
        // Typed values are not held to the adjusters' bounds; they keep what the field holds.
        d.iVLimit = Low8(m_hGUICtrlEditBox[kEditVBlank].GetNumber());
        d.HO = Low8(m_hGUICtrlEditBox[kEditHOffset].GetNumber());
        d.VO = Low8(m_hGUICtrlEditBox[kEditVOffset].GetNumber());
        d.HSW = Low8(m_hGUICtrlEditBox[kEditHSyncWidth].GetNumber());
        d.VSW = Low8(m_hGUICtrlEditBox[kEditVSyncWidth].GetNumber());
        hRecord.setVRHz(m_hGUICtrlEditBox[kEditVRate].GetNumber());
    });

    RZ8_TRACE("[D]APIPR_UpdateWholeDataFromUI read uart data VR=%d, DID_Ver=%d, vp=%d, hp=%d, "
              "color_10bit=%d, audiobit=%d\n",
              hRecord.VRHz(), hRecord.DID_Ver(), hRecord.vp(), hRecord.hp(), hRecord.color_10bit(),
              hRecord.audiobit());

    m_wApplyChange = 2;
    if (m_bDevSettingSync) {
        RZ8_TRACE("[D]APIPR_UpdateWholeDataFromUI check gui & uart data zephT3,zephT4,zephT5");
        if (!IsSameRZ8Setting(m_hDevRZ8Full, hRecord)) {
            m_wApplyChange = 1;
            // Every controller is written, also when one of them fails; each failure
            // gets its box, in box-ID order.
            const std::vector<int> answered =
                SendToOpenControllers(m_hCurRZ8Full, RZ8_BOOTCDE_SET_FULLDATA);
            ShowFailures(answered, TextMsg::kApplyFailA001);
            if (std::count(answered.begin(), answered.end(), 0) > 0) return false;
            // Nothing is read back from all of them: what was written is what they hold.
            // Taking the snapshot instead would make a later Apply of the earlier values
            // look like no change and write nothing.
            const RZ8Data written = hRecord.hRZ8Data; // hRecord may be m_hCurRZ8Full
            m_hCurRZ8Full = m_hTmpRZ8Full;
            m_hDevRZ8Full = m_hTmpRZ8Full;
            m_hDevRZ8Full.hRZ8Data = written;
            return true;
        }
    } else {
        OnGuiThread([this] { MakeCheckedDeviceCurrent(); });
        if (!IsSameRZ8Setting(m_hDevRZ8Full, hRecord)) {
            m_wApplyChange = 1;
            if (!SendToCurrentController(hRecord, RZ8_BOOTCDE_SET_FULLDATA)) {
                ShowFrameError(TextMsg::kApplyFailA001);
                return false;
            }
        }
        if (!IsSameBoxID(m_hDevRZ8Full, hRecord)) {
            const uint8_t newId = hRecord.box_id;
            if (!APIPR_SetRZ8FullData(hRecord, RZ8_BOOTCDE_SET_BOXID, newId, kCommandPauseMs)) {
                ShowFrameError(TextMsg::kApplyFailA002);
                return false;
            }
            m_pCurRZ8Dev->SetBoxId(newId);
            OnGuiThread([this] { RewriteDeviceBoxLabels(); });
        }
        RZ8_TRACE("[D]APIPR_UpdateWholeDataFromUI ");
        if (!APIPR_GetRZ8FullData(m_hTmpRZ8Full)) {
            RZ8_TRACE("[D][Error]APIPR_GetRZ8FullData fail");
            ShowFrameError(TextMsg::kApplyFailA004);
            return false;
        }
    }
    m_hDevRZ8Full = m_hTmpRZ8Full;
    m_hCurRZ8Full = m_hTmpRZ8Full;
    return true;
}

void CGUIGDIPlusMfcFrameMain::RewriteDeviceBoxLabels() {
    for (int i = 0; i < m_byDevCount; ++i) {
        const CRZ8Ctrl& dev = m_hRZ8Dev[i];
        m_hGUICtrlTextDevBox[i].SetText(
            FormatDeviceBoxText(dev.GetFwVer(), dev.GetComNumber(), dev.GetBoxId()));
    }
}

bool CGUIGDIPlusMfcFrameMain::MakeCheckedDeviceCurrent() {
    for (int i = 0; i < kDevBoxCount; ++i) {
        if (!m_hGUICtrlRdoBtnDevBox[i].GetCheck()) continue;
        SetCurrentDevice(i);
        return true;
    }
    return false;
}
