#include "SettingFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

// Global, beside the record, so that lookup finds them.
static bool operator==(const SettingDurationInfo& a, const SettingDurationInfo& b) {
    return a.iPatternSec == b.iPatternSec && a.iIdentifySec == b.iIdentifySec &&
           a.iApplyConfirmSec == b.iApplyConfirmSec;
}

static void PrintTo(const SettingDurationInfo& r, std::ostream* os) {
    *os << "{" << r.iPatternSec << ", " << r.iIdentifySec << ", " << r.iApplyConfirmSec << "}";
}

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

class SettingFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_tmp.isValid()); }
    QString path() const { return m_tmp.filePath("KZTRSettingFile.kzt"); }
    void writeRaw(const QByteArray& content) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray readRaw() {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir m_tmp;
};

TEST_F(SettingFileTest, MissingFileKeepsTheDefaults) {
    SettingDurationInfo record;
    EXPECT_EQ(ReadSettingFile(path(), record), 0);
    EXPECT_EQ(record, (SettingDurationInfo{20, 10, 30}));
}

TEST_F(SettingFileTest, WritesThreeLittleEndianValuesAndReadsThemBack) {
    EXPECT_EQ(WriteSettingFile(path(), SettingDurationInfo{45, 5, 60}), 1);
    EXPECT_EQ(readRaw(), bytes({0x2D, 0, 0, 0, 0x05, 0, 0, 0, 0x3C, 0, 0, 0}));

    SettingDurationInfo record;
    EXPECT_EQ(ReadSettingFile(path(), record), 1);
    EXPECT_EQ(record, (SettingDurationInfo{45, 5, 60}));
}

TEST_F(SettingFileTest, WritingReplacesALongerFileWhole) {
    writeRaw(QByteArray(40, '\x7f'));
    EXPECT_EQ(WriteSettingFile(path(), SettingDurationInfo{}), 1);
    EXPECT_EQ(readRaw(), bytes({0x14, 0, 0, 0, 0x0A, 0, 0, 0, 0x1E, 0, 0, 0}));
}

TEST_F(SettingFileTest, UnwritablePathReportsFailure) {
    EXPECT_EQ(WriteSettingFile(m_tmp.filePath("no/such/dir/KZTRSettingFile.kzt"), {}), 0);
    EXPECT_EQ(WriteSettingFile(m_tmp.path(), {}), 0) << "a directory is not a settings file";
}

// Whatever the file holds replaces the leading bytes of the record; the rest stays.
struct ContentCase {
    const char* name;
    QByteArray content;
    SettingDurationInfo expected;
};

void PrintTo(const ContentCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingFileContentTest : public SettingFileTest,
                               public ::testing::WithParamInterface<ContentCase> {};

TEST_P(SettingFileContentTest, ReadGivesTheRecord) {
    writeRaw(GetParam().content);
    SettingDurationInfo record;
    EXPECT_EQ(ReadSettingFile(path(), record), 1);
    EXPECT_EQ(record, GetParam().expected);
}

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Files, SettingFileContentTest,
    ::testing::Values(
        ContentCase{"Empty", {}, {20, 10, 30}}, ContentCase{"OneByte", bytes({0x2D}), {45, 10, 30}},
        ContentCase{"FirstValueOnly", bytes({0x2D, 0, 0, 0}), {45, 10, 30}},
        // 10 is 0A 00 00 00; the file's 05 01 replace its first two bytes.
        ContentCase{"CutInsideSecondValue", bytes({0x2D, 0, 0, 0, 0x05, 0x01}), {45, 0x0105, 30}},
        ContentCase{"ElevenBytes", bytes({1, 0, 0, 0, 2, 0, 0, 0, 0xF4, 0x01, 0}), {1, 2, 500}},
        ContentCase{"ZeroAndOutOfRange",
                    bytes({0, 0, 0, 0, 0xF4, 0x01, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}),
                    {0, 500, -1}},
        ContentCase{"Extremes",
                    bytes({0, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 0x7F, 0x3C, 0, 0, 0}),
                    {kMin, kMax, 60}},
        ContentCase{"TrailingBytesIgnored",
                    bytes({0x2D, 0, 0, 0, 5, 0, 0, 0, 0x3C, 0, 0, 0, 9, 9, 9, 9}),
                    {45, 5, 60}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingFileTest, OutOfRangeValuesRoundTrip) {
    for (const SettingDurationInfo& written :
         {SettingDurationInfo{0, 500, -1}, SettingDurationInfo{kMin, kMax, 0}}) {
        ASSERT_EQ(WriteSettingFile(path(), written), 1);
        SettingDurationInfo read{7, 7, 7};
        ASSERT_EQ(ReadSettingFile(path(), read), 1);
        EXPECT_EQ(read, written);
    }
}

} // namespace
