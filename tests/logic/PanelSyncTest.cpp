// The panel and the edited record: a record put on the panel, the timing boxes taken
// back, the radio, slider, adjuster and check-box handlers, and what an Apply writes to
// one controller or to all of them.
#include "FrameSimFixture.h"
#include "PanelTestFrame.h"
#include "TraceCapture.h"

#include <functional>

namespace {

using Frame = CGUIGDIPlusMfcFrameMain;
using kztr::test::Controller;

class PanelSyncTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        StartUp();
        // As after a connect to a controller with both polarities positive and audio on.
        m_frame->EnableAllCtrl(true);
        m_frame->m_hCurRZ8Full.setHp(1);
        m_frame->m_hCurRZ8Full.setVp(1);
        m_frame->m_hCurRZ8Full.setAudiobit(1);
        m_frame->APIPR_UpdateWholeUIFromData(m_frame->m_hCurRZ8Full);
    }
    void Click(const GUIRect& rc) {
        const QPoint p = Centre(rc);
        m_frame->GetMouseRouter().OnLButtonDown(p.x(), p.y());
        m_frame->GetMouseRouter().OnLButtonUp(p.x(), p.y());
        QCoreApplication::sendPostedEvents(m_frame.get(), FrameMessageEvent::EventType());
    }
    QString Box(int i) const { return m_frame->m_hGUICtrlEditBox[i].GetText(); }
    void SetBox(int i, int v) { m_frame->m_hGUICtrlEditBox[i].SetNumber(v); }
};

TEST_F(PanelSyncTest, ARecordShowsInTheBoxesRadiosAndSlider) {
    RZ8Full r{};
    r.setVRStored(0);
    r.hRZ8Data.iHLimitBE[0] = 0x04;
    r.hRZ8Data.iHLimitBE[1] = 0x00;
    r.hRZ8Data.iVLimit = 200;
    r.hRZ8Data.HO = 12;
    r.hRZ8Data.VO = 3;
    r.hRZ8Data.HSW = 44;
    r.hRZ8Data.VSW = 5;
    r.setHp(1);
    r.setVp(0);
    r.setColor_10bit(1);
    r.setAudiobit(0);
    r.setDID_Ver(2);
    r.hRZ8Data.I_output_mode = 6;
    const RZ8Full before = r;
    m_frame->APIPR_UpdateWholeUIFromData(r);

    EXPECT_EQ(Box(Frame::kEditVRate), "20");
    EXPECT_EQ(Box(Frame::kEditHBlank), "1024");
    EXPECT_EQ(m_frame->m_wHBlank, 1024);
    EXPECT_EQ(Box(Frame::kEditVBlank), "200");
    EXPECT_EQ(Box(Frame::kEditHOffset), "12");
    EXPECT_EQ(Box(Frame::kEditVOffset), "3");
    EXPECT_EQ(Box(Frame::kEditHSyncWidth), "44");
    EXPECT_EQ(Box(Frame::kEditVSyncWidth), "5");
    // Polarity pairs: "+" first; colour: 8 bit first; audio: "On" first.
    EXPECT_TRUE(m_frame->m_hGUICtrlRdoBtnHPol[0].GetCheck());
    EXPECT_FALSE(m_frame->m_hGUICtrlRdoBtnHPol[1].GetCheck());
    EXPECT_FALSE(m_frame->m_hGUICtrlRdoBtnVPol[0].GetCheck());
    EXPECT_TRUE(m_frame->m_hGUICtrlRdoBtnVPol[1].GetCheck());
    EXPECT_TRUE(m_frame->m_hGUICtrlRdoBtnColor[1].GetCheck());
    EXPECT_TRUE(m_frame->m_hGUICtrlRdoBtnAudio[1].GetCheck());
    for (int i = 0; i < Frame::kEDIDCount; ++i)
        EXPECT_EQ(m_frame->m_hGUICtrlRdoBtnEDID[i].GetCheck(), i == 2) << "EDID radio " << i;
    EXPECT_EQ(m_frame->m_hGUICtrlSliderRes.GetPos(), 6);
    EXPECT_EQ(r, before);
}

