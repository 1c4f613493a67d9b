// The device actions against three simulated controllers: patterns and their timers,
// identify and the box ID, choosing the controller the panel shows, the durations
// dialog, and what the panel does while a handler waits for a controller.
#include "FrameSimFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>

#include <cstring>
#include <limits>
#include <ostream>

namespace kztr::test {
namespace {

using Frame = CGUIGDIPlusMfcFrameMain;

class DeviceActionsTest : public FrameSimTest {
protected:
    // Box IDs 1, 2, 3 on COM4, COM6, COM9, connected, with the requests so far forgotten.
    void StartThree() {
        Start({Controller(4, 1, 'C', 11), Controller(6, 2, 'H', 12), Controller(9, 3, 'K', 13)});
        ASSERT_TRUE(Connect());
        m_sim.clearRequests();
        m_boxes.boxes.clear();
    }
    void Refuse(int com) {
        kztr::sim::Faults f;
        f.answerFE = true;
        ASSERT_TRUE(m_sim.setFaults(com, f));
    }
    CGUIGDIPlusMfcCtrlSwitch& Switch(int i) { return m_frame->m_hGUICtrlSwitch[i]; }
    CGUIGDIPlusMfcCtrlBtn& Button(int i) { return m_frame->m_hGUICtrlBtn[i]; }
    bool PanelUsable() {
        return Button(Frame::kBtnIdentify).IsEnabled() && Button(Frame::kBtnSetting).IsEnabled() &&
               m_frame->m_hGUICtrlSliderRes.IsEnabled() &&
               m_frame->m_hGUICtrlEditBox[2].IsEnabled() &&
               m_frame->m_hGUICtrlRdoBtnHPol[0].IsEnabled() &&
               m_frame->m_hGUICtrlRdoBtnDevBox[0].IsEnabled() &&
               Switch(Frame::kSwitchSerialCOM).IsEnabled() && Button(Frame::kBtnExit).IsEnabled();
    }
    // Every control but the given switch is disabled.
    void ExpectOnlySwitchUsable(int usable) {
        for (int i = 0; i < Frame::kSwitchCount; ++i)
            EXPECT_EQ(Switch(i).IsEnabled(), i == usable) << "switch " << i;
        for (int i = 0; i < Frame::kBtnCount; ++i)
            EXPECT_FALSE(Button(i).IsEnabled()) << "button " << i;
        for (const auto& box : m_frame->m_hGUICtrlEditBox)
            EXPECT_FALSE(box.IsEnabled());
        for (const auto& radio : m_frame->m_hGUICtrlRdoBtnDevBox)
            EXPECT_FALSE(radio.IsEnabled());
        EXPECT_FALSE(m_frame->m_hGUICtrlRdoBtnEDID[0].IsEnabled());
        EXPECT_FALSE(m_frame->m_hGUICtrlChkBox[0].IsEnabled());
        EXPECT_FALSE(m_frame->m_hGUICtrlSliderRes.IsEnabled());
    }
    std::vector<int> AllCodes() {
        std::vector<int> out;
        for (int com : {4, 6, 9})
            for (int c : Codes(com))
                out.push_back(c);
        return out;
    }
};

TEST_F(DeviceActionsTest, PatternOnGoesToTheCheckedControllerAndLeavesOnlyItsSwitchUsable) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    ClickDeviceBox(2);
    m_sim.clearRequests();
    ClickSwitch(Frame::kSwitchPattern);

    const std::vector<RZ8Full> sent = Frames(9);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].cmd, RZ8_BOOTCDE_PATTERN_ON);
    EXPECT_EQ(sent[0].box_id, 3);
    EXPECT_TRUE(Codes(4).empty());
    EXPECT_TRUE(Codes(6).empty());
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_TRUE(Switch(Frame::kSwitchPattern).GetCheck());
    ExpectOnlySwitchUsable(Frame::kSwitchPattern);
    EXPECT_TRUE(ShowsCurrentPanel());
    EXPECT_TRUE(g_bPatternOn);
    EXPECT_TRUE(m_frame->IsTimerPending(FrameMsg::kTimerPattern));
    EXPECT_FALSE(Switch(Frame::kSwitchPattern).GetBusy());
}

