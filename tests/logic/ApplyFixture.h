#pragma once
// The main frame connected to simulated controllers, with the keep-or-revert box answered
// by the test and a button press served until its worker has ended.
#include "FrameSimFixture.h"

#include <set>

namespace kztr::test {

class ApplyTest : public FrameSimTest {
protected:
    struct BoxCall {
        QString message;
        QString countdown;
        int seconds;
    };
    void SetUp() override {
        FrameSimTest::SetUp();
        if (HasFatalFailure()) return;
    }
    // Connects, sets "Device Setting Sync" as asked, answers the box with answer.
    void ConnectTo(std::initializer_list<kztr::sim::ControllerConfig> ctls, bool sync) {
        Start(ctls);
        m_frame->SetKeepRevertBox([this](const QString& m, const QString& c, int s) {
            m_calls.push_back({m, c, s});
            if (m_whileAsked) m_whileAsked();
            return m_answer;
        });
        ASSERT_TRUE(Connect());
        if (m_frame->m_bDevSettingSync != sync) Click(m_frame->m_hGUICtrlChkBox[0].m_rcCtrl);
        m_sim.clearRequests();
        m_boxes.boxes.clear();
    }
    // Presses a button and serves the window's thread until its worker has ended.
    void PressAndWait(int button) {
        ClickButton(button);
        ASSERT_TRUE(WaitUntil([this] { return !m_frame->IsWorkerActive(); }, 30000));
        // The worker's last requests to this thread.
        QCoreApplication::processEvents();
    }
    void ExpectIdle(int button) {
        EXPECT_FALSE(g_bDevBusy);
        EXPECT_EQ(m_frame->m_nShadeMode, Frame::kShadeNone);
        EXPECT_FALSE(m_frame->m_hGUICtrlBtn[button].GetBusy()) << "button " << button;
        EXPECT_TRUE(ShowsCurrentPanel());
    }
    void SetRate(int hz) { m_frame->m_hGUICtrlEditBox[Frame::kEditVRate].SetNumber(hz); }
    QString Rate() const { return m_frame->m_hGUICtrlEditBox[Frame::kEditVRate].GetText(); }
    int SimRate(int com) const { return m_sim.state(com)->config.VRHz(); }
    void Refuse(int com, std::set<uint8_t> ignored = {}) {
        kztr::sim::Faults f;
        f.answerFE = ignored.empty();
        f.ignored = std::move(ignored);
        ASSERT_TRUE(m_sim.setFaults(com, f));
    }

    static constexpr int kApply = 5;
    static constexpr int kKeep = 0;
    static constexpr int kRevertButton = 1004;
    static constexpr int kCountdownRanOut = 2;
    int m_answer = kRevertButton;
    std::vector<BoxCall> m_calls;
    std::function<void()> m_whileAsked;
};

} // namespace kztr::test
