// Our EDID decoder held against an independent one, edid-decode, on EDIDs of real
// monitors and on blocks made here for what that sample lacks. Fields are compared,
// not text: edid-decode's report is parsed and normalised where the two only present
// the same thing differently.
#include "EdidBlock.h"
#include "EdidDecoder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>
#include <ostream>

// Failures show text, not the characters one by one.
void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using Bytes = std::vector<uint8_t>;
using kztr::test::fixEdidChecksums;
using kztr::test::makeEdidBlock;
using kztr::test::putDetailedTiming;
using kztr::test::putDisplayDescriptor;

// The part of edid-decode's report about the base block that both decoders tell.
struct TheirTiming {
    int width = 0;
    int height = 0;
    bool interlaced = false;
    double refreshHz = 0;
    double pixelClockMHz = 0;
    bool separateSync = true; // no "analog composite" or "digital composite" note
    char hpol = 0;            // 'P' or 'N' as printed
    char vpol = 0;
};

struct TheirView {
    QString manufacturer;
    int model = -1;
    QString made; // "week W of Y", "year Y" or "model year Y"
    QString version;
    QStringList names; // every product name of the base block, as printed
    std::optional<TheirTiming> preferred;
    bool checksumOk = false;
    QStringList extensionKinds;
};

QString EdidDecodeProgram() {
    return QStandardPaths::findExecutable(QStringLiteral("edid-decode"));
}

// Runs edid-decode on the bytes; an empty list (and a test failure) when it cannot.
QStringList RunEdidDecode(const Bytes& bytes) {
    QTemporaryFile file;
    if (!file.open()) {
        ADD_FAILURE() << "cannot write a scratch file for edid-decode";
        return {};
    }
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    file.flush();
    QProcess p;
    p.start(EdidDecodeProgram(), {file.fileName()});
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "edid-decode did not finish";
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).split('\n');
}

QString After(const QString& line, const QString& label) {
    return line.mid(line.indexOf(label) + label.size()).trimmed();
}

// The lines of one report that concern the base block and the kinds of the blocks after it.
TheirView ParseReport(const QStringList& lines) {
    TheirView v;
    static const QRegularExpression block(QStringLiteral("^Block (\\d+), (.*):$"));
    static const QRegularExpression dtd(
        QStringLiteral("^DTD 1:\\s+(\\d+)x(\\d+)(i?)\\s+([\\d.]+) Hz.*\\s([\\d.]+) MHz(.*)$"));
    static const QRegularExpression pol(QStringLiteral("([HV])pol ([PN])"));
    int current = -1;
    bool timingsNext = false;
    bool inTiming = false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (const auto m = block.match(raw); m.hasMatch()) {
            current = m.captured(1).toInt();
            if (current > 0) {
                const QString kind = m.captured(2);
                v.extensionKinds << (kind == QLatin1String("CTA-861 Extension Block") ? "CTA-861"
                                     : kind == QLatin1String("DisplayID Extension Block")
                                         ? "DisplayID"
                                         : "other");
            }
            continue;
        }
        if (current != 0) continue;
        if (timingsNext) {
            timingsNext = false;
            if (const auto m = dtd.match(line); m.hasMatch()) {
                TheirTiming t;
                t.width = m.captured(1).toInt();
                t.height = m.captured(2).toInt();
                t.interlaced = !m.captured(3).isEmpty();
                t.refreshHz = m.captured(4).toDouble();
                t.pixelClockMHz = m.captured(5).toDouble();
                t.separateSync = !m.captured(6).contains(QLatin1String("composite"));
                v.preferred = t;
                inTiming = true;
                continue;
            }
        }
        if (inTiming) {
            // The porch lines of DTD 1 follow it; they carry the polarities.
            if (!line.startsWith(QLatin1String("Hfront")) &&
                !line.startsWith(QLatin1String("Vfront"))) {
                inTiming = false;
            } else {
                auto it = pol.globalMatch(line);
                while (it.hasNext()) {
                    const auto m = it.next();
                    const char sign = m.captured(2)[0].toLatin1();
                    if (m.captured(1) == QLatin1String("H"))
                        v.preferred->hpol = sign;
                    else if (!v.preferred->vpol)
                        v.preferred->vpol = sign;
                }
                continue;
            }
        }
        if (line == QLatin1String("Detailed Timing Descriptors:")) {
            timingsNext = true;
        } else if (line.startsWith(QLatin1String("Manufacturer:"))) {
            v.manufacturer = After(line, "Manufacturer:");
        } else if (line.startsWith(QLatin1String("Model:"))) {
            v.model = After(line, "Model:").toInt();
        } else if (line.startsWith(QLatin1String("Made in: week "))) {
            v.made = After(line, "Made in:");
        } else if (line.startsWith(QLatin1String("Made in:"))) {
            v.made = QStringLiteral("year ") + After(line, "Made in:");
        } else if (line.startsWith(QLatin1String("Model year:"))) {
            v.made = QStringLiteral("model year ") + After(line, "Model year:");
        } else if (line.startsWith(QLatin1String("EDID Structure Version & Revision:"))) {
            v.version = After(line, "Revision:");
        } else if (line.startsWith(QLatin1String("Display Product Name: '"))) {
            QString name = After(line, "Display Product Name:");
            v.names << name.mid(1, name.size() - 2);
        } else if (line.startsWith(QLatin1String("Checksum:"))) {
            v.checksumOk = !line.contains(QLatin1String("should be"));
        }
    }
    return v;
}