TEST_F(DeviceActionsTest, ThePatternTimerSwitchesThePatternOffAfterTheSetTime) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    m_frame->m_hSetting.iPatternSec = 1;
    QElapsedTimer t;
    t.start();
    ClickSwitch(Frame::kSwitchPattern);
    ASSERT_TRUE(g_bPatternOn);
    ASSERT_TRUE(WaitUntil([] { return !g_bPatternOn; }, 5000));

    EXPECT_GE(t.elapsed(), 990);
    EXPECT_EQ(Codes(4), (std::vector<int>{RZ8_BOOTCDE_PATTERN_ON, RZ8_BOOTCDE_PATTERN_OFF}));
    EXPECT_EQ(Frames(4)[1].box_id, 1);
    EXPECT_FALSE(Switch(Frame::kSwitchPattern).GetCheck());
    EXPECT_TRUE(PanelUsable());
    EXPECT_TRUE(Switch(Frame::kSwitchRGBW).IsEnabled());
    EXPECT_FALSE(m_frame->IsTimerPending(FrameMsg::kTimerPattern));
    EXPECT_TRUE(ShowsCurrentPanel());
    // The record is on the panel again.
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditVRate].GetText(), "60");
}

TEST_F(DeviceActionsTest, SwitchingThePatternOffByHandSendsTheOffCommandAtOnce) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    ClickSwitch(Frame::kSwitchPattern);
    ClickSwitch(Frame::kSwitchPattern);
    EXPECT_EQ(Codes(4), (std::vector<int>{RZ8_BOOTCDE_PATTERN_ON, RZ8_BOOTCDE_PATTERN_OFF}));
    EXPECT_FALSE(m_frame->IsTimerPending(FrameMsg::kTimerPattern));
    EXPECT_FALSE(g_bPatternOn);
    EXPECT_TRUE(PanelUsable());
}

TEST_F(DeviceActionsTest, RgbwHasItsOwnTimerAndIsSwitchedOffWithThePatternOffCommand) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    ClickSwitch(Frame::kSwitchRGBW);
    EXPECT_TRUE(m_frame->IsTimerPending(FrameMsg::kTimerRgbw));
    EXPECT_FALSE(m_frame->IsTimerPending(FrameMsg::kTimerPattern));
    ExpectOnlySwitchUsable(Frame::kSwitchRGBW);
    ClickSwitch(Frame::kSwitchRGBW);
    EXPECT_EQ(Codes(4), (std::vector<int>{RZ8_BOOTCDE_RGBW_ON, RZ8_BOOTCDE_PATTERN_OFF}));
    EXPECT_FALSE(m_frame->IsTimerPending(FrameMsg::kTimerRgbw));
    EXPECT_TRUE(PanelUsable());
}

TEST_F(DeviceActionsTest, APatternThatCannotBeSwitchedOnLeavesThePanelAsItWas) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    ASSERT_NO_FATAL_FAILURE(Refuse(4));
    ClickSwitch(Frame::kSwitchPattern);
    EXPECT_EQ(m_boxes.Texts(), std::vector<QString>{"Switch to pattern on is fail."});
    EXPECT_FALSE(Switch(Frame::kSwitchPattern).GetCheck());
    EXPECT_FALSE(g_bPatternOn);
    EXPECT_FALSE(m_frame->IsTimerPending(FrameMsg::kTimerPattern));
    EXPECT_TRUE(PanelUsable());
}

