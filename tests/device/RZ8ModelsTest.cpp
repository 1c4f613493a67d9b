// The model table: box mode, label, Set button and port registers by model letter.
#include "RZ8Models.h"

#include <gtest/gtest.h>
#include <ostream>
#include <set>

namespace {

struct ModelCase {
    const char* name;
    char letter;
    uint8_t boxMode;
    const char* label; // with polarity 0x1A
    bool setButton;
    std::vector<uint8_t> portRegisters;
};

// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const ModelCase& c, std::ostream* os) {
    *os << c.name;
}

class ModelTableTest : public ::testing::TestWithParam<ModelCase> {};

TEST_P(ModelTableTest, Row) {
    const ModelCase& c = GetParam();
    EXPECT_EQ(BoxModeFromModelLetter(c.letter), c.boxMode);
    EXPECT_EQ(ModelLabel(c.letter, 0x1A), QString::fromLatin1(c.label));
    EXPECT_EQ(ModelHasSetButton(c.letter), c.setButton);
    EXPECT_EQ(PortRegisterCommands(c.letter), c.portRegisters);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, ModelTableTest,
    ::testing::Values(
        ModelCase{
            "C", 'C', BOXMODE_T1T3, "ZEPH - T1/T3 H/V Polarity:+/-", true, {0x29, 0x2A, 0x2B}},
        ModelCase{
            "c", 'c', BOXMODE_T1T3, "ZEPH - T1/T3 H/V Polarity:+/-", true, {0x29, 0x2A, 0x2B}},
        ModelCase{"H", 'H', BOXMODE_T5, "ZEPH - T5 H/V Polarity:+/-", true, {0x2D, 0x2E}},
        ModelCase{"D", 'D', BOXMODE_T4T5_A, "ZEPH - T4/T5 H/V Polarity:+/-", true, {0x2D, 0x2E}},
        ModelCase{"d", 'd', BOXMODE_T4T5_B, "ZEPH - T4/T5 H/V Polarity:+/-", true, {0x2C}},
        ModelCase{"E", 'E', BOXMODE_T2, "ZEPH - T2/T2K H/V Polarity:+/-", true, {0x2A, 0x2B}},
        ModelCase{"e", 'e', BOXMODE_T2, "ZEPH - T2/T2K H/V Polarity:+/-", true, {0x2A, 0x2B}},
        ModelCase{"K", 'K', BOXMODE_T2CLONE, "ZEPH - T2Clone H/V Polarity:+/-", true, {0x2A, 0x2B}},
        ModelCase{"i", 'i', BOXMODE_NIVRA, "ZEPH - nivraT4 H/V Polarity:+/-", false, {0x2C}},
        ModelCase{"h", 'h', BOXMODE_UNKNOWN, "ZEPH - unknow H/V Polarity:+/-", false, {}},
        ModelCase{"I", 'I', BOXMODE_UNKNOWN, "ZEPH - unknow H/V Polarity:+/-", false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModelTable, BoxModesAreDistinct) {
    std::set<uint8_t> modes;
    for (char l : std::string("CHDdEKiX"))
        modes.insert(BoxModeFromModelLetter(l));
    EXPECT_EQ(modes.size(), 8u);
}

TEST(ModelTable, PolarityTexts) {
    EXPECT_EQ(PolarityText(0x18), QStringLiteral("H/V Polarity:-/-"));
    EXPECT_EQ(PolarityText(0x1A), QStringLiteral("H/V Polarity:+/-"));
    EXPECT_EQ(PolarityText(0x1C), QStringLiteral("H/V Polarity:-/+"));
    EXPECT_EQ(PolarityText(0x1E), QStringLiteral("H/V Polarity:+/+"));
    EXPECT_TRUE(PolarityText(0x00).isEmpty());
    EXPECT_TRUE(PolarityText(0x1F).isEmpty());
    EXPECT_EQ(ModelLabel('d', 0), QStringLiteral("ZEPH - T4/T5 "));
}

} // namespace
