// Switching the serial link on and off against simulated controllers: which controllers
// are found and in what order, the model label and its polarity, the device columns, the
// warning about box IDs, and a failed connect that leaves nothing open.
#include "FrameSimFixture.h"

#include <QFile>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

namespace kztr::test {
namespace {

using Frame = CGUIGDIPlusMfcFrameMain;

class ConnectTest : public FrameSimTest {
protected:
    // What the frame answers to a tool-tip request at p.
    QString ToolTipAt(QPoint p, GUIRect& rc) const { return m_frame->ToolTipAt(p.x(), p.y(), rc); }
    bool AnyLinkOpen() const {
        for (const CRZ8Ctrl& dev : m_frame->m_hRZ8Dev)
            if (dev.IsOpen()) return true;
        return false;
    }
    QString ModelLabel() const { return m_frame->m_hGUICtrlText[Frame::kTextModel].m_strText; }
    int VisibleColumns() const {
        int n = 0;
        for (int i = 0; i < Frame::kDevBoxCount; ++i) {
            EXPECT_EQ(m_frame->m_hGUICtrlRdoBtnDevBox[i].IsVisible(),
                      m_frame->m_hGUICtrlTextDevBox[i].IsVisible())
                << "column " << i;
            n += m_frame->m_hGUICtrlRdoBtnDevBox[i].IsVisible() ? 1 : 0;
        }
        return n;
    }
};

TEST_F(ConnectTest, ControllersAreOrderedByBoxIdWithoutAWarning) {
    Start({Controller(3, 2, 'C', 21), Controller(5, 1, 'C', 22)});
    ASSERT_TRUE(Connect());

    EXPECT_TRUE(m_boxes.boxes.empty());
    ASSERT_EQ(m_frame->m_byDevCount, 2);
    EXPECT_EQ(m_frame->m_hRZ8Dev[0].GetComNumber(), 5);
    EXPECT_EQ(m_frame->m_hRZ8Dev[1].GetComNumber(), 3);
    EXPECT_EQ(m_frame->m_byCurDev, 0);
    EXPECT_EQ(VisibleColumns(), 2);
    EXPECT_EQ(m_frame->m_hGUICtrlTextDevBox[0].m_strText, "FW: 22\nCOM: 5\nBoxID: 1");
    EXPECT_EQ(m_frame->m_hGUICtrlTextDevBox[1].m_strText, "FW: 21\nCOM: 3\nBoxID: 2");
    EXPECT_TRUE(m_frame->m_hGUICtrlRdoBtnDevBox[0].GetCheck());
    EXPECT_FALSE(m_frame->m_hGUICtrlRdoBtnDevBox[1].GetCheck());
    // The panel is usable, the switch shows on, the title keeps the version.
    EXPECT_TRUE(m_frame->m_hGUICtrlSwitch[Frame::kSwitchSerialCOM].GetCheck());
    EXPECT_TRUE(m_frame->m_hGUICtrlBtn[Frame::kBtnIdentify].IsEnabled());
    EXPECT_TRUE(m_frame->m_hGUICtrlSwitch[Frame::kSwitchPattern].IsEnabled());
    EXPECT_EQ(m_frame->m_hGUICtrlText[0].m_strText, "nIVRA - v3.11");
    EXPECT_TRUE(ShowsCurrentPanel());
    // The switch's latch is free for the next click.
    EXPECT_FALSE(m_frame->m_hGUICtrlSwitch[Frame::kSwitchSerialCOM].GetBusy());
}

TEST_F(ConnectTest, TheFirstControllerIsReadInFullAndShown) {
    kztr::sim::ControllerConfig c = Controller(2, 1, 'C');
    c.hPixel = 1366;
    c.vPixel = 768;
    Start({c});
    ASSERT_TRUE(Connect());

    // Search, second pass, then the first controller: configuration, EDID, pixel
    // counts, and its port registers.
    EXPECT_EQ(Codes(2),
              (std::vector<int>{0xFF, 0xFF, 0xFF, 0x27, 0x0E, 0x0F, 0xFF, 0x29, 0x2A, 0x2B}));
    for (const RZ8Full& f : Frames(2)) {
        EXPECT_EQ(f.model, 0x44);
        EXPECT_EQ(f.fw_ver, 0x50);
        EXPECT_EQ(f.box_id, 1);
    }
    EXPECT_EQ(m_frame->m_wHPIXEL, 1366);
    EXPECT_EQ(m_frame->m_wVPIXEL, 768);
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditHPixel].GetText(), "1366");
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditVPixel].GetText(), "768");
    for (const QString& text : m_frame->m_strUserRes)
        EXPECT_EQ(text, "1366 * 768");
    // The simulator's configuration: 60 Hz, both polarities positive, blanks 280 and 45.
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditVRate].GetText(), "60");
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditHBlank].GetText(), "280");
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditVBlank].GetText(), "45");
    EXPECT_TRUE(m_frame->m_hGUICtrlRdoBtnHPol[0].GetCheck());
    EXPECT_TRUE(m_frame->m_hGUICtrlRdoBtnVPol[0].GetCheck());
    EXPECT_EQ(m_frame->m_hCurRZ8Full, m_frame->m_hDevRZ8Full);
    EXPECT_EQ(m_frame->m_hGUICtrlSliderRes.GetPos(), m_frame->m_hCurRZ8Full.hRZ8Data.I_output_mode);
}