TEST_F(DeviceActionsTest, AFailedSwitchOffByHandKeepsThePatternOnAndTheSwitchUsable) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    ClickSwitch(Frame::kSwitchPattern);
    ASSERT_NO_FATAL_FAILURE(Refuse(4));
    ClickSwitch(Frame::kSwitchPattern);
    EXPECT_EQ(m_boxes.Texts(), std::vector<QString>{"Switch to pattern off is fail."});
    EXPECT_TRUE(Switch(Frame::kSwitchPattern).GetCheck());
    EXPECT_TRUE(Switch(Frame::kSwitchPattern).IsEnabled());
    EXPECT_TRUE(g_bPatternOn);
    EXPECT_TRUE(Button(Frame::kBtnExit).IsEnabled());
    // Once the controller answers again, the operator can switch it off.
    ASSERT_TRUE(m_sim.setFaults(4, kztr::sim::Faults{}));
    ClickSwitch(Frame::kSwitchPattern);
    EXPECT_FALSE(g_bPatternOn);
    EXPECT_TRUE(PanelUsable());
}

struct DurationCase {
    const char* name;
    int32_t patternSec;
    int32_t identifySec;
};

void PrintTo(const DurationCase& c, std::ostream* os) {
    *os << c.name;
}

class DurationTest : public DeviceActionsTest,
                     public ::testing::WithParamInterface<DurationCase> {};

TEST_P(DurationTest, AnOddDurationStillLeavesThePatternOnItsTimer) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    m_frame->m_hSetting.iPatternSec = GetParam().patternSec;
    m_frame->m_hSetting.iIdentifySec = GetParam().identifySec;
    ClickSwitch(Frame::kSwitchPattern);
    WaitUntil([] { return false; }, 300);
    EXPECT_TRUE(g_bPatternOn);
    EXPECT_TRUE(m_frame->IsTimerPending(FrameMsg::kTimerPattern));
    ClickSwitch(Frame::kSwitchPattern);
    ASSERT_FALSE(g_bPatternOn);

    ClickButton(Frame::kBtnIdentify);
    WaitUntil([] { return false; }, 300);
    EXPECT_TRUE(m_frame->IsTimerPending(FrameMsg::kTimerIdentify));
    EXPECT_TRUE(m_dialogs.identifyCalls.empty());
    // The values themselves stay as they were set.
    EXPECT_EQ(m_frame->m_hSetting.iPatternSec, GetParam().patternSec);
    EXPECT_EQ(m_frame->m_hSetting.iIdentifySec, GetParam().identifySec);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, DurationTest,
    ::testing::Values(
        // Would fire at once: the field's default is used.
        DurationCase{"ZeroOrLess", 0, -3},
        // Do not fit the timer's milliseconds: wrapped, they were negative timeouts.
        DurationCase{"BeyondTheTimersRange", 3'000'000, std::numeric_limits<int32_t>::max()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceActionsTest, IdentifyOffersOneIdPerControllerAndGivesTheChosenOne) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    m_frame->m_hSetting.iIdentifySec = 1;
    m_dialogs.identifyAnswer = 2;
    ClickButton(Frame::kBtnIdentify);
    EXPECT_EQ(Codes(4), std::vector<int>{RZ8_BOOTCDE_PATTERN_ON});
    ExpectOnlySwitchUsable(-1);
    EXPECT_TRUE(g_bPatternOn);
    ASSERT_TRUE(WaitUntil([this] { return !m_dialogs.identifyCalls.empty(); }, 5000));

    ASSERT_EQ(m_dialogs.identifyCalls.size(), 1u);
    EXPECT_EQ(m_dialogs.identifyCalls[0].count, 3);
    EXPECT_EQ(m_dialogs.identifyCalls[0].initial, 1);
    const std::vector<RZ8Full> sent = Frames(4);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1].cmd, RZ8_BOOTCDE_PATTERN_OFF);
    EXPECT_EQ(sent[2].cmd, RZ8_BOOTCDE_SET_BOXID);
    EXPECT_EQ(sent[2].box_id, 2);
    EXPECT_EQ(m_frame->m_hRZ8Dev[0].GetBoxId(), 2);
    EXPECT_EQ(m_frame->m_hGUICtrlTextDevBox[0].m_strText, "FW: 11\nCOM: 4\nBoxID: 2");
    EXPECT_EQ(m_frame->m_hGUICtrlTextDevBox[1].m_strText, "FW: 12\nCOM: 6\nBoxID: 2");
    EXPECT_EQ(m_sim.state(4)->config.box_id, 2);
    EXPECT_FALSE(g_bPatternOn);
    EXPECT_TRUE(PanelUsable());
    EXPECT_TRUE(ShowsCurrentPanel()) << "the new label is on screen";
}

