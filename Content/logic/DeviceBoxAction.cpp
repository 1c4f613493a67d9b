// The device box radios: which controller the panel shows and acts on.
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"

long CGUIGDIPlusMfcFrameMain::OnCtrlRdoBtnMsgDeviceBox(std::uintptr_t wParam, std::intptr_t) {
    if (wParam >= std::size(m_hGUICtrlRdoBtnDevBox)) return 0;
    const auto checkOnly = [this](std::uintptr_t checked) {
        for (size_t i = 0; i < std::size(m_hGUICtrlRdoBtnDevBox); ++i)
            m_hGUICtrlRdoBtnDevBox[i].SetCheck(i == checked);
    };
    const int previous = m_byCurDev;
    checkOnly(wParam);
    SetCurrentDevice(int(wParam));
    if (m_pCurRZ8Dev->IsOpen()) {
        if (APIPR_GetRZ8FullData(m_hTmpRZ8Full)) {
            m_hDevRZ8Full = m_hTmpRZ8Full;
            m_hCurRZ8Full = m_hTmpRZ8Full;
            APIPR_UpdateWholeUIFromData(m_hCurRZ8Full);
        } else {
            ShowFrameError(TextMsg::kSwitchDeviceFail);
            // The panel still shows the previous controller: it stays the one an Apply
            // or a pattern goes to.
            SetCurrentDevice(previous);
            checkOnly(std::uintptr_t(previous));
        }
    }
    m_hGUICtrlRdoBtnDevBox[wParam].SetBusy(false);
    RepaintFrame();
    return 0;
}