// How ours would say the date: the forms edid-decode prints it in.
QString OurMade(const EdidInfo& info) {
    if (info.week == 255) return QStringLiteral("model year %1").arg(info.year);
    if (info.week == 0) return QStringLiteral("year %1").arg(info.year);
    return QStringLiteral("week %1 of %2").arg(info.week).arg(info.year);
}

// edid-decode prints each name descriptor with its trailing padding; ours keeps the
// first that holds text, padding dropped.
QString FirstNamed(const QStringList& names) {
    for (QString name : names) {
        while (name.endsWith(QLatin1Char(' ')))
            name.chop(1);
        if (!name.isEmpty()) return name;
    }
    return {};
}

struct Tally {
    int compared = 0;
    int interlaced = 0;
    int emptyNameFirst = 0;
};

// Decodes the bytes with both decoders and compares what both tell.
void Compare(const Bytes& bytes, Tally& tally) {
    const QStringList report = RunEdidDecode(bytes);
    ASSERT_FALSE(report.isEmpty());
    const TheirView theirs = ParseReport(report);
    ASSERT_FALSE(theirs.manufacturer.isEmpty()) << "no maker in edid-decode's report:\n"
                                                << report.join('\n').toStdString();
    ASSERT_FALSE(theirs.made.isEmpty()) << report.join('\n').toStdString();
    ASSERT_FALSE(theirs.version.isEmpty()) << report.join('\n').toStdString();
    const EdidInfo ours = DecodeEdid(bytes.data(), bytes.size());
    const QString theirName = FirstNamed(theirs.names);

    EXPECT_EQ(ours.manufacturer, theirs.manufacturer);
    EXPECT_EQ(int(ours.productCode), theirs.model);
    EXPECT_EQ(OurMade(ours), theirs.made);
    EXPECT_EQ(QStringLiteral("%1.%2").arg(ours.versionMajor).arg(ours.versionMinor),
              theirs.version);
    EXPECT_EQ(ours.monitorName, theirName);
    EXPECT_EQ(ours.checksumOk, theirs.checksumOk);
    QStringList ourKinds;
    for (const EdidExtension& e : ours.extensions)
        ourKinds << e.kind;
    EXPECT_EQ(ourKinds, theirs.extensionKinds);

    ASSERT_EQ(ours.preferred.has_value(), theirs.preferred.has_value());
    if (ours.preferred) {
        const EdidTiming& o = *ours.preferred;
        const TheirTiming& t = *theirs.preferred;
        EXPECT_EQ(o.width, t.width);
        EXPECT_EQ(o.height, t.height);
        EXPECT_EQ(o.interlaced, t.interlaced);
        EXPECT_NEAR(o.refreshHz, t.refreshHz, 0.01);
        EXPECT_EQ(o.pixelClockKHz, int(std::lround(t.pixelClockMHz * 1000)));
        if (t.separateSync) {
            EXPECT_EQ(o.hsync, t.hpol == 'P' ? '+' : '-');
            EXPECT_EQ(o.vsync, t.vpol == 'P' ? '+' : '-');
        } else {
            // Composite sync has no separate polarities; edid-decode still prints the
            // bits as if it had.
            EXPECT_EQ(o.hsync, 0);
            EXPECT_EQ(o.vsync, 0);
        }
        tally.interlaced += t.interlaced;
    }
    // Counted on edid-decode's side, so a fault of ours cannot hide the case.
    tally.emptyNameFirst +=
        !theirs.names.isEmpty() && theirs.names[0].trimmed().isEmpty() && !theirName.isEmpty();
    ++tally.compared;
}