TEST_F(DeviceActionsTest, CancellingTheBoxIdDialogSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    m_dialogs.identifyOk = false;
    ClickButton(Frame::kBtnIdentify);
    m_frame->OnTimer(FrameMsg::kTimerIdentify);
    EXPECT_EQ(m_dialogs.identifyCalls.size(), 1u);
    EXPECT_EQ(Codes(4), (std::vector<int>{RZ8_BOOTCDE_PATTERN_ON, RZ8_BOOTCDE_PATTERN_OFF}));
    EXPECT_EQ(m_frame->m_hGUICtrlTextDevBox[0].m_strText, "FW: 11\nCOM: 4\nBoxID: 1");
}

TEST_F(DeviceActionsTest, AFailedSwitchOffAfterIdentifyStillAsksForTheBoxId) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    ClickButton(Frame::kBtnIdentify);
    ASSERT_NO_FATAL_FAILURE(Refuse(4));
    m_dialogs.identifyAnswer = 3;
    m_frame->OnTimer(FrameMsg::kTimerIdentify);

    EXPECT_EQ(m_dialogs.identifyCalls.size(), 1u);
    EXPECT_EQ(m_boxes.Texts(),
              (std::vector<QString>{"Switch to pattern off is fail.",
                                    "KZTRMaster apply fail.\nErrorCode = 0xA002"}));
    // The box ID stays what the controller has.
    EXPECT_EQ(m_frame->m_hRZ8Dev[0].GetBoxId(), 1);
    // The pattern is still on: the Pattern switch shows it and can switch it off.
    EXPECT_TRUE(g_bPatternOn);
    EXPECT_TRUE(Switch(Frame::kSwitchPattern).GetCheck());
    EXPECT_TRUE(Switch(Frame::kSwitchPattern).IsEnabled());
    EXPECT_TRUE(Button(Frame::kBtnExit).IsEnabled());
}

TEST_F(DeviceActionsTest, IdentifyWithNoDeviceCheckedSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    for (auto& radio : m_frame->m_hGUICtrlRdoBtnDevBox)
        radio.SetCheck(false);
    ClickButton(Frame::kBtnIdentify);
    EXPECT_TRUE(AllCodes().empty());
    EXPECT_FALSE(m_frame->IsTimerPending(FrameMsg::kTimerIdentify));
    EXPECT_TRUE(PanelUsable());
    EXPECT_FALSE(Button(Frame::kBtnIdentify).GetBusy());
}

TEST_F(DeviceActionsTest, ADeviceBoxShowsThatControllersConfiguration) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    // Give the second controller a configuration of its own.
    RZ8Full other = m_frame->m_hCurRZ8Full;
    other.setVRHz(75);
    other.setIHLimit(300);
    other.setHp(0);
    ASSERT_EQ(m_frame->ExchangeOf(1).APIPR_SetRZ8FullData(other, RZ8_BOOTCDE_SET_FULLDATA, 2, 0),
              1);
    m_sim.clearRequests();

    ClickDeviceBox(1);
    EXPECT_EQ(Codes(6), std::vector<int>{0xFF});
    EXPECT_EQ(m_frame->m_byCurDev, 1);
    EXPECT_EQ(m_frame->m_pCurRZ8Dev, &m_frame->m_hRZ8Dev[1]);
    EXPECT_TRUE(m_frame->m_hGUICtrlRdoBtnDevBox[1].GetCheck());
    EXPECT_FALSE(m_frame->m_hGUICtrlRdoBtnDevBox[0].GetCheck());
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditVRate].GetText(), "75");
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditHBlank].GetText(), "300");
    EXPECT_TRUE(m_frame->m_hGUICtrlRdoBtnHPol[1].GetCheck());
    EXPECT_EQ(m_frame->m_hDevRZ8Full.box_id, 2);
    EXPECT_EQ(m_frame->m_hCurRZ8Full, m_frame->m_hDevRZ8Full);
    EXPECT_TRUE(ShowsCurrentPanel());
    // Actions now go to that controller.
    ClickSwitch(Frame::kSwitchPattern);
    EXPECT_EQ(Codes(6), (std::vector<int>{0xFF, RZ8_BOOTCDE_PATTERN_ON}));
}

