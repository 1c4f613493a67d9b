// The pattern, RGBW and identify timers: each fires once, switches its pattern off and
// gives the panel back; after an identify the operator chooses the box ID.
#include "DebugTrace.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "ProcessFlags.h"
#include "RZ8Frames.h"

#include <QTimerEvent>
#include <algorithm>
#include <limits>

namespace {
constexpr int kFirstTimer = FrameMsg::kTimerPattern;
constexpr int kLastTimer = FrameMsg::kTimerIdentify;

bool IsPatternTimer(int id) {
    return id >= kFirstTimer && id <= kLastTimer;
}
} // namespace

std::chrono::milliseconds CGUIGDIPlusMfcFrameMain::TimerPeriod(int nSeconds, int nDefaultSeconds) {
    // A zero or negative duration (a damaged settings file, an empty choice in the
    // dialog) would fire at once and leave no time to see the pattern.
    const int seconds = nSeconds > 0 ? nSeconds : nDefaultSeconds;
    return std::chrono::seconds(seconds);
}

void CGUIGDIPlusMfcFrameMain::SetTimer(int nIDEvent, std::chrono::milliseconds period) {
    if (!IsPatternTimer(nIDEvent)) return;
    // A duration from a hand-made settings file may not fit the timer's milliseconds;
    // cut down, it still waits longer than anyone watches a pattern (24.8 days).
    const auto limit = std::chrono::milliseconds(std::numeric_limits<int>::max());
    const int ms = int(std::clamp(period, std::chrono::milliseconds(0), limit).count());
    // Precise: a coarse timer may end a pattern up to 5 % before its time.
    m_hPatternTimer[nIDEvent - kFirstTimer].start(ms, Qt::PreciseTimer, this);
}

void CGUIGDIPlusMfcFrameMain::KillTimer(int nIDEvent) {
    if (!IsPatternTimer(nIDEvent)) return;
    m_hPatternTimer[nIDEvent - kFirstTimer].stop();
}

bool CGUIGDIPlusMfcFrameMain::IsTimerPending(int nIDEvent) const {
    return IsPatternTimer(nIDEvent) && m_hPatternTimer[nIDEvent - kFirstTimer].isActive();
}

void CGUIGDIPlusMfcFrameMain::timerEvent(QTimerEvent* e) {
    for (int id = kFirstTimer; id <= kLastTimer; ++id) {
        if (e->timerId() != m_hPatternTimer[id - kFirstTimer].timerId()) continue;
        // One shot: a timer waiting for a running handler must not fire again meanwhile.
        KillTimer(id);
        HandleTimer(id);
        return;
    }
    CGUIGDIPlusMfcBaseDlg::timerEvent(e);
}

void CGUIGDIPlusMfcFrameMain::HandleTimer(int nIDEvent) {
    if (InExchange()) {
        m_vecDeferredTimers.push_back(nIDEvent);
        return;
    }
    BeginExchange();
    OnTimer(nIDEvent);
    EndExchange();
}

void CGUIGDIPlusMfcFrameMain::OnTimer(int nIDEvent) {
    if (!IsPatternTimer(nIDEvent)) return;
    KillTimer(nIDEvent);
    RZ8_TRACE("[D]OnTimer %d\n", nIDEvent);
    // The switch that showed the pattern: RGBW for its own timer, Pattern otherwise.
    const int nSwitch = nIDEvent == FrameMsg::kTimerRgbw ? kSwitchRGBW : kSwitchPattern;
    CGUIGDIPlusMfcCtrlSwitch& sw = m_hGUICtrlSwitch[nSwitch];
    const uint8_t boxId = m_pCurRZ8Dev ? m_pCurRZ8Dev->GetBoxId() : 0;
    if (APIPR_SetRZ8FullData(m_hCurRZ8Full, RZ8_BOOTCDE_PATTERN_OFF, boxId, 0)) {
        // The pattern is off: so is its switch.
        sw.SetCheck(false);
        UnlockPanelAfterPattern();
        APIPR_UpdateWholeUIFromData(m_hCurRZ8Full);
    } else {
        ShowFrameError(TextMsg::kPatternOffFail);
        // Usable and on, so that the operator can switch the pattern off by hand (after
        // an identify the switch was disabled and would otherwise leave no way out).
        sw.SetEnable(true);
        sw.SetCheck(true);
        m_hGUICtrlBtn[kBtnExit].SetEnable(true);
    }
    RepaintFrame();
    if (nIDEvent == FrameMsg::kTimerIdentify) AssignBoxIDAfterIdentify();
}