TEST_F(ConnectTest, OneControllerWithBoxIdTwoIsConnectedWithTheWarning) {
    Start({Controller(4, 2)});
    ASSERT_TRUE(Connect());
    EXPECT_EQ(m_frame->m_byDevCount, 1);
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0].caption, "KZTRMaster");
    EXPECT_EQ(m_boxes.boxes[0].text, "Please reset the index number of BoxID!!");
}

TEST_F(ConnectTest, TwoControllersWithBoxIdOneAreBothConnectedWithOneWarning) {
    Start({Controller(2, 1), Controller(6, 1)});
    ASSERT_TRUE(Connect());
    EXPECT_EQ(m_frame->m_byDevCount, 2);
    EXPECT_EQ(VisibleColumns(), 2);
    EXPECT_EQ(m_boxes.Texts(), std::vector<QString>{"Please reset the index number of BoxID!!"});
}

struct ModelCase {
    const char* name;
    char model;
    uint8_t edidFlags;
    const char* label;
    uint8_t boxMode;
    bool setButton;
    std::vector<int> portRegisters;
};

void PrintTo(const ModelCase& c, std::ostream* os) {
    *os << c.name;
}

class ModelTest : public ConnectTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(ModelTest, LabelBoxModeSetButtonAndPortRegisters) {
    const ModelCase& c = GetParam();
    kztr::sim::ControllerConfig ctl = Controller(1, 1, c.model);
    ctl.edidFlags = c.edidFlags;
    Start({ctl});
    ASSERT_TRUE(Connect());
    EXPECT_EQ(ModelLabel(), c.label);
    EXPECT_EQ(m_frame->m_hRZ8DevBoxMode, c.boxMode);
    EXPECT_EQ(m_frame->m_hGUICtrlBtn[Frame::kBtnSetUserRes].IsVisible(), c.setButton);
    const std::vector<int> codes = Codes(1);
    // What follows the port-register configuration read (the last 0xFF).
    const auto last = std::find(codes.rbegin(), codes.rend(), 0xFF).base();
    EXPECT_EQ(std::vector<int>(last, codes.end()), c.portRegisters);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, ModelTest,
    ::testing::Values(
        ModelCase{"C",
                  'C',
                  0x1E,
                  "ZEPH - T1/T3 H/V Polarity:+/+",
                  BOXMODE_T1T3,
                  true,
                  {0x29, 0x2A, 0x2B}},
        ModelCase{"H", 'H', 0x18, "ZEPH - T5 H/V Polarity:-/-", BOXMODE_T5, true, {0x2D, 0x2E}},
        ModelCase{
            "D", 'D', 0x1C, "ZEPH - T4/T5 H/V Polarity:-/+", BOXMODE_T4T5_A, true, {0x2D, 0x2E}},
        ModelCase{
            "LowerD", 'd', 0x1A, "ZEPH - T4/T5 H/V Polarity:+/-", BOXMODE_T4T5_B, true, {0x2C}},
        ModelCase{"E", 'e', 0x1E, "ZEPH - T2/T2K H/V Polarity:+/+", BOXMODE_T2, true, {0x2A, 0x2B}},
        ModelCase{
            "K", 'K', 0x1E, "ZEPH - T2Clone H/V Polarity:+/+", BOXMODE_T2CLONE, true, {0x2A, 0x2B}},
        ModelCase{
            "Nivra", 'i', 0x1E, "ZEPH - nivraT4 H/V Polarity:+/+", BOXMODE_NIVRA, false, {0x2C}},
        ModelCase{"LowerHIsUnlisted",
                  'h',
                  0x1E,
                  "ZEPH - unknow H/V Polarity:+/+",
                  BOXMODE_UNKNOWN,
                  false,
                  {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectTest, AFlagsByteWithoutPolarityKeepsThatOfThePreviousConnect) {
    kztr::sim::ControllerConfig first = Controller(1, 1, 'C');
    first.edidFlags = 0x1A;
    Start({first});
    ASSERT_TRUE(Connect());
    EXPECT_EQ(ModelLabel(), "ZEPH - T1/T3 H/V Polarity:+/-");
    ClickSwitch(Frame::kSwitchSerialCOM);
    m_sim.stop();

    kztr::sim::Rz8Simulator second;
    kztr::sim::ControllerConfig other = Controller(1, 1, 'C');
    other.edidFlags = 0x00; // analogue sync: no polarity text
    ASSERT_TRUE(second.addController(other));
    ASSERT_TRUE(second.start(PortDir()));
    m_pSettled = &second;
    ASSERT_TRUE(Connect());
    EXPECT_EQ(ModelLabel(), "ZEPH - T1/T3 H/V Polarity:+/-");
    ClickSwitch(Frame::kSwitchSerialCOM);
    m_pSettled = &m_sim;
}

TEST_F(ConnectTest, NoControllerReportsTheFailureAndLeavesTheLinkOff) {
    Start({});
    EXPECT_FALSE(Connect());
    EXPECT_EQ(m_boxes.Texts(),
              std::vector<QString>{"The Serial COM initialize fail.\nPlease check again."});
    EXPECT_EQ(m_boxes.boxes[0].caption, "Quorvane Error...");
    EXPECT_FALSE(m_frame->m_hGUICtrlSwitch[Frame::kSwitchSerialCOM].GetCheck());
    EXPECT_TRUE(m_frame->m_hGUICtrlSwitch[Frame::kSwitchSerialCOM].IsEnabled());
    EXPECT_FALSE(m_frame->m_hGUICtrlBtn[Frame::kBtnIdentify].IsEnabled());
    EXPECT_TRUE(m_frame->m_hGUICtrlText[0].m_strText.endsWith("v3.11"));
    EXPECT_FALSE(AnyLinkOpen());
    EXPECT_FALSE(g_bSerialOpen);
    EXPECT_TRUE(ShowsCurrentPanel());
}

TEST_F(ConnectTest, AFailedConnectClosesItsPortsAndTheNextConnectFindsTheRightPort) {
    // Answers the configuration request but refuses every command: the EDID read fails
    // after the second pass has opened the port.
    kztr::sim::ControllerConfig refusing = Controller(2, 1);
    refusing.faults.answerFE = true;
    Start({refusing, Controller(7, 2)});
    EXPECT_FALSE(Connect());
    EXPECT_EQ(m_boxes.Texts(),
              std::vector<QString>{"The Serial COM initialize fail.\nPlease check again."});
    EXPECT_FALSE(AnyLinkOpen());
    EXPECT_EQ(m_frame->m_byDevCount, 0);

    // Had COM2 stayed open on device link 0, the next search would read it for COM1.
    kztr::sim::Faults none;
    ASSERT_TRUE(m_sim.setFaults(2, none));
    m_sim.clearRequests();
    m_boxes.boxes.clear();
    ASSERT_TRUE(Connect());
    EXPECT_TRUE(m_boxes.boxes.empty());
    ASSERT_EQ(m_frame->m_byDevCount, 2);
    EXPECT_EQ(m_frame->m_hRZ8Dev[0].GetComNumber(), 2);
    EXPECT_EQ(m_frame->m_hRZ8Dev[1].GetComNumber(), 7);
}

TEST_F(ConnectTest, SwitchingOffClosesEveryLinkAndBringsBackTheNotConnectedPanel) {
    Start({Controller(1, 1), Controller(2, 2), Controller(3, 3)});
    const QImage notConnected = (m_frame->RepaintFrame(), m_frame->GetShownImage());
    ASSERT_TRUE(Connect());
    EXPECT_EQ(VisibleColumns(), 3);
    EXPECT_NE(m_frame->GetShownImage(), notConnected);

    ClickSwitch(Frame::kSwitchSerialCOM);
    EXPECT_FALSE(g_bSerialOpen);
    EXPECT_FALSE(AnyLinkOpen());
    EXPECT_EQ(VisibleColumns(), 0);
    EXPECT_EQ(m_frame->m_byDevCount, 0);
    EXPECT_EQ(ModelLabel(), " - - - - - - ");
    EXPECT_FALSE(m_frame->m_hGUICtrlSwitch[Frame::kSwitchSerialCOM].GetCheck());
    EXPECT_FALSE(m_frame->m_hGUICtrlSwitch[Frame::kSwitchPattern].GetCheck());
    EXPECT_FALSE(m_frame->m_hGUICtrlSwitch[Frame::kSwitchPattern].IsEnabled());
    EXPECT_FALSE(m_frame->m_hGUICtrlBtn[Frame::kBtnIdentify].IsEnabled());
    EXPECT_TRUE(m_frame->m_hGUICtrlBtn[Frame::kBtnExit].IsEnabled());
    EXPECT_TRUE(ShowsCurrentPanel());
    // Off and on again finds the same controllers.
    ASSERT_TRUE(Connect());
    EXPECT_EQ(VisibleColumns(), 3);
}

TEST_F(ConnectTest, TheModelLabelsToolTipNamesTheCurrentControllersMonitor) {
    kztr::sim::ControllerConfig first = Controller(3, 1, 'D');
    first.productName = "LOBBY LEFT";
    first.edidFlags = 0x1A; // H+ V-
    kztr::sim::ControllerConfig second = Controller(5, 2, 'D');
    second.productName = "LOBBY RIGHT";
    Start({first, second});
    // Hovering the label of a panel that is not connected shows nothing.
    const GUIRect label = m_frame->m_hGUICtrlText[Frame::kTextModel].m_rcCtrl;
    const QPoint inLabel((label.left + label.right) / 2, (label.top + label.bottom) / 2);
    GUIRect rc;
    EXPECT_EQ(ToolTipAt(inLabel, rc), "");
    ASSERT_TRUE(Connect());

    const QString tip = ToolTipAt(inLabel, rc);
    EXPECT_TRUE(tip.contains("LOBBY LEFT")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("1920 x 1080 at 60.00 Hz")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("H+ V-")) << tip.toStdString();
    EXPECT_EQ(rc.left, label.left);
    EXPECT_EQ(rc.bottom, label.bottom);
    EXPECT_EQ(ToolTipAt(QPoint(label.right + 5, label.bottom + 40), rc), "");
    // What the window shows when the pointer rests on the label.
    QHelpEvent rest(QEvent::ToolTip, inLabel, m_frame->mapToGlobal(inLabel));
    QCoreApplication::sendEvent(m_frame.get(), &rest);
    EXPECT_EQ(QToolTip::text(), tip);

    // The connect reads the first controller's EDID only; F8 reads the current one's.
    ClickDeviceBox(1);
    EXPECT_TRUE(ToolTipAt(inLabel, rc).startsWith("No EDID read"))
        << ToolTipAt(inLabel, rc).toStdString();
    QKeyEvent f8(QEvent::KeyPress, Qt::Key_F8, Qt::NoModifier);
    QCoreApplication::sendEvent(m_frame.get(), &f8);
    EXPECT_TRUE(ToolTipAt(inLabel, rc).contains("LOBBY RIGHT"))
        << ToolTipAt(inLabel, rc).toStdString();
    ClickDeviceBox(0);
    EXPECT_TRUE(ToolTipAt(inLabel, rc).contains("LOBBY LEFT"));

    ClickSwitch(Frame::kSwitchSerialCOM);
    EXPECT_EQ(ToolTipAt(inLabel, rc), "");
}

} // namespace
} // namespace kztr::test
