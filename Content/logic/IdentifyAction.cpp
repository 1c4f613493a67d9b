// Identify: the test pattern on the checked controller for the identify time; when the
// time is up (see the pattern timers) the operator gives that controller its box ID.
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "ProcessFlags.h"
#include "RZ8Frames.h"

long CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgIdentify(std::uintptr_t wParam, std::intptr_t) {
    if (MakeCheckedDeviceCurrent()) {
        if (APIPR_SetRZ8FullData(m_hCurRZ8Full, RZ8_BOOTCDE_PATTERN_ON, m_pCurRZ8Dev->GetBoxId(),
                                 0)) {
            // No switch stays usable: the identify ends with its timer.
            LockPanelForPattern(
                -1, FrameMsg::kTimerIdentify,
                TimerPeriod(m_hSetting.iIdentifySec, SettingDurationInfo{}.iIdentifySec));
        } else {
            ShowFrameError(TextMsg::kPatternOnFail);
            m_hGUICtrlSwitch[kSwitchPattern].SetCheck(false);
            m_hGUICtrlBtn[kBtnExit].SetEnable(true);
        }
    }
    RepaintFrame();
    if (wParam < std::size(m_hGUICtrlBtn)) m_hGUICtrlBtn[wParam].SetBusy(false);
    return 0;
}

void CGUIGDIPlusMfcFrameMain::AssignBoxIDAfterIdentify() {
    uint8_t chosen = m_pCurRZ8Dev ? m_pCurRZ8Dev->GetBoxId() : 0;
    DropWaitCursor();
    if (m_pStdDialogs->RunDevBoxIdentifyDlg(m_byDevCount, chosen, this) != StdDialogs::IDOK) return;
    if (!APIPR_SetRZ8FullData(m_hCurRZ8Full, RZ8_BOOTCDE_SET_BOXID, chosen, kCommandPauseMs)) {
        ShowFrameError(TextMsg::kApplyFailA002);
        return;
    }
    m_pCurRZ8Dev->SetBoxId(chosen);
    RewriteDeviceBoxLabels();
    RepaintFrame();
}
