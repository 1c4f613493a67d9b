// The serial-COM switch: connecting finds every controller, orders them by box ID, reads
// the first one and fills the panel; disconnecting closes every link.
#include "AppVersion.h"
#include "DebugTrace.h"
#include "ErrorBox.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "ProcessFlags.h"
#include "RZ8Frames.h"

namespace {
const QString kMisnumberedText = QStringLiteral("Please reset the index number of BoxID!!");
const QString kMisnumberedCaption = QStringLiteral("KZTRMaster");

void TracePixelCounts(uint16_t h, uint16_t v, int mode) {
    RZ8_TRACE("[D][GET HV]RZ8_BOOTCDE_GET_VPIXEL h=%d v=%d I_output_mode=%d\n", h, v, mode);
}
} // namespace

int CGUIGDIPlusMfcFrameMain::FailUARTOpen() {
    // Left open, a port of this attempt would stand in for another COM number at the
    // next connect.
    CloseAllDeviceLinks();
    m_byDevCount = 0;
    SetCurrentDevice(0);
    return 0;
}

int CGUIGDIPlusMfcFrameMain::APIPR_UARTOpen() {
    // Nothing may be open before the search: the probe uses device link 0.
    CloseAllDeviceLinks();
    APIPR_UARTScanPorts();
    const int misnumbered = APIPR_UARTOpenFoundPorts();
    if (m_byDevCount == 0 || !m_pCurRZ8Dev->IsOpen()) return FailUARTOpen();

    EnableAllCtrl(true);
    if (!APIPR_GetRZ8FullData(m_hTmpRZ8Full)) return FailUARTOpen();
    m_hOldRZ8Full = m_hTmpRZ8Full;
    const char model = char(m_hOldRZ8Full.model);
    m_hRZ8DevBoxMode = BoxModeFromModelLetter(model);

    RZ8_TRACE("D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_EDID\n");
    const uint8_t boxId = m_pCurRZ8Dev->GetBoxId();
    if (!APIPR_SetRZ8FullData(m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, boxId, kCommandPauseMs))
        return FailUARTOpen();

    m_hGUICtrlBtn[kBtnSetUserRes].SetVisible(true);
    const QString label = ModelLabel(model, HV_Polarity);
    m_hRZ8DevBoxMode = BoxModeFromModelLetter(model);
    if (!ModelHasSetButton(model)) m_hGUICtrlBtn[kBtnSetUserRes].SetVisible(false);
    APIPR_SetModelName(label);
    RZ8_TRACE("D][HB]APIPR_UARTOpen model=%c m_hRZ8DevBoxMode=%d \n", model, m_hRZ8DevBoxMode);

    // The panel's user-defined width and height are what the controller answers.
    if (!APIPR_SetRZ8FullData(m_hTmpRZ8Full, RZ8_BOOTCDE_GET_HPIXEL, boxId, kCommandPauseMs))
        return FailUARTOpen();
    m_wHPIXEL = CurrentExchange().ReportedHPixel();
    if (!APIPR_SetRZ8FullData(m_hTmpRZ8Full, RZ8_BOOTCDE_GET_VPIXEL, boxId, kCommandPauseMs))
        return FailUARTOpen();
    m_wVPIXEL = CurrentExchange().ReportedVPixel();
    TracePixelCounts(m_wHPIXEL, m_wVPIXEL, m_hTmpRZ8Full.hRZ8Data.I_output_mode);

    for (int m = 0; m < m_byDevCount; ++m) {
        const CRZ8Ctrl& dev = m_hRZ8Dev[m];
        CGUIGDIPlusMfcCtrlRdoBtn& radio = m_hGUICtrlRdoBtnDevBox[m];
        radio.SetVisible(true);
        radio.SetCheck(m == m_byCurDev);
        m_hGUICtrlTextDevBox[m].SetVisible(true);
        m_hGUICtrlTextDevBox[m].SetText(
            FormatDeviceBoxText(dev.GetFwVer(), dev.GetComNumber(), dev.GetBoxId()));
    }

    TracePixelCounts(m_wHPIXEL, m_wVPIXEL, m_hTmpRZ8Full.hRZ8Data.I_output_mode);
    for (QString& text : m_strUserRes)
        text = UserResText(m_wHPIXEL, m_wVPIXEL);
    BuildSliderResInfo();

    m_hDevRZ8Full = m_hTmpRZ8Full;
    m_hCurRZ8Full = m_hTmpRZ8Full;
    TracePixelCounts(m_wHPIXEL, m_wVPIXEL, m_hCurRZ8Full.hRZ8Data.I_output_mode);
    APIPR_UpdateWholeUIFromData(m_hCurRZ8Full);
    RepaintFrame();

    TracePixelCounts(m_wHPIXEL, m_wVPIXEL, m_hCurRZ8Full.hRZ8Data.I_output_mode);
    // A controller that does not answer its port registers is still connected.
    APIPR_UARTGetPortReg();
    TracePixelCounts(m_wHPIXEL, m_wVPIXEL, m_hCurRZ8Full.hRZ8Data.I_output_mode);

    if (misnumbered > 0) {
        DropWaitCursor();
        ShowErrorText(kMisnumberedText, kMisnumberedCaption);
    }
    return 1;
}

void CGUIGDIPlusMfcFrameMain::APIPR_UARTClose() {
    CloseAllDeviceLinks();
    for (int m = 0; m < m_byDevCount && m < kDevBoxCount; ++m) {
        m_hGUICtrlRdoBtnDevBox[m].SetVisible(false);
        m_hGUICtrlTextDevBox[m].SetVisible(false);
    }
    APIPR_SetModelName(GUITextTable::Instance().GetLabel(1));
    // Not registered again by a later connect.
    m_hHotKey.Unregister(FrameMsg::kHotKeyId);
    SetCurrentDevice(0);
    m_byDevCount = 0;
}

void CGUIGDIPlusMfcFrameMain::APIPR_SetModelName(const QString& text) {
    m_hGUICtrlText[kTextModel].SetText(text);
    RZ8_TRACE("[D]model name %s\n", qUtf8Printable(text));
}

long CGUIGDIPlusMfcFrameMain::OnCtrlSwitchMsgSerialCOM(std::uintptr_t wParam, std::intptr_t) {
    CGUIGDIPlusMfcCtrlSwitch& sw = m_hGUICtrlSwitch[kSwitchSerialCOM];
    if (sw.GetCheck()) {
        if (APIPR_UARTOpen()) {
            m_iEDIDReadCount = 0;
            g_bSerialOpen = true;
            RepaintFrame();
        } else {
            ShowFrameError(TextMsg::kSerialComInitFail);
            sw.SetCheck(false);
            EnableAllCtrl(false);
            SetTitleText(kVersionText);
            RepaintFrame();
        }
    } else {
        APIPR_UARTClose();
        sw.SetCheck(false);
        m_hGUICtrlSwitch[kSwitchPattern].SetCheck(false);
        g_bSerialOpen = false;
        EnableAllCtrl(false);
        SetTitleText(kVersionText);
        RepaintFrame();
    }
    if (wParam < std::size(m_hGUICtrlSwitch)) m_hGUICtrlSwitch[wParam].SetBusy(false);
    return 0;
}
