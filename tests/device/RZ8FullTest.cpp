// Field accessors of the 16-byte configuration record.
#include "RZ8Full.h"

#include <gtest/gtest.h>

#include <array>

namespace {

RZ8Full fromBytes(const std::array<uint8_t, 16>& b) {
    RZ8Full r{};
    std::memcpy(&r, b.data(), 16);
    return r;
}

std::array<uint8_t, 16> toBytes(const RZ8Full& r) {
    std::array<uint8_t, 16> b{};
    std::memcpy(b.data(), &r, 16);
    return b;
}

TEST(RZ8FullRead, FlagsWord0x2800IsSixtyHertzWithEveryFlagOff) {
    const RZ8Full r = fromBytes({0, 0, 0, 0, 0x00, 0x28, 0x00, 0x00});
    EXPECT_EQ(r.flagsWord(), 0x2800u);
    EXPECT_EQ(r.VRHz(), 60);
    EXPECT_EQ(r.DID_Ver(), 0u);
    EXPECT_EQ(r.vp(), 0u);
    EXPECT_EQ(r.hp(), 0u);
    EXPECT_EQ(r.color_10bit(), 0u);
    EXPECT_EQ(r.audiobit(), 0u);
    EXPECT_EQ(r.param(), 0u);
}

TEST(RZ8FullRead, ZeroFlagsWordIsTwentyHertz) {
    const RZ8Full r{};
    EXPECT_EQ(r.VRHz(), 20);
    EXPECT_EQ(r.VRStored(), 0u);
}

struct RateRow {
    const char* name;
    int hz;
    unsigned stored;
};
void PrintTo(const RateRow& row, std::ostream* os) {
    *os << row.name;
}

class RZ8FullRate : public ::testing::TestWithParam<RateRow> {};

TEST_P(RZ8FullRate, StoresHertzMinusTwentyInSevenBits) {
    // Every neighbouring bit set: the write must not disturb any of them.
    RZ8Full r = fromBytes({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
    r.setVRHz(GetParam().hz);
    EXPECT_EQ(r.VRStored(), GetParam().stored);
    EXPECT_EQ(r.flagsWord() & ~0x7F00u, 0xFFFF80FFu);
}

INSTANTIATE_TEST_SUITE_P(Record, RZ8FullRate,
                         ::testing::Values(RateRow{"Lowest20", 20, 0}, RateRow{"Sixty", 60, 40},
                                           RateRow{"Highest147", 147, 127},
                                           RateRow{"Wraps148", 148, 0},
                                           RateRow{"Panel120", 120, 100}),
                         [](const auto& info) { return std::string(info.param.name); });

// One setter at a time on a record full of distinct values: only its own bits move.
struct FieldRow {
    const char* name;
    void (*set)(RZ8Full&);
    uint32_t changedBits; // bits of the flags word the setter may change
};
void PrintTo(const FieldRow& row, std::ostream* os) {
    *os << row.name;
}

class RZ8FullField : public ::testing::TestWithParam<FieldRow> {};

TEST_P(RZ8FullField, SetterLeavesEveryOtherFieldAlone) {
    const std::array<uint8_t, 16> start = {0x27, 'C', 17, 2,    0xA5, 0x5A, 0x12, 0x34,
                                           3,    45,  1,  0x18, 7,    8,    9,    10};
    RZ8Full r = fromBytes(start);
    const RZ8Full before = r;
    GetParam().set(r);
    EXPECT_EQ(r.flagsWord() & ~GetParam().changedBits,
              before.flagsWord() & ~GetParam().changedBits);
    EXPECT_NE(r.flagsWord(), before.flagsWord()) << "the setter changed nothing";
    const auto after = toBytes(r);
    for (int i : {0, 1, 2, 3, 8, 9, 10, 11, 12, 13, 14, 15})
        EXPECT_EQ(after[i], start[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Record, RZ8FullField,
    ::testing::Values(
        FieldRow{"Hp", [](RZ8Full& r) { r.setHp(!r.hp()); }, 1u << 3},
        FieldRow{"Vp", [](RZ8Full& r) { r.setVp(!r.vp()); }, 1u << 2},
        FieldRow{"DIDVer", [](RZ8Full& r) { r.setDID_Ver((r.DID_Ver() + 1) & 3); }, 0x3u},
        FieldRow{"Color10bit", [](RZ8Full& r) { r.setColor_10bit(!r.color_10bit()); }, 1u << 4},
        FieldRow{"Audio", [](RZ8Full& r) { r.setAudiobit(!r.audiobit()); }, 1u << 5},
        FieldRow{"VR", [](RZ8Full& r) { r.setVRHz(r.VRHz() + 1); }, 0x7Fu << 8},
        FieldRow{"Param", [](RZ8Full& r) { r.setParam(0xAAAA); }, 0xFFFFu << 16}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RZ8FullPolarity, HpAndVpAreIndependent) {
    RZ8Full r{};
    r.setVRHz(75);
    r.setParam(1920);
    r.setHp(1);
    EXPECT_EQ(r.hp(), 1u);
    EXPECT_EQ(r.vp(), 0u);
    r.setVp(1);
    r.setHp(0);
    EXPECT_EQ(r.hp(), 0u);
    EXPECT_EQ(r.vp(), 1u);
    EXPECT_EQ(r.VRHz(), 75);
    EXPECT_EQ(r.param(), 1920u);
}

TEST(RZ8FullWire, HorizontalBlankIsBigEndianInBytesTenAndEleven) {
    RZ8Full r{};
    r.setIHLimit(280);
    const auto b = toBytes(r);
    EXPECT_EQ(b[10], 0x01);
    EXPECT_EQ(b[11], 0x18);
    EXPECT_EQ(fromBytes(b).iHLimit(), 280);
}

TEST(RZ8FullWire, ParamIsBigEndianInBytesSixAndSeven) {
    RZ8Full r{};
    r.setParam(0x0780);
    auto b = toBytes(r);
    EXPECT_EQ(b[6], 0x07);
    EXPECT_EQ(b[7], 0x80);
    b[6] = 0xAA;
    b[7] = 0x01;
    EXPECT_EQ(fromBytes(b).param(), 0xAA01);
}

} // namespace