TEST_F(DeviceActionsTest, AFailedDeviceSwitchKeepsThePreviousControllerCurrent) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    kztr::sim::Faults silent;
    silent.silent = true;
    ASSERT_TRUE(m_sim.setFaults(6, silent));
    const RZ8Full shown = m_frame->m_hCurRZ8Full;

    ClickDeviceBox(1);
    EXPECT_EQ(m_boxes.Texts(), std::vector<QString>{"Switch to device fail."});
    EXPECT_EQ(m_frame->m_byCurDev, 0);
    EXPECT_EQ(m_frame->m_pCurRZ8Dev, &m_frame->m_hRZ8Dev[0]);
    EXPECT_TRUE(m_frame->m_hGUICtrlRdoBtnDevBox[0].GetCheck());
    EXPECT_FALSE(m_frame->m_hGUICtrlRdoBtnDevBox[1].GetCheck());
    EXPECT_EQ(m_frame->m_hCurRZ8Full, shown);
    EXPECT_TRUE(ShowsCurrentPanel()) << "the first radio shows checked again";
    // What the panel shows still goes to the controller it came from.
    m_sim.clearRequests();
    ClickSwitch(Frame::kSwitchPattern);
    EXPECT_EQ(Codes(4), std::vector<int>{RZ8_BOOTCDE_PATTERN_ON});
}

TEST_F(DeviceActionsTest, ADeviceBoxWhoseLinkIsClosedIsChosenWithoutReading) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    m_frame->m_hRZ8Dev[2].ClosePort();
    const RZ8Full shown = m_frame->m_hCurRZ8Full;
    ClickDeviceBox(2);
    EXPECT_TRUE(AllCodes().empty());
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_EQ(m_frame->m_byCurDev, 2);
    EXPECT_EQ(m_frame->m_hCurRZ8Full, shown);
}

// The settings file's three durations, or nothing when it cannot be read.
std::vector<int32_t> SettingFileValues(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = f.readAll();
    if (bytes.size() != 12) return {};
    std::vector<int32_t> v(3);
    std::memcpy(v.data(), bytes.constData(), 12);
    return v;
}

struct SettingCase {
    const char* name;
    bool ok;
    SettingDurationInfo answer;
    std::vector<int32_t> file;
};

