// kztrctl edid --file: a monitor's own EDID, binary or hex text, reported as a
// controller's is, without a port; and the files it must refuse.
#include "EdidBlock.h"
#include "EdidDecoder.h"
#include "KztrctlProgram.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

using kztr::test::RunResult;
using kztr::test::SimController;

namespace {

using Bytes = std::vector<uint8_t>;

QByteArray AsBytes(const Bytes& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

// Hex as edid-decode prints it: 16 lower-case pairs a line.
QByteArray HexLines(const QByteArray& bytes) {
    QByteArray text;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text += bytes.mid(i, 1).toHex() + ((i % 16 == 15) ? "\n" : " ");
    return text;
}

class KztrctlEdidFileTest : public kztr::test::KztrctlProgramTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartWith({SimController(5, 1, 'D', 19)})); }

    QString Write(const QString& name, const QByteArray& contents) {
        const QString path = dir.path() + "/" + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
        return path;
    }

    // Nothing reached a controller, and nothing went to the daily log.
    void ExpectNoPortTouched() {
        EXPECT_TRUE(sim.requests().empty());
        EXPECT_FALSE(QDir(dir.path() + "/LogoFiles").exists());
    }
};

// The bytes of a report's dump lines.
QByteArray DumpedBytes(const QStringList& out) {
    QByteArray bytes;
    static const QRegularExpression dump("^[0-9A-F]{4}: (([0-9A-F]{2} )*[0-9A-F]{2})$");
    for (const QString& line : out)
        if (const auto m = dump.match(line); m.hasMatch())
            bytes += QByteArray::fromHex(m.captured(1).toLatin1());
    return bytes;
}

// The controller's report and the file's are the same but for the controller line; so
// are the JSON documents but for the controller's fields.
TEST_F(KztrctlEdidFileTest, SameReportAsTheControllerWithoutItsFields) {
    const RunResult fromController = Run({"edid", "--com", "5"});
    ASSERT_EQ(fromController.exitCode, 0) << fromController.err.toStdString();
    const QByteArray bytes = DumpedBytes(fromController.out);
    ASSERT_EQ(bytes.size(), 256);
    sim.clearRequests();

    const QString path = Write("monitor.bin", bytes);
    // The simulated controller's EDID: a digital separate sync, a name, a CTA block.
    EXPECT_TRUE(fromController.out.contains("monitor name   RZ8 SIM"));
    const RunResult fromFile = Run({"edid", "--file", path});
    ASSERT_EQ(fromFile.exitCode, 0) << fromFile.err.toStdString();
    EXPECT_EQ(fromFile.out, fromController.out.mid(1));
    EXPECT_TRUE(fromController.out.value(0).startsWith("COM5"));

    const RunResult jsonController = Run({"edid", "--com", "5", "--json"});
    const QStringList log = LogLines();
    sim.clearRequests();
    const RunResult jsonFile = Run({"edid", "--json", "--file=" + path});
    ASSERT_EQ(jsonFile.exitCode, 0) << jsonFile.err.toStdString();
    QJsonObject want = jsonController.Json();
    for (const char* key : {"com", "boxId", "model", "modelName", "firmware"}) {
        EXPECT_TRUE(want.contains(key)) << key;
        want.remove(key);
    }
    EXPECT_EQ(jsonFile.Json(), want);
    EXPECT_TRUE(sim.requests().empty());
    EXPECT_EQ(LogLines(), log);
}

struct AcceptedCase {
    const char* name;
    std::function<Bytes()> edid;
    // The file's contents made of the EDID's bytes.
    std::function<QByteArray(const QByteArray&)> file;
};

void PrintTo(const AcceptedCase& c, std::ostream* os) {
    *os << c.name;
}

Bytes TwoBlocks() {
    Bytes b = kztr::test::makeEdidBlock(0x1A, "FRONT LEFT");
    // Interlaced 1080 at 50 Hz: what a TV's EDID holds.
    kztr::test::putDetailedTiming(b, 54, {7425, 1920, 720, 528, 44, 540, 22, 2, 5, 0x9A});
    kztr::test::fixEdidChecksums(b);
    return b;
}

Bytes BaseBlockOnly() {
    Bytes b = kztr::test::makeEdidBlock(0x1C, "SIDE");
    b[126] = 0;
    kztr::test::fixEdidChecksums(b);
    b.resize(128);
    return b;
}

