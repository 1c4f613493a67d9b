// The Pattern and RGBW switches: a pattern on the current controller for the set time.
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "ProcessFlags.h"
#include "RZ8Frames.h"

namespace {
// Pattern commands are answered at once: no pause before the reply is read.
constexpr int kPatternPauseMs = 0;
} // namespace

long CGUIGDIPlusMfcFrameMain::OnCtrlSwitchMsgPattern(std::uintptr_t, std::intptr_t) {
    return SwitchPattern(kSwitchPattern, RZ8_BOOTCDE_PATTERN_ON, FrameMsg::kTimerPattern);
}

long CGUIGDIPlusMfcFrameMain::OnCtrlSwitchMsgRGBW(std::uintptr_t, std::intptr_t) {
    // Switched off with the same command as the test pattern.
    return SwitchPattern(kSwitchRGBW, RZ8_BOOTCDE_RGBW_ON, FrameMsg::kTimerRgbw);
}

long CGUIGDIPlusMfcFrameMain::SwitchPattern(int nSwitch, uint8_t byOnCode, int nTimer) {
    CGUIGDIPlusMfcCtrlSwitch& sw = m_hGUICtrlSwitch[nSwitch];
    CGUIGDIPlusMfcCtrlBtn& exitBtn = m_hGUICtrlBtn[kBtnExit];
    MakeCheckedDeviceCurrent();
    const uint8_t boxId = m_pCurRZ8Dev ? m_pCurRZ8Dev->GetBoxId() : 0;
    if (sw.GetCheck()) {
        if (APIPR_SetRZ8FullData(m_hCurRZ8Full, byOnCode, boxId, kPatternPauseMs)) {
            // The switch stays usable: it is the way to switch the pattern off again.
            LockPanelForPattern(
                nSwitch, nTimer,
                TimerPeriod(m_hSetting.iPatternSec, SettingDurationInfo{}.iPatternSec));
        } else {
            ShowFrameError(TextMsg::kPatternOnFail);
            sw.SetCheck(false);
            exitBtn.SetEnable(true);
        }
    } else {
        KillTimer(nTimer);
        if (APIPR_SetRZ8FullData(m_hCurRZ8Full, RZ8_BOOTCDE_PATTERN_OFF, boxId, kPatternPauseMs)) {
            UnlockPanelAfterPattern();
        } else {
            ShowFrameError(TextMsg::kPatternOffFail);
            sw.SetCheck(true);
            exitBtn.SetEnable(true);
        }
    }
    sw.SetBusy(false);
    RepaintFrame();
    return 0;
}

void CGUIGDIPlusMfcFrameMain::LockPanelForPattern(int nUsableSwitch, int nTimer,
                                                  std::chrono::milliseconds period) {
    EnableAllCtrl(false);
    for (int i = 0; i < kSwitchCount; ++i)
        m_hGUICtrlSwitch[i].SetEnable(i == nUsableSwitch);
    m_hGUICtrlBtn[kBtnExit].SetEnable(false);
    g_bPatternOn = true;
    SetTimer(nTimer, period);
}

void CGUIGDIPlusMfcFrameMain::UnlockPanelAfterPattern() {
    EnableAllCtrl(true);
    m_hGUICtrlSwitch[kSwitchSerialCOM].SetEnable(true);
    m_hGUICtrlBtn[kBtnExit].SetEnable(true);
    g_bPatternOn = false;
}
