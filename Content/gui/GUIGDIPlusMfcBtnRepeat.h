#pragma once
// Press-and-hold repeat of the adjuster buttons. Holding one for more than 299 ms makes
// it step its number box again and again until the release; the release itself then
// gives the ordinary click (one more step). The timing reads a replaceable time source
// and is driven by a 1 ms timer on the owner's thread, so every step runs where the
// frame's handlers run and tests can drive Poll() in virtual time.
//
// Wiring in a frame: Start() from the router's onPressed hook when an adjuster accepts
// the press; Stop() on every left-button release before the router sees it (also while
// the frame ignores the mouse), so no release can leave the repeat running. The sender
// is the frame's synchronous delivery (SendFrameMessage(msg, 0, 0)).
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>

class CGUIGDIPlusMfcBtnRepeat : public QObject {
    Q_OBJECT
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using TimeSource = std::function<TimePoint()>;
    // Whole milliseconds, as a tick count reads: a hold of 299.9 ms is still 299.
    using Tick = std::chrono::time_point<std::chrono::steady_clock, std::chrono::milliseconds>;
    // Delivers the button's message synchronously (wParam 0, lParam 0): one step.
    using Sender = std::function<void(quint32 msg)>;

    static constexpr std::chrono::milliseconds kHoldDelay{299}; // steps start once exceeded
    static constexpr std::chrono::milliseconds kStepPause{1};

    explicit CGUIGDIPlusMfcBtnRepeat(Sender send, TimeSource now = &std::chrono::steady_clock::now,
                                     QObject* parent = nullptr);

    // A press accepted by adjuster button `index` whose message is `msg`.
    void Start(int index, quint32 msg);
    // The release: clears the whole record, which ends the repeat.
    void Stop();

    bool IsActive() const { return m_bActive; }
    bool IsStarted() const { return m_bStarted; }
    int GetIndex() const { return m_byIndex; }

    // One pass of the watcher and repeater; returns the number of steps sent (0 or 1).
    int Poll();

private:
    static Tick TickOf(TimePoint t);

    Sender m_send;
    TimeSource m_now;
    QTimer m_timer;
    bool m_bActive = false;
    bool m_bStarted = false;
    bool m_bInStep = false;
    std::uint8_t m_byIndex = 0;
    quint32 m_uMsg = 0;
    Tick m_tPress{};
};
