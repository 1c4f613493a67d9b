// Frame trace lines of the send entry point and the checksums of received blocks.
#include "RZ8Frames.h"
#include "EdidBlock.h"
#include "TraceCapture.h"

#include <gtest/gtest.h>
#include <ostream>

using kztr::test::TraceCapture;

TEST(RZ8FramesTest, ConfigurationRequestIsTracedAsOneByte) {
    TraceCapture trace;
    const uint8_t request = RZ8_BOOTCDE_GET_OLDDATA;
    EXPECT_EQ(APIPR_UARTSendData(nullptr, &request, 1), 0); // no link: not sent, still traced
    ASSERT_EQ(trace.texts().size(), 1u);
    EXPECT_EQ(trace.texts()[0], "[D][Send]APIPR_UARTSendData length=1 : ff  ");
}

TEST(RZ8FramesTest, CommandFrameIsTracedInFourGroups) {
    TraceCapture trace;
    const uint8_t frame[16] = {0x27, 0x44, 0x50, 0x02, 0x00, 0x28, 0xAA, 0xAA,
                               0x07, 0x2D, 0x01, 0x18, 0x10, 0x11, 0x12, 0xFE};
    EXPECT_EQ(APIPR_UARTSendData(nullptr, frame, 16), 0);
    ASSERT_EQ(trace.texts().size(), 1u);
    EXPECT_EQ(trace.texts()[0], "[D][Send]APIPR_UARTSendData length=16 : 27 44 50 02    00 28 aa "
                                "aa    07 2d 01 18    10 11 12 fe     ");
}

TEST(RZ8FramesTest, BlockCommandsAreExactly0x27To0x2F) {
    for (int code = 0; code < 256; ++code)
        EXPECT_EQ(IsBlockCommand(uint8_t(code)), code >= 0x27 && code <= 0x2F) << code;
}

struct ChecksumCase {
    const char* name;
    std::vector<uint8_t> block;
    bool ok0, ok1, hasDid, okDid;
    std::vector<std::string> expectedLines; // in order, exact
};

// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const ChecksumCase& c, std::ostream* os) {
    *os << c.name;
}

class BlockChecksumTest : public ::testing::TestWithParam<ChecksumCase> {};

TEST_P(BlockChecksumTest, ResultsAndTraceLines) {
    const ChecksumCase& c = GetParam();
    TraceCapture trace;
    const BlockChecksumResult r = ExamineBlockChecksums(c.block.data());
    EXPECT_EQ(r.ok0(), c.ok0);
    EXPECT_EQ(r.ok1(), c.ok1);
    EXPECT_EQ(r.hasDid, c.hasDid);
    EXPECT_EQ(r.okDid(), c.okDid);
    EXPECT_EQ(trace.texts(), c.expectedLines);
}

namespace {
std::vector<uint8_t> named(const std::string& name) {
    return kztr::test::makeEdidBlock(0x1E, name);
}

std::vector<uint8_t> withBrokenBase() {
    auto b = named("ZEPHWALLPANEL");
    b[127] = uint8_t(b[127] + 1);
    return b;
}

std::vector<uint8_t> displayId(bool valid) {
    auto b = named("ZEPHWALLPANEL");
    b[128] = 0x70;
    b[130] = 0x33;
    kztr::test::fixEdidChecksums(b);
    if (!valid) b[254] = uint8_t(b[254] + 1); // also breaks the extension sum
    return b;
}

std::string hex(uint8_t v) {
    char s[4];
    std::snprintf(s, sizeof s, "%x", v);
    return s;
}

std::string sumLine(const char* what, const std::vector<uint8_t>& b, int stored) {
    return std::string("[D]") + what + "=" + hex(b[stored]) + " read =" + hex(b[stored]);
}

std::vector<ChecksumCase> checksumCases() {
    const auto good = named("ZEPHWALLPANEL");
    const auto noName = [] {
        auto b = named("ZEPHWALLPANEL");
        b[93] = 0xFD; // range limits instead of a name
        kztr::test::fixEdidChecksums(b);
        return b;
    }();
    const auto broken = withBrokenBase();
    const auto did = displayId(true);
    const auto badDid = displayId(false);
    const std::vector<uint8_t> zeros(256, 0);
    return {
        {"ValidEdidShowsProductName",
         good,
         true,
         true,
         false,
         true,
         {sumLine("checksum0", good, 127) + " ZEPH  L", sumLine("checksum1", good, 255)}},
        {"ValidEdidWithoutNameDescriptor",
         noName,
         true,
         true,
         false,
         true,
         {sumLine("checksum0", noName, 127), sumLine("checksum1", noName, 255)}},
        {"ZeroChecksumByteStillPasses",
         zeros,
         true,
         true,
         false,
         true,
         {"[D]checksum0=0 read =0", "[D]checksum1=0 read =0"}},
        {"BrokenBaseBlockIsReported",
         broken,
         false,
         true,
         false,
         true,
         {"[D]checksum0=" + hex(uint8_t(broken[127] - 1)) + " read =" + hex(broken[127]),
          "[D]checksum error", sumLine("checksum1", broken, 255)}},
        {"DisplayIdSectionChecked",
         did,
         true,
         true,
         true,
         true,
         {sumLine("checksum0", did, 127) + " ZEPH  L", sumLine("checksumdid", did, 254),
          sumLine("checksum1", did, 255)}},
        {"BrokenDisplayIdSectionReported",
         badDid,
         true,
         false,
         true,
         false,
         {sumLine("checksum0", badDid, 127) + " ZEPH  L",
          "[D]checksumdid=" + hex(uint8_t(badDid[254] - 1)) + " read =" + hex(badDid[254]),
          "[D]checksum DID error",
          "[D]checksum1=" + hex(uint8_t(badDid[255] - 1)) + " read =" + hex(badDid[255]),
          "[D]checksum error"}},
    };
}
} // namespace

INSTANTIATE_TEST_SUITE_P(Blocks, BlockChecksumTest, ::testing::ValuesIn(checksumCases()),
                         [](const auto& info) { return std::string(info.param.name); });
