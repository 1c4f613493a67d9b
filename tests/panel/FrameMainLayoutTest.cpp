// The built panel as the operator reads it: every label says what its control does and
// stands beside that control, and every +/- pair works the box it stands beside.
#include "PanelTestFrame.h"

#include <functional>
#include <string>

namespace {

using F = CGUIGDIPlusMfcFrameMain;

enum class Side { kLabelRight, kLabelLeft };

// A control and the label slot (A0 to A31) that names it.
struct LabelPairCase {
    const char* name;
    std::function<GUIRect(F&)> ctrl;
    int slot;
    const char* text;
    Side side;
};

void PrintTo(const LabelPairCase& c, std::ostream* os) {
    *os << c.name;
}

int CentreY(const GUIRect& rc) {
    return (rc.top + rc.bottom) / 2;
}

class LabelPairTest : public PanelTest, public ::testing::WithParamInterface<LabelPairCase> {};

TEST_P(LabelPairTest, LabelNamesItsControlOnTheSameLine) {
    StartUp();
    const LabelPairCase& c = GetParam();
    const CGUIGDIPlusMfcCtrlText& label = m_frame->m_hGUICtrlText[c.slot];
    const GUIRect ctrl = c.ctrl(*m_frame);

    EXPECT_EQ(label.m_strText, c.text);
    EXPECT_TRUE(label.m_bVisible);
    if (c.side == Side::kLabelRight)
        EXPECT_GE(label.m_rcCtrl.left, ctrl.right);
    else
        EXPECT_LE(label.m_rcCtrl.right, ctrl.left);
    // Within a few pixels of the control's middle: it reads as one line.
    EXPECT_LE(std::abs(CentreY(label.m_rcCtrl) - CentreY(ctrl)), 3)
        << "label " << CentreY(label.m_rcCtrl) << ", control " << CentreY(ctrl);
}

GUIRect Rdo(CGUIGDIPlusMfcCtrlRdoBtn& r) {
    return r.m_rcCtrl;
}

INSTANTIATE_TEST_SUITE_P(
    Panel, LabelPairTest,
    ::testing::Values(
        LabelPairCase{"HorzPositive", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnHPol[0]); }, 4,
                      "Positive (+)", Side::kLabelRight},
        LabelPairCase{"HorzNegative", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnHPol[1]); }, 5,
                      "Positive (-)", Side::kLabelRight},
        LabelPairCase{"VertPositive", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnVPol[0]); }, 7,
                      "Positive (+)", Side::kLabelRight},
        LabelPairCase{"VertNegative", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnVPol[1]); }, 8,
                      "Positive (-)", Side::kLabelRight},
        LabelPairCase{"EightBit", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnColor[0]); }, 10, "8 Bit",
                      Side::kLabelRight},
        LabelPairCase{"TenBit", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnColor[1]); }, 11, "10 Bit",
                      Side::kLabelRight},
        LabelPairCase{"AudioOn", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnAudio[0]); }, 13, "On",
                      Side::kLabelRight},
        LabelPairCase{"AudioOff", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnAudio[1]); }, 14, "Off",
                      Side::kLabelRight},
        LabelPairCase{"Edid11", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnEDID[0]); }, 16, "v1.1",
                      Side::kLabelRight},
        LabelPairCase{"Edid12", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnEDID[1]); }, 17, "v1.2",
                      Side::kLabelRight},
        LabelPairCase{"Edid13", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnEDID[2]); }, 18, "v1.3",
                      Side::kLabelRight},
        LabelPairCase{"Edid20", [](F& f) { return Rdo(f.m_hGUICtrlRdoBtnEDID[3]); }, 19, "v2.0",
                      Side::kLabelRight},
        LabelPairCase{"DeviceSettingSync", [](F& f) { return f.m_hGUICtrlChkBox[0].m_rcCtrl; }, 2,
                      "Device Setting Sync", Side::kLabelRight},
        LabelPairCase{"VerticalRate", [](F& f) { return f.m_hGUICtrlEditBox[2].m_rcCtrl; }, 23,
                      "Vertical Rate :", Side::kLabelLeft},
        LabelPairCase{"HorzBlank", [](F& f) { return f.m_hGUICtrlEditBox[3].m_rcCtrl; }, 24,
                      "Horz Blank :", Side::kLabelLeft},
        LabelPairCase{"HorzOffset", [](F& f) { return f.m_hGUICtrlEditBox[4].m_rcCtrl; }, 25,
                      "Horz Offset :", Side::kLabelLeft},
        LabelPairCase{"HorzSyncWidth", [](F& f) { return f.m_hGUICtrlEditBox[5].m_rcCtrl; }, 26,
                      "Horz Sync Width :", Side::kLabelLeft},
        LabelPairCase{"VertBlank", [](F& f) { return f.m_hGUICtrlEditBox[6].m_rcCtrl; }, 27,
                      "Vert Blank :", Side::kLabelLeft},
        LabelPairCase{"VertOffset", [](F& f) { return f.m_hGUICtrlEditBox[7].m_rcCtrl; }, 28,
                      "Vert Offset :", Side::kLabelLeft},
        LabelPairCase{"VertSyncWidth", [](F& f) { return f.m_hGUICtrlEditBox[8].m_rcCtrl; }, 29,
                      "Vert Sync Width :", Side::kLabelLeft}),
    [](const auto& info) { return std::string(info.param.name); });

// A +/- pair and the number box it works: the box's limits, the pair's messages, and the
// pair standing right of the box with + above its middle and - below.
struct AdjusterCase {
    const char* name;
    int box;
    int min;
    int max;
};