Bytes WithDisplayId() {
    Bytes b = kztr::test::makeEdidBlock();
    std::fill(b.begin() + 128, b.end(), 0);
    b[128] = 0x70;
    b[129] = 0x12;
    b[130] = 121; // the section fills the block: its checksum is byte 254
    kztr::test::fixEdidChecksums(b);
    return b;
}

Bytes ThreeBlocks() {
    Bytes b = kztr::test::makeEdidBlock();
    b[126] = 2;
    kztr::test::fixEdidChecksums(b);
    Bytes third(128, 0);
    third[0] = 0x02;
    third[1] = 0x03;
    unsigned sum = 0;
    for (uint8_t v : third)
        sum += v;
    third[127] = uint8_t(256 - sum % 256);
    b.insert(b.end(), third.begin(), third.end());
    return b;
}

class KztrctlEdidFileAccepted : public KztrctlEdidFileTest,
                                public ::testing::WithParamInterface<AcceptedCase> {};

TEST_P(KztrctlEdidFileAccepted, ReportAndJsonOfTheBytes) {
    const QByteArray edid = AsBytes(GetParam().edid());
    const QByteArray contents = GetParam().file(edid);
    const QString path = Write("edid.file", contents);

    const RunResult r = Run({"edid", "--file", path});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(r.out.value(0), QStringLiteral("EDID: %1 bytes").arg(edid.size()));
    EXPECT_EQ(DumpedBytes(r.out), edid);
    EXPECT_TRUE(r.out.contains("header         ok"));
    const bool extension = edid.size() >= 256;
    EXPECT_EQ(r.out.filter(QRegularExpression("^checksum1 ")).size(), extension ? 1 : 0);
    EXPECT_EQ(r.out.filter(QRegularExpression("^checksumdid ")).size(),
              extension && uint8_t(edid[128]) == 0x70 ? 1 : 0);
    EXPECT_TRUE(r.out.filter(QRegularExpression("^checksum")).filter("MISMATCH").isEmpty());
    const auto* data = reinterpret_cast<const uint8_t*>(edid.constData());
    const EdidInfo info = DecodeEdid(data, size_t(edid.size()));
    const qsizetype decoded = r.out.indexOf(QRegularExpression("^sync polarity .*")) + 1;
    ASSERT_GT(decoded, 0);
    EXPECT_EQ(r.out.mid(decoded), DescribeEdid(info));

    const RunResult j = Run({"edid", "--file", path, "--json"});
    ASSERT_EQ(j.exitCode, 0) << j.err.toStdString();
    const QJsonObject doc = j.Json();
    EXPECT_EQ(doc.keys(),
              (QStringList{"bytes", "checksums", "decoded", "headerOk", "length", "syncPolarity"}));
    EXPECT_EQ(QByteArray::fromHex(doc["bytes"].toString().toLatin1()), edid);
    EXPECT_EQ(doc["length"].toInt(), edid.size());
    const QJsonObject sums = doc["checksums"].toObject();
    EXPECT_EQ(sums.contains("checksum1"), extension);
    for (const QString& key : sums.keys())
        EXPECT_TRUE(sums[key]["ok"].toBool()) << key.toStdString();
    EXPECT_EQ(doc["syncPolarity"]["value"].toInt(), uint8_t(edid[71]));
    EXPECT_EQ(doc["decoded"].toObject(), EdidToJson(info));
    ExpectNoPortTouched();
}

INSTANTIATE_TEST_SUITE_P(
    Files, KztrctlEdidFileAccepted,
    ::testing::Values(
        AcceptedCase{"Binary", TwoBlocks, [](const QByteArray& e) { return e; }},
        AcceptedCase{"BinaryBaseBlockAlone", BaseBlockOnly, [](const QByteArray& e) { return e; }},
        AcceptedCase{"BinaryWithDisplayId", WithDisplayId, [](const QByteArray& e) { return e; }},
        AcceptedCase{"BinaryThreeBlocks", ThreeBlocks, [](const QByteArray& e) { return e; }},
        AcceptedCase{"HexLines", TwoBlocks, HexLines},
        AcceptedCase{"HexOneRunUpperCase", TwoBlocks,
                     [](const QByteArray& e) { return e.toHex().toUpper() + "\n"; }},
        AcceptedCase{"HexTabsAndCrLf", BaseBlockOnly,
                     [](const QByteArray& e) {
                         QByteArray text = "\t\t";
                         const QByteArray hex = e.toHex();
                         for (qsizetype i = 0; i < hex.size(); i += 32)
                             text += hex.mid(i, 32) + "\r\n\t\t";
                         return text;
                     }},
        AcceptedCase{"HexAsEdidDecodeDumpsIt", TwoBlocks,
                     [](const QByteArray& e) {
                         return "edid-decode (hex):\n\n" + HexLines(e) +
                                "\n----------------\n\nBlock 0, Base EDID:\n"
                                "  EDID Structure Version & Revision: 1.3\n";
                     }}),
    [](const ::testing::TestParamInfo<AcceptedCase>& info) { return info.param.name; });

