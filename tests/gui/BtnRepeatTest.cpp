// Press-and-hold of the adjuster buttons, in virtual time: nothing before 300 ms, then a
// step per pass until the release, and the release's own click.
#include "ControlTestUtil.h"
#include "GUIGDIPlusMfcBtnRepeat.h"
#include "GUIGDIPlusMfcCtrlBtn.h"
#include "GuiTestApp.h"
#include "VirtualClock.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <array>

using namespace std::chrono_literals;
using ControlTest::Posted;
using ControlTest::RecordingFrame;

namespace {

constexpr std::uint32_t kWmUser = 0x0400;
constexpr int kAdjusterFirst = 7;

// A frame with 21 buttons whose index i posts WM_USER + 201 + i, wired the way the
// main frame wires its adjusters: a press on index > 6 starts the repeat, every release
// ends it before the buttons are asked.
class GuiCtlRepeat : public ::testing::Test, protected ControlTest::WithGuiApp {
protected:
    void SetUp() override {
        EnsureGuiApp();
        std::vector<IGUIGDIPlusMfcCtrl*> group;
        for (int i = 0; i < static_cast<int>(m_btn.size()); ++i) {
            m_btn[i].m_rcCtrl = GUIRect{10 + 40 * i, 10, 40 + 40 * i, 30};
            m_btn[i].m_uMsg = kWmUser + 201 + static_cast<std::uint32_t>(i);
            group.push_back(&m_btn[i]);
        }
        MouseRouter& r = m_frame.GetMouseRouter();
        r.AddGroup(MouseRouter::Role::Button, group);
        r.GetHooks().onPressed = [this](int, int index) {
            if (index >= kAdjusterFirst)
                m_repeat.Start(index, m_btn[static_cast<size_t>(index)].GetMsg());
        };
    }
    void Press(int index) { m_frame.GetMouseRouter().OnLButtonDown(25 + 40 * index, 20); }
    void Release() {
        m_repeat.Stop();
        m_frame.GetMouseRouter().OnLButtonUp(0, 0);
    }
    // One watcher/repeater pass per virtual millisecond; returns the steps sent.
    int Hold(std::chrono::milliseconds span) {
        int steps = 0;
        for (auto t = 0ms; t < span; t += 1ms) {
            steps += m_repeat.Poll();
            m_clock.advance(1ms);
        }
        return steps;
    }
    std::size_t CountSent(std::uint32_t msg) const {
        std::size_t n = 0;
        for (const Posted& p : m_sent)
            n += p.msg == msg ? 1 : 0;
        return n;
    }

