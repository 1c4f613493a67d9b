#include "GUIGDIPlusMfcBtnRepeat.h"

#include <utility>

CGUIGDIPlusMfcBtnRepeat::CGUIGDIPlusMfcBtnRepeat(Sender send, TimeSource now, QObject* parent)
    : QObject(parent), m_send(std::move(send)), m_now(std::move(now)) {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kStepPause);
    connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
}

void CGUIGDIPlusMfcBtnRepeat::Start(int index, quint32 msg) {
    m_bActive = true;
    m_bStarted = false;
    m_byIndex = static_cast<std::uint8_t>(index);
    m_uMsg = msg;
    m_tPress = TickOf(m_now());
    m_timer.start();
}

void CGUIGDIPlusMfcBtnRepeat::Stop() {
    m_timer.stop();
    m_bActive = false;
    m_bStarted = false;
    m_byIndex = 0;
    m_uMsg = 0;
    m_tPress = Tick{};
}

CGUIGDIPlusMfcBtnRepeat::Tick CGUIGDIPlusMfcBtnRepeat::TickOf(TimePoint t) {
    return std::chrono::time_point_cast<std::chrono::milliseconds>(t);
}

int CGUIGDIPlusMfcBtnRepeat::Poll() {
    // A handler that pumps events may bring the timer back while its step still runs.
    if (!m_bActive || m_bInStep) return 0;
    if (!m_bStarted) {
        if (TickOf(m_now()) - m_tPress <= kHoldDelay) return 0;
        m_bStarted = true;
    }
    m_bInStep = true;
    if (m_send) m_send(m_uMsg);
    m_bInStep = false;
    return 1;
}
