#include "GUITextTable.h"

#include <gtest/gtest.h>

namespace {

class GUITextTableTest : public ::testing::Test {
protected:
    void SetUp() override { m_table.Fill(); }
    GUITextTable m_table;
};

TEST_F(GUITextTableTest, HoldsAllLabelsAndMessages) {
    EXPECT_EQ(m_table.LabelCount(), GUITextTable::kLabelCount);
    EXPECT_EQ(m_table.MessageCount(), GUITextTable::kMessageCount);
    EXPECT_EQ(GUITextTable::kLabelCount, 31);
    EXPECT_EQ(GUITextTable::kMessageCount, 14);
}

TEST_F(GUITextTableTest, IndexOutsideAListGivesAnEmptyText) {
    EXPECT_TRUE(m_table.GetLabel(-1).isEmpty());
    EXPECT_TRUE(m_table.GetLabel(31).isEmpty());
    EXPECT_TRUE(m_table.GetMessage(14).isEmpty());
    EXPECT_TRUE(GUITextTable().GetMessage(0).isEmpty()) << "an unfilled table holds nothing";
}

TEST(GUITextTableInstanceTest, TheProcessWideTableIsFilledOnce) {
    GUITextTable::Instance().Fill();
    GUITextTable::Instance().Fill();
    EXPECT_EQ(GUITextTable::Instance().LabelCount(), 31);
    EXPECT_EQ(&GUITextTable::Instance(), &GUITextTable::Instance());
}

struct TextCase {
    const char* name;
    bool message; // false: label list
    int index;
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class GUITextTableTextTest : public GUITextTableTest,
                             public ::testing::WithParamInterface<TextCase> {};

TEST_P(GUITextTableTextTest, TextAtIndex) {
    const TextCase& c = GetParam();
    const QString text = c.message ? m_table.GetMessage(c.index) : m_table.GetLabel(c.index);
    EXPECT_EQ(text.toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    SpotChecks, GUITextTableTextTest,
    ::testing::Values(
        TextCase{"Label0Title", false, 0, "Quorvane Control Center Vx.xx - FWVer: Vx.xx"},
        TextCase{"Label1NoModel", false, 1, " - - - - - - "},
        TextCase{"Label2DeviceColumn", false, 2, "FW:30\nCOM:10\nID:20"},
        TextCase{"Label3Sync", false, 3, "Device Setting Sync"},
        TextCase{"Label6SecondHorzRadio", false, 6, "Positive (-)"},
        TextCase{"Label8FirstVertRadio", false, 8, "Positive (+)"},
        TextCase{"Label12TenBit", false, 12, "10 Bit"},
        TextCase{"Label20Edid20", false, 20, "v2.0"},
        TextCase{"Label21DpPort", false, 21, "DP Port -"}, TextCase{"Label22Times", false, 22, "x"},
        TextCase{"Label30Last", false, 30, "Vert Sync Width :"},
        TextCase{"Message0SerialCom", true, 0,
                 "The Serial COM initialize fail.\nPlease check again."},
        TextCase{"Message1Unused", true, 1, "It found that is disconnect with Serial COM."},
        TextCase{"Message2Initialize", true, 2, "KZTRMaster initialize fail."},
        TextCase{"Message5SwitchDevice", true, 5, "Switch to device fail."},
        TextCase{"Message7HwResetA002", true, 7,
                 "KZTRMaster hardware reset fail.\nErrorCode = 0xA002"},
        TextCase{"Message9SwResetA002", true, 9,
                 "KZTRMaster software reset fail.\nErrorCode = 0xA002"},
        TextCase{"Message10ApplyA001", true, 10, "KZTRMaster apply fail.\nErrorCode = 0xA001"},
        TextCase{"Message13Last", true, 13, "KZTRMaster apply fail.\nErrorCode = 0xA004"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatDeviceBoxTextTest, ThreeDecimalLines) {
    EXPECT_EQ(FormatDeviceBoxText(17, 3, 2).toStdString(), "FW: 17\nCOM: 3\nBoxID: 2");
    EXPECT_EQ(FormatDeviceBoxText(255, 15, 0).toStdString(), "FW: 255\nCOM: 15\nBoxID: 0");
    EXPECT_EQ(FormatDeviceBoxText(0, 1, 128).toStdString(), "FW: 0\nCOM: 1\nBoxID: 128")
        << "values above 127 stay unsigned";
}

TEST(TextMsgTest, NamedIndicesPointAtTheirTexts) {
    GUITextTable table;
    table.Fill();
    EXPECT_EQ(table.GetMessage(TextMsg::kInitializeFail), "KZTRMaster initialize fail.");
    EXPECT_TRUE(table.GetMessage(TextMsg::kHwResetFailA001).endsWith("0xA001"));
    EXPECT_TRUE(table.GetMessage(TextMsg::kApplyFailA004).endsWith("0xA004"));
    EXPECT_TRUE(table.GetMessage(TextMsg::kPatternOffFail).contains("off"));
}

} // namespace