struct TakeCase {
    const char* name;
    int box;
    int typed;
    std::function<int(const RZ8Full&)> field;
    int expected;
};

void PrintTo(const TakeCase& c, std::ostream* os) {
    *os << c.name;
}

class TakeBoxTest : public PanelSyncTest, public ::testing::WithParamInterface<TakeCase> {};

TEST_P(TakeBoxTest, TheBoxValueGoesIntoItsField) {
    const TakeCase& c = GetParam();
    // Every other box holds a valid value.
    m_frame->APIPR_UpdateWholeUIFromData(m_frame->m_hCurRZ8Full);
    SetBox(c.box, c.typed);
    RZ8Full r{};
    EXPECT_TRUE(m_frame->APIPR_UpdateWholeDataFromUI(r));
    EXPECT_EQ(c.field(r), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TakeBoxTest,
    ::testing::Values(TakeCase{"VerticalRateIsStoredLessTwenty", Frame::kEditVRate, 60,
                               [](const RZ8Full& r) { return int(r.VRStored()); }, 40},
                      TakeCase{"TypedRateBeyondTheBoundKeepsSevenBits", Frame::kEditVRate, 150,
                               [](const RZ8Full& r) { return int(r.VRStored()); }, 130 & 0x7F},
                      TakeCase{"HorzBlankHighByteFirst", Frame::kEditHBlank, 1000,
                               [](const RZ8Full& r) { return r.hRZ8Data.iHLimitBE[0] << 8 | 0; },
                               0x0300},
                      TakeCase{"HorzBlankLowByteSecond", Frame::kEditHBlank, 1000,
                               [](const RZ8Full& r) { return int(r.hRZ8Data.iHLimitBE[1]); }, 0xE8},
                      TakeCase{"VertBlankUnsigned", Frame::kEditVBlank, 200,
                               [](const RZ8Full& r) { return int(r.hRZ8Data.iVLimit); }, 200},
                      TakeCase{"TypedOffsetIsCutToEightBits", Frame::kEditHOffset, 300,
                               [](const RZ8Full& r) { return int(r.hRZ8Data.HO); }, 300 & 0xFF},
                      TakeCase{"VertOffset", Frame::kEditVOffset, 17,
                               [](const RZ8Full& r) { return int(r.hRZ8Data.VO); }, 17},
                      TakeCase{"HorzSyncWidth", Frame::kEditHSyncWidth, 99,
                               [](const RZ8Full& r) { return int(r.hRZ8Data.HSW); }, 99},
                      TakeCase{"VertSyncWidth", Frame::kEditVSyncWidth, 8,
                               [](const RZ8Full& r) { return int(r.hRZ8Data.VSW); }, 8}),
    [](const auto& info) { return std::string(info.param.name); });

struct AdjustCase {
    const char* name;
    int box;
    int button;
    int start;
    int expected;
};

void PrintTo(const AdjustCase& c, std::ostream* os) {
    *os << c.name;
}

class AdjusterTest : public PanelSyncTest, public ::testing::WithParamInterface<AdjustCase> {};

TEST_P(AdjusterTest, StepsWithinTheBoxBounds) {
    const AdjustCase& c = GetParam();
    SetBox(c.box, c.start);
    const RZ8Full record = m_frame->m_hCurRZ8Full;
    Click(m_frame->m_hGUICtrlBtn[c.button].m_rcCtrl);
    EXPECT_EQ(Box(c.box), QString::number(c.expected));
    EXPECT_EQ(m_frame->m_hCurRZ8Full, record) << "the record waits for Apply";
    EXPECT_FALSE(m_frame->m_hGUICtrlBtn[c.button].GetBusy());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, AdjusterTest,
    ::testing::Values(
        AdjustCase{"RateUp", Frame::kEditVRate, 7, 60, 61},
        AdjustCase{"RateDownStopsAtTwenty", Frame::kEditVRate, 8, 20, 20},
        AdjustCase{"RateUpStopsAt120", Frame::kEditVRate, 7, 120, 120},
        AdjustCase{"HorzBlankUpStopsAt1023", Frame::kEditHBlank, 9, 1023, 1023},
        AdjustCase{"HorzBlankDown", Frame::kEditHBlank, 10, 280, 279},
        AdjustCase{"HorzOffsetDownStopsAtTen", Frame::kEditHOffset, 12, 10, 10},
        AdjustCase{"TypedOffsetAboveTheBoundGoesDownByOne", Frame::kEditHOffset, 12, 300, 299},
        AdjustCase{"TypedOffsetAboveTheBoundUpIsTheBound", Frame::kEditHOffset, 11, 300, 255},
        AdjustCase{"HorzSyncUp", Frame::kEditHSyncWidth, 13, 40, 41},
        AdjustCase{"VertBlankDownStopsAtSix", Frame::kEditVBlank, 16, 7, 6},
        AdjustCase{"VertOffsetUpStopsAt128", Frame::kEditVOffset, 17, 128, 128},
        AdjustCase{"VertOffsetDown", Frame::kEditVOffset, 18, 3, 2},
        AdjustCase{"VertSyncUp", Frame::kEditVSyncWidth, 19, 127, 128},
        AdjustCase{"VertSyncDownStopsAtTwo", Frame::kEditVSyncWidth, 20, 2, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelSyncTest, VertBlankAdjustersTraceTheNewValue) {
    kztr::test::TraceCapture trace;
    SetBox(Frame::kEditVBlank, 45);
    Click(m_frame->m_hGUICtrlBtn[15].m_rcCtrl);
    Click(m_frame->m_hGUICtrlBtn[16].m_rcCtrl);
    Click(m_frame->m_hGUICtrlBtn[16].m_rcCtrl);
    EXPECT_EQ(trace.count("[D][HB][SET GUI]OnCtrlBtnMsgVBlankInc + 46"), 1);
    EXPECT_EQ(trace.count("[D][HB][SET GUI]OnCtrlBtnMsgVBlankInc - 45"), 1);
    EXPECT_EQ(trace.count("[D][HB][SET GUI]OnCtrlBtnMsgVBlankInc - 44"), 1);
}

struct RadioCase {
    const char* name;
    std::function<CGUIGDIPlusMfcCtrlRdoBtn&(Frame&)> radio;
    // The edited record as it must be after the click.
    std::function<void(RZ8Full&)> expect;
};

void PrintTo(const RadioCase& c, std::ostream* os) {
    *os << c.name;
}

class RadioTest : public PanelSyncTest, public ::testing::WithParamInterface<RadioCase> {};

TEST_P(RadioTest, TheClickChangesItsFieldOfTheEditedRecordAtOnce) {
    const RadioCase& c = GetParam();
    RZ8Full expected = m_frame->m_hCurRZ8Full;
    c.expect(expected);
    ASSERT_NE(expected, m_frame->m_hCurRZ8Full) << "the click must change something";
    CGUIGDIPlusMfcCtrlRdoBtn& radio = c.radio(*m_frame);
    Click(radio.m_rcCtrl);
    EXPECT_EQ(m_frame->m_hCurRZ8Full, expected);
    EXPECT_TRUE(radio.GetCheck());
    EXPECT_FALSE(radio.GetBusy());
}

INSTANTIATE_TEST_SUITE_P(
    Groups, RadioTest,
    ::testing::Values(
        RadioCase{"HorzMinus", [](Frame& f) -> auto& { return f.m_hGUICtrlRdoBtnHPol[1];
} // namespace
, [](RZ8Full& r) { r.setHp(0); }
}
, RadioCase{"VertMinus", [](Frame& f) -> auto& {return f.m_hGUICtrlRdoBtnVPol[1];
}
, [](RZ8Full& r) { r.setVp(0); }
}
, RadioCase{"TenBit", [](Frame& f) -> auto& {return f.m_hGUICtrlRdoBtnColor[1];
}
, [](RZ8Full& r) { r.setColor_10bit(1); }
}
, RadioCase{"AudioOff", [](Frame& f) -> auto& {return f.m_hGUICtrlRdoBtnAudio[1];
}
, [](RZ8Full& r) { r.setAudiobit(0); }
}
, RadioCase{"EdidTwoZero", [](Frame& f) -> auto& {return f.m_hGUICtrlRdoBtnEDID[3];
}
, [](RZ8Full& r) { r.setDID_Ver(3); }
}
, RadioCase{"EdidOneTwo", [](Frame& f) -> auto& {return f.m_hGUICtrlRdoBtnEDID[1];
}
, [](RZ8Full& r) { r.setDID_Ver(1); }
}),
    [](const auto& info) {
    return std::string(info.param.name); });

TEST_F(PanelSyncTest, ARadioClickUnchecksTheRestOfItsGroupAndPlusGivesBitOne) {
    Click(m_frame->m_hGUICtrlRdoBtnEDID[2].m_rcCtrl);
    for (int i = 0; i < Frame::kEDIDCount; ++i)
        EXPECT_EQ(m_frame->m_hGUICtrlRdoBtnEDID[i].GetCheck(), i == 2);
    Click(m_frame->m_hGUICtrlRdoBtnHPol[1].m_rcCtrl);
    Click(m_frame->m_hGUICtrlRdoBtnHPol[0].m_rcCtrl);
    EXPECT_EQ(m_frame->m_hCurRZ8Full.hp(), 1u);
    EXPECT_FALSE(m_frame->m_hGUICtrlRdoBtnHPol[1].GetCheck());
}

TEST_F(PanelSyncTest, TheSliderSetsTheOutputModeAndTheCheckBoxTogglesSync) {
    m_frame->m_hGUICtrlSliderRes.SetPos(7);
    m_frame->PostFrameMessage(FrameMsg::kSliderResolution, 0, 0);
    QCoreApplication::sendPostedEvents(m_frame.get(), FrameMessageEvent::EventType());
    EXPECT_EQ(m_frame->m_hCurRZ8Full.hRZ8Data.I_output_mode, 7);

    ASSERT_TRUE(m_frame->m_bDevSettingSync);
    Click(m_frame->m_hGUICtrlChkBox[0].m_rcCtrl);
    EXPECT_FALSE(m_frame->m_bDevSettingSync);
    EXPECT_FALSE(m_frame->m_hGUICtrlChkBox[0].GetCheck());
    Click(m_frame->m_hGUICtrlChkBox[0].m_rcCtrl);
    EXPECT_TRUE(m_frame->m_bDevSettingSync);
}

struct SameCase {
    const char* name;
    std::function<void(RZ8Full&)> change;
    bool same;
};

void PrintTo(const SameCase& c, std::ostream* os) {
    *os << c.name;
}

class SameSettingTest : public ::testing::TestWithParam<SameCase> {};

TEST_P(SameSettingTest, ComparesTheConfigurationFieldsOnly) {
    RZ8Full a{};
    a.setVRHz(60);
    a.setIHLimit(280);
    a.hRZ8Data.iVLimit = 45;
    RZ8Full b = a;
    GetParam().change(b);
    EXPECT_EQ(Frame::IsSameRZ8Setting(a, b), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SameSettingTest,
    ::testing::Values(SameCase{"Command", [](RZ8Full& r) { r.cmd = 0x27; }, true},
                      SameCase{"Model", [](RZ8Full& r) { r.model = 'K'; }, true},
                      SameCase{"Firmware", [](RZ8Full& r) { r.fw_ver = 9; }, true},
                      SameCase{"BoxId", [](RZ8Full& r) { r.box_id = 4; }, true},
                      SameCase{"Param", [](RZ8Full& r) { r.setParam(0x1600); }, true},
                      SameCase{"Hp", [](RZ8Full& r) { r.setHp(1); }, false},
                      SameCase{"Vp", [](RZ8Full& r) { r.setVp(1); }, false},
                      SameCase{"EdidVersion", [](RZ8Full& r) { r.setDID_Ver(2); }, false},
                      SameCase{"Audio", [](RZ8Full& r) { r.setAudiobit(1); }, false},
                      SameCase{"Colour", [](RZ8Full& r) { r.setColor_10bit(1); }, false},
                      SameCase{"Rate", [](RZ8Full& r) { r.setVRHz(75); }, false},
                      SameCase{"OutputMode", [](RZ8Full& r) { r.hRZ8Data.I_output_mode = 3; },
                               false},
                      SameCase{"HorzBlank", [](RZ8Full& r) { r.setIHLimit(281); }, false},
                      SameCase{"VertBlank", [](RZ8Full& r) { r.hRZ8Data.iVLimit = 46; }, false},
                      SameCase{"HorzOffset", [](RZ8Full& r) { r.hRZ8Data.HO = 1; }, false},
                      SameCase{"VertOffset", [](RZ8Full& r) { r.hRZ8Data.VO = 1; }, false},
                      SameCase{"HorzSync", [](RZ8Full& r) { r.hRZ8Data.HSW = 1; }, false},
                      SameCase{"VertSync", [](RZ8Full& r) { r.hRZ8Data.VSW = 1; }, false}),
    [](const auto& info) { return std::string(info.param.name); });

// What an Apply writes: the records and boxes against simulated controllers.
class ApplyWriteTest : public kztr::test::FrameSimTest {
protected:
    void ConnectTo(std::initializer_list<kztr::sim::ControllerConfig> ctls, bool sync) {
        Start(ctls);
        ASSERT_TRUE(Connect());
        if (m_frame->m_bDevSettingSync != sync) Click(m_frame->m_hGUICtrlChkBox[0].m_rcCtrl);
        m_sim.clearRequests();
        m_boxes.boxes.clear();
    }
    // As Apply does: a snapshot of the edited record, then the panel taken and written.
    bool Apply() {
        m_frame->m_hTmpRZ8Full = m_frame->m_hCurRZ8Full;
        return m_frame->APIPR_UpdateWholeDataFromUI(m_frame->m_hCurRZ8Full);
    }
};

TEST_F(ApplyWriteTest, OneControllerWithNothingChangedOnlyReadsBack) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    EXPECT_TRUE(Apply());
    EXPECT_EQ(Codes(3), std::vector<int>{0xFF});
    EXPECT_EQ(m_frame->m_wApplyChange, 2);
    EXPECT_TRUE(Apply());
    EXPECT_EQ(Codes(3), (std::vector<int>{0xFF, 0xFF}));
}

TEST_F(ApplyWriteTest, OneControllerGetsTheChangedBoxesThenIsReadBack) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    m_frame->m_hGUICtrlEditBox[Frame::kEditVRate].SetNumber(75);
    EXPECT_TRUE(Apply());
    EXPECT_EQ(Codes(3), (std::vector<int>{RZ8_BOOTCDE_SET_FULLDATA, 0xFF}));
    EXPECT_EQ(Frames(3)[0].VRHz(), 75);
    EXPECT_EQ(Frames(3)[0].box_id, 1);
    EXPECT_EQ(m_frame->m_wApplyChange, 1);
    EXPECT_EQ(m_frame->m_hDevRZ8Full.VRHz(), 75);
    EXPECT_EQ(m_frame->m_hCurRZ8Full, m_frame->m_hDevRZ8Full);
}

TEST_F(ApplyWriteTest, OnlyAChangedBoxIdSendsTheBoxIdCommandToThatId) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1, 'C', 9)}, false));
    m_frame->m_hCurRZ8Full.box_id = 5;
    EXPECT_TRUE(Apply());
    const std::vector<RZ8Full> sent = Frames(3);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].cmd, RZ8_BOOTCDE_SET_BOXID);
    EXPECT_EQ(sent[0].box_id, 5);
    EXPECT_EQ(Codes(3).back(), 0xFF);
    EXPECT_EQ(m_frame->m_hRZ8Dev[0].GetBoxId(), 5);
    EXPECT_EQ(m_frame->m_hGUICtrlTextDevBox[0].m_strText, "FW: 9\nCOM: 3\nBoxID: 5");
}

