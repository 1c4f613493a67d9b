// Decoding EDID blocks: fields, timings, extensions and what is named as a problem,
// including blocks cut short, which must never be read past their end.
#include "EdidDecoder.h"
#include "EdidBlock.h"

#include <QJsonArray>
#include <QJsonObject>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace {

using Bytes = std::vector<uint8_t>;
using kztr::test::fixEdidChecksums;
using kztr::test::makeEdidBlock;
using kztr::test::putDetailedTiming;
using kztr::test::putDisplayDescriptor;

uint8_t checksumOver(const Bytes& b, size_t first, size_t count) {
    unsigned sum = 0;
    for (size_t i = first; i < first + count; ++i)
        sum += b[i];
    return uint8_t(256 - sum % 256);
}

// 1920 x 1080, 148.5 MHz, blanking 280 and 45: the common 60 Hz mode.
EdidTiming fullHd() {
    EdidTiming t;
    t.width = 1920;
    t.height = 1080;
    t.pixelClockKHz = 148500;
    t.refreshHz = 148'500'000.0 / (2200.0 * 1125.0);
    t.hsync = '+';
    t.vsync = '+';
    return t;
}

// An interlaced preferred timing as expected: frame height, clock, field rate, polarity.
void interlaced(EdidTiming& t, int height, int clockKHz, double fieldHz, char h, char v) {
    t.height = height;
    t.pixelClockKHz = clockKHz;
    t.refreshHz = fieldHz;
    t.interlaced = true;
    t.hsync = h;
    t.vsync = v;
}

// The test support block with every field this file checks set to a known value.
Bytes goodBlock() {
    Bytes b = makeEdidBlock(0x1E, "RZ8 WALL");
    b[8] = 0x2F; // maker K=11, Z=26, T=20 as 0 01011 11010 10100
    b[9] = 0x54;
    b[10] = 0xAB; // product 0x12AB
    b[11] = 0x12;
    b[12] = 0x04; // serial 0x01020304
    b[13] = 0x03;
    b[14] = 0x02;
    b[15] = 0x01;
    b[16] = 7;  // week
    b[17] = 34; // 1990 + 34
    b[18] = 1;  // version 1.4
    b[19] = 4;
    b[57] = 0x18; // horizontal blanking 0x118 = 280 (upper nibble 1 is already in byte 58)
    b[60] = 0x2D; // vertical blanking 45
    fixEdidChecksums(b);
    return b;
}

// Extension block 1 as a DisplayID block with a section of payload bytes and both of its
// checksums right.
void makeDisplayId(Bytes& b, uint8_t payload) {
    std::fill(b.begin() + 128, b.begin() + 256, 0);
    b[128] = 0x70;
    b[129] = 0x12; // version 1.2
    b[130] = payload;
    b[131] = 0x03; // product type
    for (size_t i = 0; i < payload; ++i)
        b[133 + i] = uint8_t(0x21 + i);
    b[133 + payload] = checksumOver(b, 129, 4 + payload);
    b[255] = checksumOver(b, 128, 127);
}

struct ExpectedExtension {
    int index;
    uint8_t tag;
    QString kind;
    bool complete;
    bool checksumOk;
    std::optional<bool> sectionChecksumOk;
};

struct Expected {
    bool complete = true;
    bool headerOk = true;
    bool checksumOk = true;
    QString manufacturer = "KZT";
    uint16_t productCode = 0x12AB;
    uint32_t serialNumber = 0x01020304;
    int week = 7;
    int year = 2024;
    int versionMajor = 1;
    int versionMinor = 4;
    QString monitorName = "RZ8 WALL";
    std::optional<EdidTiming> preferred = fullHd();
    int extensionsDeclared = 1;
    std::vector<ExpectedExtension> extensions{{1, 0x02, "CTA-861", true, true, std::nullopt}};
    QStringList problems;
};

// A nothing-decoded record for blocks too short to hold any field.
void expectNothing(Expected& e) {
    e = Expected{};
    e.complete = false;
    e.headerOk = false;
    e.checksumOk = false;
    e.manufacturer.clear();
    e.productCode = 0;
    e.serialNumber = 0;
    e.week = e.year = e.versionMajor = e.versionMinor = 0;
    e.monitorName.clear();
    e.preferred.reset();
    e.extensionsDeclared = 0;
    e.extensions.clear();
}

struct DecodeCase {
    const char* name;
    // Changes the good block (and may cut it short) and what is expected of it.
    std::function<void(Bytes&, Expected&)> change;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

// The bytes in a heap buffer of exactly their length, so a sanitizer sees any overread.
EdidInfo decodeExact(const Bytes& bytes) {
    std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    return DecodeEdid(exact.get(), bytes.size());
}

void cut(Bytes& b, size_t length) {
    b.resize(length);
}

class EdidDecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(EdidDecodeTest, FieldsExtensionsAndProblems) {
    Bytes bytes = goodBlock();
    Expected want;
    GetParam().change(bytes, want);
    const EdidInfo got = decodeExact(bytes);

