#pragma once
// The main frame against simulated controllers on pseudo-terminals: the project's skin in
// a private folder, the controllers linked as COM<n> there, protocol pauses skipped while
// real replies are awaited, error boxes and the two standard dialogs answered by the test.
#include "ErrorBox.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "GuiTestApp.h"
#include "PanelSkinDir.h"
#include "ProcessFlags.h"
#include "RZ8Frames.h"
#include "Rz8Simulator.h"
#include "ScopedEnv.h"
#include "ScriptedDialogs.h"
#include "SimulatedPortsTest.h"
#include "SkippingClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace kztr::test {

// Error boxes as the operator would have seen them.
class RecordedBoxes : public ErrorBoxSink {
public:
    struct Box {
        QString caption;
        QString text;
    };
    std::vector<Box> boxes;
    // Runs while a box is open (before it is dismissed).
    std::function<void()> whileOpen;
    void ShowErrorBox(const QString& caption, const QString& text) override {
        boxes.push_back({caption, text});
        if (whileOpen) whileOpen();
    }
    std::vector<QString> Texts() const {
        std::vector<QString> out;
        for (const Box& b : boxes)
            out.push_back(b.text);
        return out;
    }
};

// The simulated controller by the fields these tests tell apart.
inline kztr::sim::ControllerConfig Controller(int com, uint8_t box, char model = 'C',
                                              uint8_t fw = 17) {
    return SimController(com, box, model, fw);
}

class FrameSimTest : public ::testing::Test {
protected:
    using Frame = CGUIGDIPlusMfcFrameMain;

    static void SetUpTestSuite() {
        EnsureGuiApp();
        GUITextTable::Instance().Fill();
    }

    void SetUp() override {
        // A skipped pause still gives the controllers the time to answer in full.
        m_clock.SetSettle([this] { m_pSettled->waitSettled(std::chrono::seconds(2)); });
        ASSERT_TRUE(m_skin.IsValid()) << qPrintable(m_skin.Error());
        ASSERT_TRUE(m_dir.isValid());
        m_previousSink = SetErrorBoxSink(&m_boxes);
    }

    void TearDown() override {
        if (m_frame) m_frame->DestroyWindow();
        m_frame.reset();
        m_sim.stop();
        SetErrorBoxSink(m_previousSink);
        g_bPatternOn = false;
        g_bSerialOpen = false;
        g_bDevBusy = false;
    }

    // Serves the controllers (none: no port exists) and starts the panel.
    void Start(std::initializer_list<kztr::sim::ControllerConfig> controllers) {
        for (const auto& c : controllers)
            ASSERT_TRUE(m_sim.addController(c)) << m_sim.error();
        if (controllers.size() > 0) {
            ASSERT_TRUE(m_sim.start(PortDir())) << m_sim.error();
        }
        m_frame = std::make_unique<Frame>(m_skin.Path(), m_clock);
        m_frame->SetStdDialogs(&m_dialogs);
        ASSERT_EQ(m_frame->APIPR_Initialize(), 1);
    }

    // The operator's click: press and release at the control's centre through the
    // frame's own mouse routing, then the frame handles what the control posted.
    void Click(const GUIRect& rc) {
        // An operator's click comes after the controllers have finished answering.
        m_pSettled->waitSettled(std::chrono::seconds(2));
        const int x = (rc.left + rc.right) / 2;
        const int y = (rc.top + rc.bottom) / 2;
        m_frame->GetMouseRouter().OnLButtonDown(x, y);
        m_frame->GetMouseRouter().OnLButtonUp(x, y);
        Deliver();
    }
    void Deliver() {
        QCoreApplication::sendPostedEvents(m_frame.get(), FrameMessageEvent::EventType());
    }

    void ClickSwitch(int i) { Click(m_frame->m_hGUICtrlSwitch[i].m_rcCtrl); }
    void ClickButton(int i) { Click(m_frame->m_hGUICtrlBtn[i].m_rcCtrl); }
    void ClickDeviceBox(int i) { Click(m_frame->m_hGUICtrlRdoBtnDevBox[i].m_rcCtrl); }

    // True when the window shows the panel as it stands (nothing changed without a repaint).
    bool ShowsCurrentPanel() {
        const QImage shown = m_frame->GetShownImage();
        m_frame->RepaintFrame();
        return shown == m_frame->GetShownImage();
    }

    // Switches the link on; true when the panel is connected afterwards.
    bool Connect() {
        ClickSwitch(Frame::kSwitchSerialCOM);
        return g_bSerialOpen.load();
    }

    // 16-byte frames a controller received, in order (com 0: all).
    std::vector<RZ8Full> Frames(int com) {
        // What was sent last may still be on its way to the controller.
        m_pSettled->waitSettled(std::chrono::seconds(2));
        std::vector<RZ8Full> out;
        for (const auto& r : m_sim.requests(com)) {
            if (r.bytes.size() != sizeof(RZ8Full)) continue;
            RZ8Full f;
            std::memcpy(&f, r.bytes.data(), sizeof f);
            out.push_back(f);
        }
        return out;
    }
    // Byte 0 of every request a controller received (0xFF for the one-byte request).
    std::vector<int> Codes(int com) {
        m_pSettled->waitSettled(std::chrono::seconds(2));
        std::vector<int> out;
        for (const auto& r : m_sim.requests(com))
            out.push_back(r.bytes.empty() ? -1 : r.bytes[0]);
        return out;
    }

    // Runs the event loop until done() or the limit (real time) ran out.
    static bool WaitUntil(const std::function<bool()>& done, int limitMs) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > limitMs) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }

    std::string PortDir() const { return (m_dir.path() + QStringLiteral("/ports")).toStdString(); }

    PanelSkinDir m_skin;
    QTemporaryDir m_dir;
    ScopedEnv m_env{"RZ8_PORT_DIR", PortDir()};
    kztr::sim::Rz8Simulator m_sim;
    // The simulator whose controllers a skipped pause waits for.
    kztr::sim::Rz8Simulator* m_pSettled = &m_sim;
    SkippingClock m_clock;
    RecordedBoxes m_boxes;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<Frame> m_frame;

private:
    ErrorBoxSink* m_previousSink = nullptr;
};

} // namespace kztr::test