// The hex under "edid-decode (hex):" in a sample file.
Bytes SampleBytes(const QString& text) {
    Bytes bytes;
    const qsizetype start = text.indexOf(QLatin1String("edid-decode (hex):"));
    if (start < 0) return bytes;
    const QStringList lines = text.mid(start).split('\n').mid(1);
    static const QRegularExpression hexLine(QStringLiteral("^([0-9a-fA-F]{2}( |$))+$"));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() && bytes.empty()) continue;
        if (!hexLine.match(line).hasMatch()) break;
        for (const QString& pair : line.split(' ', Qt::SkipEmptyParts))
            bytes.push_back(uint8_t(pair.toUInt(nullptr, 16)));
    }
    return bytes;
}

class EdidDecodeComparison : public ::testing::Test {
protected:
    void SetUp() override {
        if (EdidDecodeProgram().isEmpty())
            GTEST_SKIP() << "edid-decode is not installed (scripts/dev deps installs it)";
    }
};

TEST_F(EdidDecodeComparison, RealMonitors) {
    const QString folder = QStringLiteral(KZTR_EDID_SAMPLES);
    if (!QDir(folder).exists())
        GTEST_SKIP() << "no sample of real monitors' EDIDs at " << folder.toStdString();
    Tally tally;
    int files = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String(".md"))) continue;
        ++files;
        SCOPED_TRACE(QDir(folder).relativeFilePath(path).toStdString());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const Bytes bytes = SampleBytes(QString::fromUtf8(f.readAll()));
        ASSERT_FALSE(bytes.empty()) << "no hex under \"edid-decode (hex):\"";
        ASSERT_EQ(bytes.size() % 128, 0u);
        Compare(bytes, tally);
    }
    std::cout << "compared " << tally.compared << " of " << files << " EDIDs of real monitors ("
              << tally.interlaced << " with an interlaced preferred timing, "
              << tally.emptyNameFirst << " with an empty name descriptor before the real one)\n";
    RecordProperty("compared", tally.compared);
    EXPECT_GT(files, 0) << "the sample folder holds no EDIDs";
    EXPECT_EQ(tally.compared, files);
    // The sample is said to hold both faults this comparison first found; if it no longer
    // did, the made-up blocks below would be all that is left to catch them.
    EXPECT_GT(tally.interlaced, 0);
    EXPECT_GT(tally.emptyNameFirst, 0);
}

struct MadeCase {
    const char* name;
    std::function<void(Bytes&)> change;
};

void PrintTo(const MadeCase& c, std::ostream* os) {
    *os << c.name;
}

class EdidDecodeMadeBlocks : public EdidDecodeComparison,
                             public ::testing::WithParamInterface<MadeCase> {};

TEST_P(EdidDecodeMadeBlocks, SameFields) {
    Bytes b = makeEdidBlock();
    b[16] = 12; // week 12 of 2021
    b[17] = 31;
    GetParam().change(b);
    if (b.size() == 256) fixEdidChecksums(b);
    Tally tally;
    Compare(b, tally);
}