    EXPECT_EQ(got.length, bytes.size());
    EXPECT_EQ(got.complete, want.complete);
    EXPECT_EQ(got.headerOk, want.headerOk);
    EXPECT_EQ(got.checksumOk, want.checksumOk);
    EXPECT_EQ(got.manufacturer, want.manufacturer);
    EXPECT_EQ(got.productCode, want.productCode);
    EXPECT_EQ(got.serialNumber, want.serialNumber);
    EXPECT_EQ(got.week, want.week);
    EXPECT_EQ(got.year, want.year);
    EXPECT_EQ(got.versionMajor, want.versionMajor);
    EXPECT_EQ(got.versionMinor, want.versionMinor);
    EXPECT_EQ(got.monitorName, want.monitorName);
    ASSERT_EQ(got.preferred.has_value(), want.preferred.has_value());
    if (want.preferred) {
        const EdidTiming& g = *got.preferred;
        const EdidTiming& w = *want.preferred;
        EXPECT_EQ(g.width, w.width);
        EXPECT_EQ(g.height, w.height);
        EXPECT_NEAR(g.refreshHz, w.refreshHz, 1e-9);
        EXPECT_EQ(g.pixelClockKHz, w.pixelClockKHz);
        EXPECT_EQ(g.interlaced, w.interlaced);
        EXPECT_EQ(g.hsync, w.hsync);
        EXPECT_EQ(g.vsync, w.vsync);
    }
    EXPECT_EQ(got.extensionsDeclared, want.extensionsDeclared);
    ASSERT_EQ(got.extensions.size(), want.extensions.size());
    for (size_t i = 0; i < want.extensions.size(); ++i) {
        SCOPED_TRACE(i);
        const EdidExtension& g = got.extensions[i];
        const ExpectedExtension& w = want.extensions[i];
        EXPECT_EQ(g.index, w.index);
        EXPECT_EQ(g.tag, w.tag);
        EXPECT_EQ(g.kind, w.kind);
        EXPECT_EQ(g.complete, w.complete);
        EXPECT_EQ(g.checksumOk, w.checksumOk);
        EXPECT_EQ(g.sectionChecksumOk, w.sectionChecksumOk);
    }
    EXPECT_EQ(got.problems, want.problems);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, EdidDecodeTest,
    ::testing::Values(
        DecodeCase{"Good", [](Bytes&, Expected&) {}},
        DecodeCase{"OtherGeometry",
                   [](Bytes& b, Expected& e) {
                       // 1366 x 768, blanking 160 and 30, 85.5 MHz; every nibble differs.
                       const uint8_t dtd[8] = {0x66, 0x21, 0x56, 0xA0, 0x50, 0x00, 0x1E, 0x30};
                       std::copy(dtd, dtd + 8, b.begin() + 54);
                       b[71] = 0x1A; // digital separate, H+ V-
                       fixEdidChecksums(b);
                       EdidTiming& t = *e.preferred;
                       t.width = 1366;
                       t.height = 768;
                       t.pixelClockKHz = 85500;
                       t.refreshHz = 85'500'000.0 / (1526.0 * 798.0);
                       t.hsync = '+';
                       t.vsync = '-';
                   }},
        // Interlaced: the descriptor holds one field's lines, and a field holds half a
        // line of blanking more than it says; the rate is the field rate.
        DecodeCase{"Interlaced1080At60",
                   [](Bytes& b, Expected& e) {
                       putDetailedTiming(b, 54, {7425, 1920, 280, 88, 44, 540, 22, 2, 5, 0x9C});
                       fixEdidChecksums(b);
                       interlaced(*e.preferred, 1080, 74250, 60.0, '-', '+');
                   }},
        DecodeCase{"Interlaced1080At50",
                   [](Bytes& b, Expected& e) {
                       putDetailedTiming(b, 54, {7425, 1920, 720, 528, 44, 540, 22, 2, 5, 0x9E});
                       fixEdidChecksums(b);
                       interlaced(*e.preferred, 1080, 74250, 50.0, '+', '+');
                   }},
        DecodeCase{"Interlaced576At50",
                   [](Bytes& b, Expected& e) {
                       putDetailedTiming(b, 54, {2700, 1440, 288, 24, 126, 288, 24, 2, 3, 0x98});
                       fixEdidChecksums(b);
                       e.preferred->width = 1440;
                       interlaced(*e.preferred, 576, 27000, 50.0, '-', '-');
                   }},
        DecodeCase{"Interlaced480At59_94",
                   [](Bytes& b, Expected& e) {
                       putDetailedTiming(b, 54, {2700, 1440, 276, 38, 124, 240, 22, 4, 3, 0x98});
                       fixEdidChecksums(b);
                       e.preferred->width = 1440;
                       // 27 MHz over 1716 x 262.5: the NTSC field rate, 60 / 1.001.
                       interlaced(*e.preferred, 480, 27000, 60.0 / 1.001, '-', '-');
                   }},
        DecodeCase{"AnalogueSyncHasNoPolarity",
                   [](Bytes& b, Expected& e) {
                       b[71] = 0x06; // analogue composite: bits 2 and 1 mean something else
                       fixEdidChecksums(b);
                       e.preferred->hsync = e.preferred->vsync = 0;
                   }},
        DecodeCase{"DigitalCompositeHasNoPolarity",
                   [](Bytes& b, Expected& e) {
                       b[71] = 0x16;
                       fixEdidChecksums(b);
                       e.preferred->hsync = e.preferred->vsync = 0;
                   }},
        DecodeCase{"ZeroPixelClockMeansNoPreferredTiming",
                   [](Bytes& b, Expected& e) {
                       b[54] = b[55] = 0;
                       fixEdidChecksums(b);
                       e.preferred.reset();
                       e.problems << "no preferred timing: the first descriptor holds no timing";
                   }},
        DecodeCase{"TimingWithoutPixelsOrLines",
                   [](Bytes& b, Expected& e) {
                       std::fill(b.begin() + 56, b.begin() + 62, 0);
                       fixEdidChecksums(b);
                       e.preferred.reset();
                       e.problems
                           << "no preferred timing: the first timing has no lines or pixels";
                   }},
        DecodeCase{"ModelYear",
                   [](Bytes& b, Expected& e) {
                       b[16] = 255;
                       b[17] = 0;
                       fixEdidChecksums(b);
                       e.week = 255;
                       e.year = 1990;
                   }},
        DecodeCase{"ManufacturerOutsideAToZ",
                   [](Bytes& b, Expected& e) {
                       b[8] = 0x00; // first letter 0
                       b[9] = 0x41;
                       fixEdidChecksums(b);
                       e.manufacturer.clear();
                       e.problems << "manufacturer ID 0x0041 is not three letters";
                   }},
        DecodeCase{"ManufacturerLetterAbove26",
                   [](Bytes& b, Expected& e) {
                       b[9] = 0x5B; // last letter 27
                       fixEdidChecksums(b);
                       e.manufacturer.clear();
                       e.problems << "manufacturer ID 0x2F5B is not three letters";
                   }},
        DecodeCase{"NoNameDescriptor",
                   [](Bytes& b, Expected& e) {
                       b[93] = 0x10; // dummy descriptor
                       fixEdidChecksums(b);
                       e.monitorName.clear();
                   }},
        DecodeCase{"NameInLastDescriptorOnly",
                   [](Bytes& b, Expected& e) {
                       b[93] = 0x10;
                       b[111] = 0xFC;
                       const char name[] = "SIDE WALL\n   ";
                       std::copy(name, name + 13, b.begin() + 113);
                       fixEdidChecksums(b);
                       e.monitorName = "SIDE WALL";
                   }},
        DecodeCase{"EmptyNameBeforeTheRealOne",
                   [](Bytes& b, Expected& e) {
                       putDisplayDescriptor(b, 72, 0xFC, "\n            ");
                       putDisplayDescriptor(b, 90, 0xFD, "");
                       putDisplayDescriptor(b, 108, 0xFC, "M176A\n       ");
                       fixEdidChecksums(b);
                       e.monitorName = "M176A";
                   }},
        DecodeCase{"SpacesOnlyAndZerosOnlyNamesAreEmpty",
                   [](Bytes& b, Expected& e) {
                       putDisplayDescriptor(b, 72, 0xFC, "             ");
                       putDisplayDescriptor(b, 90, 0xFC, "");
                       putDisplayDescriptor(b, 108, 0xFC, "REAR\n");
                       fixEdidChecksums(b);
                       e.monitorName = "REAR";
                   }},
        DecodeCase{"FirstNameWithTextWinsOverLaterOnes",
                   [](Bytes& b, Expected& e) {
                       putDisplayDescriptor(b, 72, 0xFC, "\n");
                       putDisplayDescriptor(b, 90, 0xFC, "TOSHIBA Inte\n");
                       putDisplayDescriptor(b, 108, 0xFC, "rnal Panel  \n");
                       fixEdidChecksums(b);
                       e.monitorName = "TOSHIBA Inte";
                   }},
        DecodeCase{"OnlyEmptyNamesIsNoName",
                   [](Bytes& b, Expected& e) {
                       putDisplayDescriptor(b, 90, 0xFC, "\n            ");
                       putDisplayDescriptor(b, 108, 0xFC, "   \n");
                       fixEdidChecksums(b);
                       e.monitorName.clear();
                   }},
        DecodeCase{"NameTagInATimingIsNoName",
                   [](Bytes& b, Expected& e) {
                       b[93] = 0x10;
                       b[72] = 0x01; // second descriptor is a timing whose byte 3 is 0xFC
                       b[75] = 0xFC;
                       std::fill(b.begin() + 77, b.begin() + 90, 'X');
                       fixEdidChecksums(b);
                       e.monitorName.clear();
                   }},
        DecodeCase{"NameOfThirteenWithoutLineFeed",
                   [](Bytes& b, Expected& e) {
                       const char name[] = "ABCDEFGHIJKLM";
                       std::copy(name, name + 13, b.begin() + 95);
                       fixEdidChecksums(b);
                       e.monitorName = "ABCDEFGHIJKLM";
                   }},
        DecodeCase{"NameTrailingSpacesTrimmed",
                   [](Bytes& b, Expected& e) {
                       const char name[] = " WALL   \n    ";
                       std::copy(name, name + 13, b.begin() + 95);
                       fixEdidChecksums(b);
                       e.monitorName = " WALL";
                   }},
        DecodeCase{"NameUnprintableReplaced",
                   [](Bytes& b, Expected& e) {
                       const uint8_t name[13] = {'R', 0x07, 'Z', 0xC3, '8', 0x1B, '[',
                                                 '2', 'J', 0x0A, 0x20, 0x20, 0x20};
                       std::copy(name, name + 13, b.begin() + 95);
                       fixEdidChecksums(b);
                       e.monitorName = "R?Z?8?[2J";
                       e.problems << "monitor name has unprintable characters";
                   }},
        DecodeCase{"OtherExtensionKind",
                   [](Bytes& b, Expected& e) {
                       b[128] = 0xF0;
                       fixEdidChecksums(b);
                       e.extensions[0].tag = 0xF0;
                       e.extensions[0].kind = "other";
                   }},
        DecodeCase{"DisplayIdFullSectionAsTheTestBlocksWriteIt",
                   [](Bytes& b, Expected& e) {
                       // 121 payload bytes put the section checksum at byte 254.
                       std::fill(b.begin() + 128, b.begin() + 256, 0x33);
                       b[128] = 0x70;
                       b[130] = 121;
                       fixEdidChecksums(b);
                       e.extensions[0] = {1, 0x70, "DisplayID", true, true, true};
                   }},
        DecodeCase{"DisplayIdShortSection",
                   [](Bytes& b, Expected& e) {
                       makeDisplayId(b, 10);
                       b[200] = 0x55; // after the section: only the block checksum covers it
                       b[255] = checksumOver(b, 128, 127);
                       e.extensions[0] = {1, 0x70, "DisplayID", true, true, true};
                   }},
        DecodeCase{"DisplayIdEmptySection",
                   [](Bytes& b, Expected& e) {
                       makeDisplayId(b, 0);
                       e.extensions[0] = {1, 0x70, "DisplayID", true, true, true};
                   }},
        DecodeCase{"DisplayIdSectionChecksumWrong",
                   [](Bytes& b, Expected& e) {
                       makeDisplayId(b, 20);
                       b[140] ^= 0x01;
                       b[255] = checksumOver(b, 128, 127);
                       e.extensions[0] = {1, 0x70, "DisplayID", true, true, false};
                       e.problems << "extension 1 (DisplayID) section checksum mismatch";
                   }},
        DecodeCase{"DisplayIdWithEmptySectionAndChecksumAt254",
                   [](Bytes& b, Expected& e) {
                       // Length byte 0 puts the checksum at byte 133, not at 254.
                       b[128] = 0x70;
                       fixEdidChecksums(b);
                       e.extensions[0] = {1, 0x70, "DisplayID", true, true, false};
                       e.problems << "extension 1 (DisplayID) section checksum mismatch";
                   }},
        DecodeCase{"DisplayIdSectionTooLong",
                   [](Bytes& b, Expected& e) {
                       makeDisplayId(b, 0);
                       b[130] = 122;
                       b[255] = checksumOver(b, 128, 127);
                       e.extensions[0] = {1, 0x70, "DisplayID", true, true, std::nullopt};
                       e.problems << "extension 1 (DisplayID) section of 122 bytes does not "
                                     "fit the block";
                   }},
        DecodeCase{"SecondExtensionDisplayId",
                   [](Bytes& b, Expected& e) {
                       b[126] = 2;
                       fixEdidChecksums(b);
                       Bytes twice = b;
                       makeDisplayId(twice, 5);
                       b.insert(b.end(), twice.begin() + 128, twice.end());
                       e.extensionsDeclared = 2;
                       e.extensions.push_back({2, 0x70, "DisplayID", true, true, true});
                   }},
        DecodeCase{"BaseChecksumWrong",
                   [](Bytes& b, Expected& e) {
                       b[127] += 1;
                       e.checksumOk = false;
                       e.problems << "base block checksum mismatch";
                   }},
        DecodeCase{"ExtensionChecksumWrong",
                   [](Bytes& b, Expected& e) {
                       b[200] += 1;
                       e.extensions[0].checksumOk = false;
                       e.problems << "extension 1 (CTA-861) checksum mismatch";
                   }},
        DecodeCase{"HeaderBrokenStillDecoded",
                   [](Bytes& b, Expected& e) {
                       b[7] = 0x01;
                       fixEdidChecksums(b);
                       e.headerOk = false;
                       e.problems << "header broken";
                   }},
        DecodeCase{"MoreExtensionsDeclaredThanPresent",
                   [](Bytes& b, Expected& e) {
                       b[126] = 3;
                       fixEdidChecksums(b);
                       e.extensionsDeclared = 3;
                       e.problems << "3 extensions declared, 1 present";
                   }},
        DecodeCase{"BaseBlockAloneDeclaringOne",
                   [](Bytes& b, Expected& e) {
                       cut(b, 128);
                       e.extensions.clear();
                       e.problems << "1 extension declared, 0 present";
                   }},
        DecodeCase{"UndeclaredBlockStillListed",
                   [](Bytes& b, Expected& e) {
                       b[126] = 0;
                       fixEdidChecksums(b);
                       e.extensionsDeclared = 0;
                   }},
        DecodeCase{"Empty",
                   [](Bytes& b, Expected& e) {
                       cut(b, 0);
                       expectNothing(e);
                       e.problems << "short block: 0 of 128 bytes";
                   }},
        DecodeCase{"HeaderOnly",
                   [](Bytes& b, Expected& e) {
                       cut(b, 8);
                       expectNothing(e);
                       e.headerOk = true;
                       e.problems << "short block: 8 of 128 bytes";
                   }},
        DecodeCase{"HeaderCutShortIsNotCalledBroken",
                   [](Bytes& b, Expected& e) {
                       cut(b, 5);
                       expectNothing(e);
                       e.problems << "short block: 5 of 128 bytes";
                   }},
        DecodeCase{"CutInsideNameDescriptor",
                   [](Bytes& b, Expected& e) {
                       cut(b, 100);
                       e.complete = e.checksumOk = false;
                       e.monitorName.clear();
                       e.extensionsDeclared = 0;
                       e.extensions.clear();
                       e.problems << "short block: 100 of 128 bytes";
                   }},
        DecodeCase{"CutInsideFirstTiming",
                   [](Bytes& b, Expected& e) {
                       cut(b, 71);
                       e.complete = e.checksumOk = false;
                       e.monitorName.clear();
                       e.preferred.reset();
                       e.extensionsDeclared = 0;
                       e.extensions.clear();
                       e.problems << "short block: 71 of 128 bytes";
                   }},
        DecodeCase{"CutOneShortOfNameDescriptor",
                   [](Bytes& b, Expected& e) {
                       cut(b, 107);
                       e.complete = e.checksumOk = false;
                       e.monitorName.clear();
                       e.extensionsDeclared = 0;
                       e.extensions.clear();
                       e.problems << "short block: 107 of 128 bytes";
                   }},
        DecodeCase{"CutBeforeExtensionCount",
                   [](Bytes& b, Expected& e) {
                       cut(b, 126);
                       e.complete = e.checksumOk = false;
                       e.extensionsDeclared = 0;
                       e.extensions.clear();
                       e.problems << "short block: 126 of 128 bytes";
                   }},
        DecodeCase{"CutBeforeChecksum",
                   [](Bytes& b, Expected& e) {
                       cut(b, 127);
                       e.complete = e.checksumOk = false;
                       e.extensions.clear();
                       e.problems << "short block: 127 of 128 bytes";
                   }},
        DecodeCase{"PartialExtension",
                   [](Bytes& b, Expected& e) {
                       cut(b, 200);
                       e.extensions[0].complete = false;
                       e.extensions[0].checksumOk = false;
                       e.problems << "extension 1 (CTA-861) partial: 72 of 128 bytes";
                   }},
        DecodeCase{"PartialDisplayIdWithWholeSection",
                   [](Bytes& b, Expected& e) {
                       makeDisplayId(b, 10);
                       cut(b, 128 + 16);
                       e.extensions[0] = {1, 0x70, "DisplayID", false, false, true};
                       e.problems << "extension 1 (DisplayID) partial: 16 of 128 bytes";
                   }},
        DecodeCase{"PartialDisplayIdCutInsideSection",
                   [](Bytes& b, Expected& e) {
                       makeDisplayId(b, 10);
                       cut(b, 128 + 15);
                       e.extensions[0] = {1, 0x70, "DisplayID", false, false, std::nullopt};
                       e.problems << "extension 1 (DisplayID) partial: 15 of 128 bytes";
                   }},
        DecodeCase{"ExtensionOfOneByte",
                   [](Bytes& b, Expected& e) {
                       cut(b, 129);
                       e.extensions[0].complete = false;
                       e.extensions[0].checksumOk = false;
                       e.problems << "extension 1 (CTA-861) partial: 1 of 128 bytes";
                   }}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

TEST(EdidDecodeNullTest, NullDataIsEmpty) {
    const EdidInfo info = DecodeEdid(nullptr, 256);
    EXPECT_EQ(info.length, 0u);
    EXPECT_FALSE(info.complete);
    EXPECT_TRUE(info.extensions.empty());
    EXPECT_EQ(info.problems, QStringList{"short block: 0 of 128 bytes"});
}

TEST(EdidDescribeTest, GoodBlockLinesInOrder) {
    const QStringList lines = DescribeEdid(decodeExact(goodBlock()));
    const QStringList want{
        "maker          KZT",
        "product        0x12AB",
        "serial         16909060",
        "made           week 7 of 2024",
        "version        1.4",
        "monitor name   RZ8 WALL",
        "preferred      1920 x 1080 at 60.00 Hz, 148.50 MHz, H+ V+",
        "extension 1    CTA-861, checksum ok",
    };
    EXPECT_EQ(lines, want);
}

struct DescribeCase {
    const char* name;
    std::function<void(Bytes&)> change;
    QStringList present; // lines that must be there
    QStringList absent;  // labels that must not start any line
};

void PrintTo(const DescribeCase& c, std::ostream* os) {
    *os << c.name;
}

class EdidDescribeLinesTest : public ::testing::TestWithParam<DescribeCase> {};

TEST_P(EdidDescribeLinesTest, LinesAlignedAndProblemsLast) {
    Bytes bytes = goodBlock();
    GetParam().change(bytes);
    const EdidInfo info = decodeExact(bytes);
    const QStringList lines = DescribeEdid(info);
    for (const QString& line : GetParam().present)
        EXPECT_TRUE(lines.contains(line)) << line.toStdString() << "\nin\n"
                                          << lines.join('\n').toStdString();
    for (const QString& label : GetParam().absent)
        for (const QString& line : lines)
            EXPECT_FALSE(line.startsWith(label)) << line.toStdString();
    for (const QString& line : lines) {
        ASSERT_GT(line.size(), 15) << line.toStdString();
        EXPECT_EQ(line[14], ' ') << line.toStdString();
        EXPECT_NE(line[15], ' ') << line.toStdString();
    }
    // The problems close the report, in the decoder's order.
    const auto problems = info.problems.size();
    ASSERT_GE(lines.size(), problems);
    for (qsizetype i = 0; i < problems; ++i)
        EXPECT_EQ(lines[lines.size() - problems + i], "problem        " + info.problems[i]);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, EdidDescribeLinesTest,
    ::testing::Values(
        DescribeCase{"ModelYear",
                     [](Bytes& b) {
                         b[16] = 255;
                         fixEdidChecksums(b);
                     },
                     {"made           model year 2024"},
                     {}},
        DescribeCase{"NoWeek",
                     [](Bytes& b) {
                         b[16] = 0;
                         fixEdidChecksums(b);
                     },
                     {"made           2024"},
                     {}},
        DescribeCase{"NoName",
                     [](Bytes& b) {
                         b[93] = 0x10;
                         fixEdidChecksums(b);
                     },
                     {"monitor name   (none)"},
                     {}},
        DescribeCase{"InterlacedAnalogue",
                     [](Bytes& b) {
                         b[54] = 0x01; // 74.25 MHz, 540 + 22 lines per field
                         b[55] = 0x1D;
                         b[59] = 0x1C;
                         b[60] = 0x16;
                         b[61] = 0x20;
                         b[71] = 0x86;
                         fixEdidChecksums(b);
                     },
                     {"preferred      1920 x 1080 at 60.00 Hz, interlaced, 74.25 MHz"},
                     {}},
        DescribeCase{"NoTiming",
                     [](Bytes& b) {
                         b[54] = b[55] = 0;
                         fixEdidChecksums(b);
                     },
                     {"preferred      (none)"},
                     {}},
        DescribeCase{"DisplayIdSectionBad",
                     [](Bytes& b) {
                         makeDisplayId(b, 4);
                         b[134] ^= 0x80;
                         b[255] = checksumOver(b, 128, 127);
                     },
                     {"extension 1    DisplayID, checksum ok, section checksum MISMATCH",
                      "problem        extension 1 (DisplayID) section checksum mismatch"},
                     {}},
        DescribeCase{"BadChecksumsAndHeader",
                     [](Bytes& b) {
                         b[7] = 0x02;
                         b[255] += 1;
                     },
                     {"extension 1    CTA-861, checksum MISMATCH", "problem        header broken",
                      "problem        base block checksum mismatch",
                      "problem        extension 1 (CTA-861) checksum mismatch"},
                     {}},
        DescribeCase{"UndeclaredBlock",
                     [](Bytes& b) {
                         b[126] = 0;
                         b[128] = 0x00;
                         fixEdidChecksums(b);
                     },
                     {"extension 1    other (tag 0x00), checksum ok, not declared"},
                     {}},
        DescribeCase{"ShortOnlyDecodedLines",
                     [](Bytes& b) { b.resize(60); },
                     {"maker          KZT", "version        1.4",
                      "problem        short block: 60 of 128 bytes"},
                     {"monitor name", "preferred", "extension"}},
        DescribeCase{"PartialExtension",
                     [](Bytes& b) { b.resize(130); },
                     {"extension 1    CTA-861, partial",
                      "problem        extension 1 (CTA-861) partial: 2 of 128 bytes"},
                     {}}),
    [](const ::testing::TestParamInfo<DescribeCase>& info) { return info.param.name; });

TEST(EdidJsonTest, GoodBlockShape) {
    Bytes bytes = goodBlock();
    makeDisplayId(bytes, 3);
    const QJsonObject o = EdidToJson(decodeExact(bytes));
    const QStringList keys{"length",
                           "complete",
                           "headerOk",
                           "checksumOk",
                           "manufacturer",
                           "productCode",
                           "serialNumber",
                           "week",
                           "year",
                           "version",
                           "monitorName",
                           "preferredTiming",
                           "extensionsDeclared",
                           "extensions",
                           "problems"};
    EXPECT_EQ(o.size(), keys.size());
    for (const QString& key : keys)
        EXPECT_TRUE(o.contains(key)) << key.toStdString();
    EXPECT_EQ(o["length"].toInt(), 256);
    EXPECT_TRUE(o["complete"].toBool());
    EXPECT_TRUE(o["headerOk"].toBool());
    EXPECT_TRUE(o["checksumOk"].toBool());
    EXPECT_EQ(o["manufacturer"].toString(), "KZT");
    EXPECT_EQ(o["productCode"].toInt(), 0x12AB);
    EXPECT_EQ(o["serialNumber"].toInteger(), 0x01020304);
    EXPECT_EQ(o["week"].toInt(), 7);
    EXPECT_EQ(o["year"].toInt(), 2024);
    EXPECT_EQ(o["version"].toString(), "1.4");
    EXPECT_EQ(o["monitorName"].toString(), "RZ8 WALL");

    const QJsonObject t = o["preferredTiming"].toObject();
    EXPECT_EQ(t.keys(), (QStringList{"height", "hsync", "interlaced", "pixelClockKHz", "refreshHz",
                                     "vsync", "width"}));
    EXPECT_EQ(t["width"].toInt(), 1920);
    EXPECT_EQ(t["height"].toInt(), 1080);
    EXPECT_NEAR(t["refreshHz"].toDouble(), fullHd().refreshHz, 1e-9);
    EXPECT_EQ(t["pixelClockKHz"].toInt(), 148500);
    EXPECT_FALSE(t["interlaced"].toBool(true));
    EXPECT_EQ(t["hsync"].toString(), "+");
    EXPECT_EQ(t["vsync"].toString(), "+");

    EXPECT_EQ(o["extensionsDeclared"].toInt(), 1);
    const QJsonArray extensions = o["extensions"].toArray();
    ASSERT_EQ(extensions.size(), 1);
    const QJsonObject e = extensions[0].toObject();
    EXPECT_EQ(e.keys(),
              (QStringList{"checksumOk", "complete", "index", "kind", "sectionChecksumOk", "tag"}));
    EXPECT_EQ(e["index"].toInt(), 1);
    EXPECT_EQ(e["tag"].toInt(), 0x70);
    EXPECT_EQ(e["kind"].toString(), "DisplayID");
    EXPECT_TRUE(e["complete"].toBool());
    EXPECT_TRUE(e["checksumOk"].toBool());
    EXPECT_TRUE(e["sectionChecksumOk"].toBool());
    EXPECT_TRUE(o["problems"].isArray());
    EXPECT_TRUE(o["problems"].toArray().isEmpty());
}

TEST(EdidJsonTest, AbsentValuesAreNull) {
    Bytes bytes = goodBlock();
    bytes[93] = 0x10; // no name
    bytes[71] = 0x00; // analogue sync
    fixEdidChecksums(bytes);
    const QJsonObject o = EdidToJson(decodeExact(bytes));
    EXPECT_TRUE(o["monitorName"].isNull());
    const QJsonObject timing = o["preferredTiming"].toObject();
    EXPECT_TRUE(timing["hsync"].isNull());
    EXPECT_TRUE(timing["vsync"].isNull());
    // A CTA block carries no section checksum.
    EXPECT_FALSE(o["extensions"].toArray()[0].toObject().contains("sectionChecksumOk"));

    bytes[54] = bytes[55] = 0;
    bytes[127] += 1;
    const QJsonObject without = EdidToJson(decodeExact(bytes));
    EXPECT_TRUE(without["preferredTiming"].isNull());
    EXPECT_FALSE(without["checksumOk"].toBool(true));
    EXPECT_EQ(without["problems"].toArray(),
              (QJsonArray{"no preferred timing: the first descriptor holds no timing",
                          "base block checksum mismatch"}));
}

TEST(EdidJsonTest, ShortBlock) {
    Bytes bytes = goodBlock();
    bytes.resize(100);
    const QJsonObject o = EdidToJson(decodeExact(bytes));
    EXPECT_EQ(o["length"].toInt(), 100);
    EXPECT_FALSE(o["complete"].toBool(true));
    EXPECT_FALSE(o["checksumOk"].toBool(true));
    EXPECT_TRUE(o["extensions"].toArray().isEmpty());
    EXPECT_EQ(o["problems"].toArray(), QJsonArray{"short block: 100 of 128 bytes"});
}

struct ToolTipCase {
    const char* name;
    std::function<void(Bytes&)> change;
    QString want;
};

void PrintTo(const ToolTipCase& c, std::ostream* os) {
    *os << c.name;
}

class EdidToolTipTest : public ::testing::TestWithParam<ToolTipCase> {};

TEST_P(EdidToolTipTest, Text) {
    Bytes bytes = goodBlock();
    GetParam().change(bytes);
    EXPECT_EQ(EdidToolTip(decodeExact(bytes)), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, EdidToolTipTest,
    ::testing::Values(
        ToolTipCase{"Good", [](Bytes&) {}, "RZ8 WALL\n1920 x 1080 at 60.00 Hz, 148.50 MHz, H+ V+"},
        ToolTipCase{"NoNameNoPolarity",
                    [](Bytes& b) {
                        b[93] = 0x10;
                        b[71] = 0x00;
                        fixEdidChecksums(b);
                    },
                    "no monitor name in the EDID\n1920 x 1080 at 60.00 Hz, 148.50 MHz"},
        ToolTipCase{"NoTiming",
                    [](Bytes& b) {
                        b[54] = b[55] = 0;
                        fixEdidChecksums(b);
                    },
                    "RZ8 WALL\nno preferred timing in the EDID"},
        ToolTipCase{"HeaderBroken",
                    [](Bytes& b) {
                        b[0] = 0x01;
                        fixEdidChecksums(b);
                    },
                    "EDID header broken\nRZ8 WALL\n1920 x 1080 at 60.00 Hz, 148.50 MHz, H+ V+"},
        ToolTipCase{"ChecksumWrong", [](Bytes& b) { b[127] ^= 0x01; },
                    "EDID checksum mismatch\nRZ8 WALL\n"
                    "1920 x 1080 at 60.00 Hz, 148.50 MHz, H+ V+"},
        ToolTipCase{"ShortKeepsTheTiming", [](Bytes& b) { b.resize(100); },
                    "EDID incomplete: 100 of 128 bytes\n"
                    "1920 x 1080 at 60.00 Hz, 148.50 MHz, H+ V+"},
        ToolTipCase{"Empty", [](Bytes& b) { b.clear(); }, "EDID incomplete: 0 of 128 bytes"}),
    [](const ::testing::TestParamInfo<ToolTipCase>& info) { return info.param.name; });

struct TimingTextCase {
    const char* name;
    EdidTiming timing;
    QString want;
};

void PrintTo(const TimingTextCase& c, std::ostream* os) {
    *os << c.name;
}

class TimingTextTest : public ::testing::TestWithParam<TimingTextCase> {};

TEST_P(TimingTextTest, Text) {
    EXPECT_EQ(TimingText(GetParam().timing), GetParam().want);
}

EdidTiming timing(int width, int height, double hz, bool interlaced) {
    EdidTiming t;
    t.width = width;
    t.height = height;
    t.refreshHz = hz;
    t.interlaced = interlaced;
    return t;
}

INSTANTIATE_TEST_SUITE_P(
    Timings, TimingTextTest,
    ::testing::Values(TimingTextCase{"Progressive", timing(1920, 1080, 60.0, false),
                                     "1920 x 1080 at 60.00 Hz"},
                      TimingTextCase{"RoundedToHundredths", timing(1280, 720, 59.9401, false),
                                     "1280 x 720 at 59.94 Hz"},
                      TimingTextCase{"Interlaced", timing(1920, 1080, 50.0, true),
                                     "1920 x 1080 at 50.00 Hz, interlaced"}),
    [](const ::testing::TestParamInfo<TimingTextCase>& info) { return info.param.name; });

} // namespace