struct RefusedCase {
    const char* name;
    std::function<QByteArray()> contents;
    const char* message;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class KztrctlEdidFileRefused : public KztrctlEdidFileTest,
                               public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(KztrctlEdidFileRefused, StatusTwoAndTheFileKept) {
    const QByteArray contents = GetParam().contents();
    const QString path = Write("edid.file", contents);
    for (const QStringList& args :
         {QStringList{"edid", "--file", path}, QStringList{"edid", "--file", path, "--json"}}) {
        const RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.stdoutBytes.isEmpty()) << r.stdoutBytes.toStdString();
        EXPECT_TRUE(r.err.startsWith("kztrctl: " + path + ": ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(GetParam().message))) << r.err.toStdString();
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), contents);
    ExpectNoPortTouched();
}

INSTANTIATE_TEST_SUITE_P(
    Files, KztrctlEdidFileRefused,
    ::testing::Values(
        RefusedCase{"Empty", [] { return QByteArray(); }, "not an EDID: the file is empty"},
        RefusedCase{"ShortBinary", [] { return AsBytes(TwoBlocks()).left(127); },
                    "not an EDID: 127 bytes, an EDID has at least 128"},
        RefusedCase{"ShortHex", [] { return HexLines(AsBytes(TwoBlocks()).left(100)); },
                    "not an EDID: 100 bytes, an EDID has at least 128"},
        // "ED" are hex digits; the "I" is the first byte that is not.
        RefusedCase{"Text", [] { return QByteArray("EDID of the left monitor: see the label\n"); },
                    "not an EDID: neither binary (starting 00 FF FF FF FF FF FF 00) nor hex "
                    "text (byte 0x49 at offset 2 is no hex digit or whitespace)"},
        RefusedCase{"BinaryWithoutHeader",
                    [] {
                        QByteArray b = AsBytes(TwoBlocks());
                        b[1] = 0x00;
                        return b;
                    },
                    "(byte 0x00 at offset 0 is no hex digit or whitespace)"},
        RefusedCase{"HexWithoutHeader", [] { return HexLines(QByteArray(256, '\x11')); },
                    "not an EDID: it does not start with the EDID header"},
        RefusedCase{"HexOddDigits", [] { return HexLines(AsBytes(TwoBlocks())) + "0\n"; },
                    "not an EDID: hex text with an odd number of digits (513)"},
        RefusedCase{"OneByteTooLong",
                    [] {
                        QByteArray b = AsBytes(TwoBlocks());
                        b.append(32 * 1024 + 1 - b.size(), '\0');
                        return b;
                    },
                    "too long for an EDID: longer than 32 KiB (32768 bytes)"},
        RefusedCase{"HexTooLong",
                    [] {
                        // 16 KiB of EDID, but 48 KiB of text.
                        QByteArray b = AsBytes(TwoBlocks());
                        b.append(16 * 1024 - b.size(), '\0');
                        return HexLines(b);
                    },
                    "too long for an EDID: longer than 32 KiB (32768 bytes)"}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

// The largest EDID there can be, 256 blocks, is just what the limit lets through.
TEST_F(KztrctlEdidFileTest, ExactlyThirtyTwoKiBIsTaken) {
    QByteArray b = AsBytes(TwoBlocks());
    b.append(32 * 1024 - b.size(), '\0');
    const RunResult r = Run({"edid", "--file", Write("big.bin", b)});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.value(0), "EDID: 32768 bytes");
    EXPECT_EQ(DumpedBytes(r.out), b);
}

TEST_F(KztrctlEdidFileTest, FilesThatCannotBeReadAreRefused) {
    for (const QString& path : {dir.path() + "/missing.bin", dir.path()}) {
        const RunResult r = Run({"edid", "--file", path});
        EXPECT_EQ(r.exitCode, 2) << path.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith("kztrctl: " + path + ": cannot read the file: "))
            << r.err.toStdString();
    }
    ExpectNoPortTouched();
}

} // namespace