TEST_F(ApplyWriteTest, ARefusedBoxIdIsReported) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1)}, false));
    kztr::sim::Faults refuse;
    refuse.answerFE = true;
    ASSERT_TRUE(m_sim.setFaults(3, refuse));
    m_frame->m_hCurRZ8Full.box_id = 5;
    EXPECT_FALSE(Apply());
    EXPECT_EQ(m_boxes.Texts(), std::vector<QString>{"KZTRMaster apply fail.\nErrorCode = 0xA002"});
    EXPECT_EQ(m_frame->m_hRZ8Dev[0].GetBoxId(), 1);
}

TEST_F(ApplyWriteTest, WithSyncAChangeGoesToEveryControllerWithoutReadingBack) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1), Controller(5, 2)}, true));
    m_frame->m_hGUICtrlEditBox[Frame::kEditHBlank].SetNumber(300);
    const RZ8Full snapshot = m_frame->m_hCurRZ8Full;
    EXPECT_TRUE(Apply());
    EXPECT_EQ(Codes(3), std::vector<int>{RZ8_BOOTCDE_SET_FULLDATA});
    EXPECT_EQ(Codes(5), std::vector<int>{RZ8_BOOTCDE_SET_FULLDATA});
    EXPECT_EQ(Frames(3)[0].iHLimit(), 300);
    EXPECT_EQ(Frames(3)[0].box_id, 1);
    EXPECT_EQ(Frames(5)[0].box_id, 2);
    // The records go back to the snapshot; the box keeps what was typed.
    EXPECT_EQ(m_frame->m_hCurRZ8Full, snapshot);
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditHBlank].GetText(), "300");
}