    kztr::test::VirtualClock m_clock;
    RecordingFrame m_frame;
    std::vector<Posted> m_sent; // what the repeat delivered synchronously
    CGUIGDIPlusMfcBtnRepeat m_repeat{[this](std::uint32_t msg) {
                                         m_sent.push_back(Posted{msg, 0, 0});
                                         m_frame.SendFrameMessage(msg, 0, 0);
                                     },
                                     [this] { return m_clock.now(); }};
    std::array<CGUIGDIPlusMfcCtrlBtn, 21> m_btn;
};

TEST_F(GuiCtlRepeat, NoStepUpTo299msThenOnePerPass) {
    m_repeat.Start(8, kWmUser + 209);
    EXPECT_EQ(Hold(299ms + 1ms), 0) << "polled at 0..299 ms";
    EXPECT_FALSE(m_repeat.IsStarted());
    EXPECT_EQ(m_repeat.Poll(), 1) << "at 300 ms";
    EXPECT_TRUE(m_repeat.IsStarted());
    EXPECT_EQ(Hold(50ms), 50);
    m_repeat.Stop();
    EXPECT_FALSE(m_repeat.IsActive());
    EXPECT_EQ(Hold(50ms), 0);
    EXPECT_EQ(m_sent, std::vector<Posted>(51, Posted{kWmUser + 209, 0, 0}));
}

TEST_F(GuiCtlRepeat, HoldTimeCountsInWholeMillisecondTicks) {
    using namespace std::chrono;
    const auto press = m_clock.now();
    m_repeat.Start(8, kWmUser + 209);
    // 299.9 ms is still tick 299: a release within 300 ms stays a single step.
    m_clock.advanceTo(press + microseconds(299'900));
    EXPECT_EQ(m_repeat.Poll(), 0);
    EXPECT_FALSE(m_repeat.IsStarted());
    m_clock.advanceTo(press + 300ms);
    EXPECT_EQ(m_repeat.Poll(), 1);

    // A press late in a tick counts from that tick, as a tick-count reading would.
    m_repeat.Stop();
    const auto latePress = press + 400ms + microseconds(900);
    m_clock.advanceTo(latePress);
    m_repeat.Start(8, kWmUser + 209);
    m_clock.advanceTo(press + 700ms); // 299.1 ms after the press, tick 700 - 400
    EXPECT_EQ(m_repeat.Poll(), 1);
}

TEST_F(GuiCtlRepeat, ShortClickGivesExactlyOneStep) {
    Press(9);
    EXPECT_TRUE(m_repeat.IsActive());
    EXPECT_EQ(m_repeat.GetIndex(), 9);
    EXPECT_EQ(Hold(299ms), 0);
    Release();
    EXPECT_EQ(Hold(500ms), 0);
    m_frame.DeliverPosted();
    EXPECT_TRUE(m_sent.empty());
    EXPECT_EQ(m_frame.received, (std::vector<Posted>{{kWmUser + 210, 9, 0}}));
}

TEST_F(GuiCtlRepeat, HoldingOneSecondStepsUntilReleaseThenClicks) {
    Press(7);
    const int steps = Hold(1000ms);
    // Passes at 300..999 ms each give one step, delivered synchronously with wParam 0.
    EXPECT_EQ(steps, 700);
    EXPECT_EQ(CountSent(kWmUser + 208), 700u);
    EXPECT_EQ(m_frame.received.size(), 700u) << "each step is handled before the next";
    Release();
    EXPECT_EQ(Hold(100ms), 0);
    m_frame.DeliverPosted();
    ASSERT_EQ(m_frame.received.size(), 701u);
    EXPECT_EQ(m_frame.received.back(), (Posted{kWmUser + 208, 7, 0}));
}

TEST_F(GuiCtlRepeat, ReleaseEndsStepsEvenWhileTheClickIsPending) {
    m_btn[8].SetBusy(true); // the previous click's handler has not run yet
    Press(8);
    EXPECT_GT(Hold(400ms), 0);
    Release();
    EXPECT_EQ(Hold(100ms), 0);
    m_frame.DeliverPosted();
    for (const Posted& p : m_frame.received)
        EXPECT_EQ(p.wParam, 0u) << "only steps, no click";
}

TEST_F(GuiCtlRepeat, OtherButtonsDoNotRepeat) {
    Press(6);
    EXPECT_FALSE(m_repeat.IsActive());
    EXPECT_EQ(Hold(1000ms), 0);
    Release();
    m_frame.DeliverPosted();
    EXPECT_EQ(m_frame.received, (std::vector<Posted>{{kWmUser + 207, 6, 0}}));
}

TEST_F(GuiCtlRepeat, StepHandlerThatPumpsEventsDoesNotNestSteps) {
    int depth = 0, maxDepth = 0;
    m_frame.onMessage = [&](const Posted&) {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        m_repeat.Poll(); // what a pumping handler would bring back
        --depth;
    };
    m_repeat.Start(7, kWmUser + 208);
    m_clock.advance(300ms);
    EXPECT_EQ(m_repeat.Poll(), 1);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(m_sent.size(), 1u);
}

TEST_F(GuiCtlRepeat, ReleaseDuringAStepEndsTheRepeat) {
    m_frame.onMessage = [&](const Posted&) { m_repeat.Stop(); };
    m_repeat.Start(7, kWmUser + 208);
    EXPECT_EQ(Hold(400ms), 1);
    EXPECT_FALSE(m_repeat.IsActive());
}

TEST_F(GuiCtlRepeat, TheTimerDrivesTheStepsOnTheOwnersThread) {
    Press(7);
    m_clock.advance(300ms); // past the hold delay in virtual time
    QElapsedTimer guard;
    guard.start();
    while (m_sent.size() < 3 && guard.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_GE(m_sent.size(), 3u);
    Release();
    const std::size_t atRelease = m_sent.size();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(m_sent.size(), atRelease);
}

} // namespace