// Maker "KZT" (0x2F54), as the decoder's own tests use it.
void KztMaker(Bytes& b) {
    b[8] = 0x2F;
    b[9] = 0x54;
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, EdidDecodeMadeBlocks,
    ::testing::Values(
        MadeCase{"Plain", [](Bytes&) {}},
        MadeCase{"Interlaced1080At50",
                 [](Bytes& b) {
                     putDetailedTiming(b, 54, {7425, 1920, 720, 528, 44, 540, 22, 2, 5, 0x9E});
                 }},
        MadeCase{"Interlaced576At50",
                 [](Bytes& b) {
                     putDetailedTiming(b, 54, {2700, 1440, 288, 24, 126, 288, 24, 2, 3, 0x98});
                 }},
        MadeCase{"Interlaced480At59_94",
                 [](Bytes& b) {
                     putDetailedTiming(b, 54, {2700, 1440, 276, 38, 124, 240, 22, 4, 3, 0x98});
                 }},
        MadeCase{"InterlacedAnalogueComposite",
                 [](Bytes& b) {
                     putDetailedTiming(b, 54, {7425, 1920, 280, 88, 44, 540, 22, 2, 5, 0x86});
                 }},
        MadeCase{"UltraHdAt60",
                 [](Bytes& b) {
                     putDetailedTiming(b, 54, {59400, 3840, 560, 176, 88, 2160, 90, 8, 10, 0x1E});
                 }},
        MadeCase{"OddClockAndBlanking",
                 [](Bytes& b) {
                     putDetailedTiming(b, 54, {8551, 1366, 160, 70, 143, 768, 30, 3, 3, 0x1A});
                 }},
        MadeCase{"HMinusVPlus",
                 [](Bytes& b) {
                     putDetailedTiming(b, 54, {14850, 1920, 280, 88, 44, 1080, 45, 4, 5, 0x1C});
                 }},
        MadeCase{"DigitalComposite",
                 [](Bytes& b) {
                     putDetailedTiming(b, 54, {14850, 1920, 280, 88, 44, 1080, 45, 4, 5, 0x12});
                 }},
        MadeCase{"FirstDescriptorIsTheName",
                 [](Bytes& b) {
                     putDisplayDescriptor(b, 54, 0xFC, "FRONT\n       ");
                     putDisplayDescriptor(b, 90, 0x10, "");
                 }},
        MadeCase{"EmptyNameBeforeTheRealOneInTheThird",
                 [](Bytes& b) {
                     putDisplayDescriptor(b, 72, 0xFC, "\n            ");
                     putDisplayDescriptor(b, 90, 0xFC, "M176A\n       ");
                 }},
        MadeCase{"EmptyNamesOnly",
                 [](Bytes& b) {
                     putDisplayDescriptor(b, 72, 0xFC, "\n            ");
                     putDisplayDescriptor(b, 90, 0xFC, "             ");
                 }},
        MadeCase{"NoNameDescriptor", [](Bytes& b) { putDisplayDescriptor(b, 90, 0x10, ""); }},
        MadeCase{"NameOfThirteenWithoutLineFeed",
                 [](Bytes& b) { putDisplayDescriptor(b, 90, 0xFC, "ABCDEFGHIJKLM"); }},
        MadeCase{"NameInTheLastDescriptor",
                 [](Bytes& b) {
                     putDisplayDescriptor(b, 90, 0xFF, "SN0001\n      ");
                     putDisplayDescriptor(b, 108, 0xFC, "SIDE WALL\n   ");
                 }},
        MadeCase{"ModelYearInVersion14",
                 [](Bytes& b) {
                     KztMaker(b);
                     b[16] = 0xFF;
                     b[17] = 33;
                     b[19] = 4;
                 }},
        MadeCase{"YearWithoutWeek",
                 [](Bytes& b) {
                     b[16] = 0;
                     b[17] = 25;
                 }},
        MadeCase{"ProductCodeHighByte",
                 [](Bytes& b) {
                     KztMaker(b);
                     b[10] = 0x34;
                     b[11] = 0xF2;
                 }},
        MadeCase{"DisplayIdExtension",
                 [](Bytes& b) {
                     std::fill(b.begin() + 128, b.end(), 0);
                     b[128] = 0x70;
                     b[129] = 0x12;
                 }},
        MadeCase{"OtherExtension",
                 [](Bytes& b) {
                     std::fill(b.begin() + 128, b.end(), 0);
                     b[128] = 0x40;
                 }},
        MadeCase{"BaseBlockAlone",
                 [](Bytes& b) {
                     b[126] = 0;
                     fixEdidChecksums(b);
                     b.resize(128);
                 }}),
    [](const ::testing::TestParamInfo<MadeCase>& info) { return info.param.name; });

} // namespace