TEST_F(ApplyWriteTest, WithSyncADifferentBoxIdAloneWritesNothing) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1), Controller(5, 2)}, true));
    m_frame->m_hCurRZ8Full.box_id = 7;
    EXPECT_TRUE(Apply());
    EXPECT_TRUE(Codes(3).empty());
    EXPECT_TRUE(Codes(5).empty());
    EXPECT_EQ(m_frame->m_wApplyChange, 2);
}

// Every controller is written at once: a refusal is reported and the others still get theirs.
TEST_F(ApplyWriteTest, WithSyncARefusalIsReportedAndTheOtherControllerIsStillWritten) {
    ASSERT_NO_FATAL_FAILURE(ConnectTo({Controller(3, 1), Controller(5, 2)}, true));
    kztr::sim::Faults refuse;
    refuse.answerFE = true;
    ASSERT_TRUE(m_sim.setFaults(3, refuse));
    m_frame->m_hGUICtrlEditBox[Frame::kEditVRate].SetNumber(50);
    EXPECT_FALSE(Apply());
    EXPECT_EQ(m_boxes.Texts(), std::vector<QString>{"KZTRMaster apply fail.\nErrorCode = 0xA001"});
    EXPECT_EQ(Codes(5), std::vector<int>{RZ8_BOOTCDE_SET_FULLDATA});
    EXPECT_EQ(m_sim.state(5)->config.VRHz(), 50);
}

} // namespace