void PrintTo(const AdjusterCase& c, std::ostream* os) {
    *os << c.name;
}

class AdjusterPairTest : public PanelTest, public ::testing::WithParamInterface<AdjusterCase> {};

TEST_P(AdjusterPairTest, StandsBesideItsBox) {
    StartUp();
    const AdjusterCase& c = GetParam();
    const CGUIGDIPlusMfcCtrlEditBox& box = m_frame->m_hGUICtrlEditBox[c.box];
    // Boxes 2 to 8 have their pairs at buttons 7 + 2 (box - 2) and the next.
    const int inc = F::kFirstAdjusterBtn + 2 * (c.box - 2);
    const CGUIGDIPlusMfcCtrlBtn& plus = m_frame->m_hGUICtrlBtn[inc];
    const CGUIGDIPlusMfcCtrlBtn& minus = m_frame->m_hGUICtrlBtn[inc + 1];

    EXPECT_EQ(box.m_iMin, c.min);
    EXPECT_EQ(box.m_iMax, c.max);
    EXPECT_EQ(plus.GetMsg(), FrameMsg::kBtnAdjustFirst + 2u * unsigned(c.box - 2));
    EXPECT_EQ(minus.GetMsg(), plus.GetMsg() + 1);
    EXPECT_TRUE(plus.m_strImagePath.endsWith("GUIFrameMainCtrlBtn_AddInc.tksx"));
    EXPECT_TRUE(minus.m_strImagePath.endsWith("GUIFrameMainCtrlBtn_AddDec.tksx"));

    EXPECT_GE(plus.m_rcCtrl.left, box.m_rcCtrl.right);
    EXPECT_EQ(plus.m_rcCtrl.left, minus.m_rcCtrl.left);
    const int middle = CentreY(box.m_rcCtrl);
    EXPECT_LE(plus.m_rcCtrl.bottom, middle + 1);
    EXPECT_GE(plus.m_rcCtrl.bottom, middle - 3);
    EXPECT_LE(minus.m_rcCtrl.top, middle + 1);
    EXPECT_GE(minus.m_rcCtrl.top, middle - 3);
}

INSTANTIATE_TEST_SUITE_P(Panel, AdjusterPairTest,
                         ::testing::Values(AdjusterCase{"VerticalRate", 2, 20, 120},
                                           AdjusterCase{"HorzBlank", 3, 40, 1023},
                                           AdjusterCase{"HorzOffset", 4, 10, 255},
                                           AdjusterCase{"HorzSyncWidth", 5, 10, 255},
                                           AdjusterCase{"VertBlank", 6, 6, 255},
                                           AdjusterCase{"VertOffset", 7, 2, 128},
                                           AdjusterCase{"VertSyncWidth", 8, 2, 128}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelTest, DeviceButtonsStandAboveTheirColumns) {
    StartUp();
    for (int i = 0; i < F::kDevBoxCount; ++i) {
        const GUIRect& radio = m_frame->m_hGUICtrlRdoBtnDevBox[i].m_rcCtrl;
        const CGUIGDIPlusMfcCtrlText& column = m_frame->m_hGUICtrlTextDevBox[i];
        EXPECT_EQ(column.m_rcCtrl.left, 23 + 75 * i) << "column " << i;
        EXPECT_LE(radio.bottom, column.m_rcCtrl.top) << "column " << i;
        EXPECT_LE(
            std::abs((radio.left + radio.right) - (column.m_rcCtrl.left + column.m_rcCtrl.right)),
            4)
            << "column " << i;
        EXPECT_EQ(column.m_strText, "FW:30\nCOM:10\nID:20");
        EXPECT_EQ(m_frame->m_hGUICtrlRdoBtnDevBox[i].GetMsg(), FrameMsg::kRdoDevBox);
    }
}

TEST_F(PanelTest, HeadingsAndModelLabelReadAsTheyShould) {
    StartUp();
    const struct {
        int slot;
        const char* text;
        GUIColorRef colour;
    } rows[] = {{1, " - - - - - - ", 0x2DDCFF},  {3, "Horz Polarity", 0x2DDCFF},
                {6, "Vert Polarity", 0x2DDCFF},  {9, "Color Depth", 0x2DDCFF},
                {12, "Audio Support", 0x2DDCFF}, {15, "EDID Version", 0x2DDCFF},
                {20, "DP Port -", 0x2DDCFF},     {21, "x", 0xFFFFFF},
                {22, "Parameter -", 0x2DDCFF}};
    for (const auto& r : rows) {
        const CGUIGDIPlusMfcCtrlText& label = m_frame->m_hGUICtrlText[r.slot];
        EXPECT_EQ(label.m_strText, r.text) << "A" << r.slot;
        EXPECT_EQ(label.m_clrText, r.colour) << "A" << r.slot;
        EXPECT_EQ(label.m_strFace, "Arial") << "A" << r.slot;
    }
    // The two spare slots never show.
    EXPECT_FALSE(m_frame->m_hGUICtrlText[30].m_bVisible);
    EXPECT_FALSE(m_frame->m_hGUICtrlText[31].m_bVisible);
    // The "x" stands between the width and height boxes.
    const int x =
        (m_frame->m_hGUICtrlText[21].m_rcCtrl.left + m_frame->m_hGUICtrlText[21].m_rcCtrl.right) /
        2;
    EXPECT_GT(x, m_frame->m_hGUICtrlEditBox[0].m_rcCtrl.right);
    EXPECT_LT(x, m_frame->m_hGUICtrlEditBox[1].m_rcCtrl.left);
}

} // namespace