void PrintTo(const SettingCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingTest : public DeviceActionsTest, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(SettingTest, TheDialogRunsOverTheShadeAndTheFileIsWrittenEitherWay) {
    const SettingCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartThree());
    const QString file = m_skin.Path() + "/KZTRSettingFile.kzt";
    ASSERT_FALSE(QFile::exists(file));
    int shadeWhileOpen = -1;
    m_dialogs.whileOpen = [&] { shadeWhileOpen = m_frame->m_nShadeMode; };
    m_dialogs.settingOk = c.ok;
    m_dialogs.settingAnswer = c.answer;

    ClickButton(Frame::kBtnSetting);
    EXPECT_EQ(m_dialogs.settingCalls, 1);
    EXPECT_EQ(m_dialogs.settingShown.iPatternSec, 20);
    EXPECT_EQ(m_dialogs.settingShown.iIdentifySec, 10);
    EXPECT_EQ(m_dialogs.settingShown.iApplyConfirmSec, 30);
    EXPECT_EQ(shadeWhileOpen, Frame::kShadePure);
    EXPECT_EQ(m_frame->m_nShadeMode, Frame::kShadeNone);
    EXPECT_EQ(SettingFileValues(file), c.file);
    EXPECT_FALSE(Button(Frame::kBtnSetting).GetBusy());
    EXPECT_TRUE(AllCodes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Endings, SettingTest,
    ::testing::Values(SettingCase{"Cancel", false, {5, 6, 16}, {20, 10, 30}},
                      SettingCase{"Ok", true, {5, 6, 16}, {5, 6, 16}},
                      SettingCase{"OkWithAnEmptyChoice", true, {0, 10, 30}, {0, 10, 30}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceActionsTest, WhileAHandlerWaitsTheMouseAndKeysReachNothingAndTimersWait) {
    ASSERT_NO_FATAL_FAILURE(StartThree());
    ASSERT_NO_FATAL_FAILURE(Refuse(4));
    bool inside = false;
    bool identifyLatched = true;
    QString vRateWhileBusy;
    size_t offWhileBusy = 99;
    int settingWhileBusy = -1;
    // The pattern-on failure's box opens inside the Pattern switch's handler.
    bool once = false;
    m_boxes.whileOpen = [&] {
        if (once) return;
        once = true;
        inside = m_frame->InExchange();
        ASSERT_TRUE(m_sim.setFaults(4, kztr::sim::Faults{}));
        const GUIRect& rc = Button(Frame::kBtnIdentify).m_rcCtrl;
        m_frame->GetMouseRouter().OnLButtonDown(rc.left + 5, rc.top + 5);
        m_frame->GetMouseRouter().OnLButtonUp(rc.left + 5, rc.top + 5);
        identifyLatched = Button(Frame::kBtnIdentify).GetBusy();
        CGUIGDIPlusMfcCtrlEditBox& vRate = m_frame->m_hGUICtrlEditBox[Frame::kEditVRate];
        vRate.SetFocusState(true);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
        QCoreApplication::sendEvent(m_frame.get(), &key);
        vRateWhileBusy = vRate.GetText();
        // A timer falling due and a notification arriving now wait for the handler.
        m_frame->SetTimer(FrameMsg::kTimerPattern, std::chrono::milliseconds(0));
        m_frame->PostFrameMessage(FrameMsg::kBtnSetting, Frame::kBtnSetting, 0);
        WaitUntil([] { return false; }, 100);
        offWhileBusy = Frames(4).size();
        settingWhileBusy = m_dialogs.settingCalls;
    };
    ClickSwitch(Frame::kSwitchPattern);
    EXPECT_TRUE(inside);
    EXPECT_FALSE(identifyLatched);
    EXPECT_EQ(vRateWhileBusy, "60");
    EXPECT_EQ(offWhileBusy, 1u) << "only the refused pattern-on";
    EXPECT_EQ(settingWhileBusy, 0);

    // Afterwards both are handled, once each.
    WaitUntil([this] { return m_dialogs.settingCalls > 0 && Frames(4).size() > 1; }, 2000);
    EXPECT_EQ(m_dialogs.settingCalls, 1);
    // The refused pattern-on is followed by the configuration request the refusal asks for.
    EXPECT_EQ(AllCodes(),
              (std::vector<int>{RZ8_BOOTCDE_PATTERN_ON, 0xFF, RZ8_BOOTCDE_PATTERN_OFF}));
}

TEST_F(DeviceActionsTest, AConnectShowsTheWaitCursorAndKeepsTheEventLoopRunning) {
    Start({Controller(4, 1), Controller(6, 2)});
    int ticks = 0;
    bool sawWaitCursor = false;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, &sampler, [&] {
        ++ticks;
        const QCursor* c = QGuiApplication::overrideCursor();
        if (c && c->shape() == Qt::WaitCursor) sawWaitCursor = true;
    });
    sampler.start(0);
    ASSERT_TRUE(Connect());
    sampler.stop();
    EXPECT_TRUE(sawWaitCursor);
    // Every pause is cut into slices that each let the loop run.
    EXPECT_GT(ticks, 100);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(m_frame->InExchange());
}

} // namespace
} // namespace kztr::test
