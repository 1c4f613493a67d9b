// Layout of the daily-log summary line.
#include "DeviceSummaryLine.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

std::vector<SliderResInfo> quadrupleWidth() {
    CResolutionCatalogue cat;
    cat.m_strUserRes = {"", "7680 * 2160", "", ""};
    cat.BuildSliderResInfo();
    return cat.m_vecSliderResInfo[1];
}

RZ8Full applyRecord() {
    RZ8Full r{};
    r.cmd = 0x00;
    r.setVRHz(60);
    r.hRZ8Data.iVLimit = 45;
    r.setAudiobit(1);
    r.hRZ8Data.I_output_mode = 7;
    return r;
}

TEST(DeviceSummaryLineTest, WorkedExample) {
    EXPECT_EQ(FormatDeviceSummaryLine(1, applyRecord(), 280, quadrupleWidth()),
              QStringLiteral("v3.11 (ID = 01) - ; VR = 60Hz; HLimited = 280; VLimited = 45;  "
                             "Audio = ON ; Cmd=0 DP=7 [UP PORT]7680 x 1080; "));
}

TEST(DeviceSummaryLineTest, HorizontalBlankComesFromTheCallerNotTheRecord) {
    RZ8Full r = applyRecord();
    r.setIHLimit(999);
    EXPECT_TRUE(FormatDeviceSummaryLine(1, r, 123, quadrupleWidth())
                    .contains(QStringLiteral("; HLimited = 123; ")));
}

struct FieldCase {
    const char* name;
    uint8_t boxId;
    void (*change)(RZ8Full&);
    const char* fragment;
};

// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << c.name;
}

class SummaryFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(SummaryFieldTest, Shows) {
    const FieldCase& c = GetParam();
    RZ8Full r = applyRecord();
    if (c.change) c.change(r);
    const QString line = FormatDeviceSummaryLine(c.boxId, r, 280, quadrupleWidth());
    EXPECT_TRUE(line.contains(QString::fromLatin1(c.fragment))) << line.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SummaryFieldTest,
    ::testing::Values(
        FieldCase{"IdZero", 0, nullptr, "v3.11 (ID = 00) - ; "},
        FieldCase{"IdNine", 9, nullptr, "v3.11 (ID = 09) - ; "},
        FieldCase{"IdTen", 10, nullptr, "v3.11 (ID = 10) - ; "},
        FieldCase{"IdNoId", 255, nullptr, "v3.11 (ID = 255) - ; "},
        FieldCase{"NegativeVerticalBlank", 1, [](RZ8Full& r) { r.hRZ8Data.iVLimit = 200; },
                  "; VLimited = -56;  Audio"},
        FieldCase{"AudioOff", 1, [](RZ8Full& r) { r.setAudiobit(0); }, ";  Audio = OFF ; Cmd="},
        FieldCase{"RateOfStoredValue", 1, [](RZ8Full& r) { r.setVRHz(147); }, "; VR = 147Hz; "},
        FieldCase{"CommandUnsigned", 1, [](RZ8Full& r) { r.cmd = 0xFE; }, " Cmd=254 DP=7 "},
        FieldCase{"UserDefinedPosition", 1, [](RZ8Full& r) { r.hRZ8Data.I_output_mode = 9; },
                  " DP=9 [UP PORT]7680 * 2160; "},
        FieldCase{"ModeWithoutEntry", 1, [](RZ8Full& r) { r.hRZ8Data.I_output_mode = -3; },
                  " Cmd=0 DP=-3 [UP PORT]; "}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
