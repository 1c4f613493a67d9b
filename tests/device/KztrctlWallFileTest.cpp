// The wall file without ports: what the reader refuses and why, that a saved wall reads
// back field for field, who cannot be keyed, and that a write replaces a file whole.
#include "CtlSession.h"
#include "WallFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

namespace {

QJsonObject validConfig() {
    return {{"mode", 3},     {"vr", 60},      {"hblank", 280}, {"ho", 10},    {"hsw", 12},
            {"vblank", 45},  {"vo", 2},       {"vsw", 4},      {"hpol", "+"}, {"vpol", "-"},
            {"depth", "10"}, {"audio", "on"}, {"edid", "v1.3"}};
}

QJsonObject validWall() {
    return {{"format", "kztrctl-wall"},
            {"version", 1},
            {"saved", "2024-03-01T08:00:00+01:00"},
            {"controllers",
             QJsonObject{{"1", QJsonObject{{"com", 5}, {"model", "D"}, {"config", validConfig()}}},
                         {"2", QJsonObject{{"model", "C"}, {"config", validConfig()}}}}}};
}

QByteArray text(const QJsonObject& wall) {
    return QJsonDocument(wall).toJson();
}

// Changes one value deep in the wall: path of keys, then the value (undefined: removed).
void put(QJsonObject& wall, const QStringList& path, const QJsonValue& value) {
    if (path.size() == 1) {
        if (value.isUndefined())
            wall.remove(path[0]);
        else
            wall.insert(path[0], value);
        return;
    }
    QJsonObject inner = wall[path[0]].toObject();
    put(inner, path.mid(1), value);
    wall.insert(path[0], inner);
}

struct BrokenCase {
    const char* name;
    std::function<QByteArray()> file;
    const char* message;
};

void PrintTo(const BrokenCase& c, std::ostream* os) {
    *os << c.name;
}

BrokenCase changed(const char* name, const QStringList& path, const QJsonValue& value,
                   const char* message) {
    return {name,
            [path, value] {
                QJsonObject wall = validWall();
                put(wall, path, value);
                return text(wall);
            },
            message};
}

BrokenCase raw(const char* name, const char* file, const char* message) {
    return {name, [file] { return QByteArray(file); }, message};
}

const QJsonValue kRemoved = QJsonValue(QJsonValue::Undefined);

class KztrctlWallFileBrokenTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(KztrctlWallFileBrokenTest, IsRefusedWithItsReason) {
    const BrokenCase& c = GetParam();
    const WallRead read = ParseWall(c.file());
    EXPECT_TRUE(read.entries.empty());
    EXPECT_TRUE(read.errors.contains(QString::fromUtf8(c.message)))
        << read.errors.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, KztrctlWallFileBrokenTest,
    ::testing::Values(
        raw("Empty", "", "not valid JSON: illegal value at byte 0"),
        raw("CutShort", R"({"format": "kztrctl-wall", "version": 1,)",
            "not valid JSON: unterminated object at byte 40"),
        raw("Array", "[]", "not a wall file: the document is not a JSON object"),
        changed("OtherFormat", {"format"}, "settings",
                "not a wall file: \"format\" must be \"kztrctl-wall\""),
        changed("NoFormat", {"format"}, kRemoved,
                "not a wall file: \"format\" must be \"kztrctl-wall\""),
        changed("LaterVersion", {"version"}, 2,
                "wall file version 2 is not supported; this kztrctl reads version 1"),
        changed("VersionAsText", {"version"}, "1",
                "wall file version \"1\" is not supported; this kztrctl reads version 1"),
        changed("UnknownTopField", {"comment"}, "lobby", "unknown field \"comment\""),
        changed("NoControllers", {"controllers"}, kRemoved,
                "\"controllers\" must be a JSON object keyed by box ID"),
        changed("ControllersAsList", {"controllers"}, QJsonArray{},
                "\"controllers\" must be a JSON object keyed by box ID"),
        changed("NoController", {"controllers"}, QJsonObject{}, "the file lists no controller"),
        changed("KeyZero", {"controllers", "0"}, QJsonObject{},
                "controller key \"0\" is not a box ID from 1 to 254"),
        changed("KeyNoId", {"controllers", "255"}, QJsonObject{},
                "controller key \"255\" is not a box ID from 1 to 254"),
        changed("KeyLeadingZero", {"controllers", "01"}, QJsonObject{},
                "controller key \"01\" is not a box ID from 1 to 254"),
        changed("KeyName", {"controllers", "left"}, QJsonObject{},
                "controller key \"left\" is not a box ID from 1 to 254"),
        changed("EntryNotObject", {"controllers", "2"}, 7, "box ID 2: not a JSON object"),
        changed("UnknownEntryField", {"controllers", "2", "colour"}, "red",
                "box ID 2: unknown field \"colour\""),
        changed("BoxIdOtherThanKey", {"controllers", "2", "boxId"}, 3,
                "box ID 2: boxId says 3; the key says 2"),
        changed("NoModel", {"controllers", "2", "model"}, kRemoved,
                "box ID 2: missing field model"),
        changed("ModelWord", {"controllers", "2", "model"}, "CD",
                "box ID 2: model must be the model letter, e.g. \"D\""),
        changed("NoConfig", {"controllers", "2", "config"}, kRemoved,
                "box ID 2: missing field config"),
        changed("ConfigAsList", {"controllers", "2", "config"}, QJsonArray{},
                "box ID 2: config must be a JSON object of fields"),
        changed("FieldsMissing", {"controllers", "1", "config", "vr"}, kRemoved,
                "box ID 1: missing field vr"),
        changed("UnknownConfigField", {"controllers", "1", "config", "gamma"}, 2,
                "box ID 1: unknown field \"gamma\"; known fields: mode, vr, hblank, ho, hsw, "
                "vblank, vo, vsw, hpol, vpol, depth, audio, edid"),
        changed("RateNotSet", {"controllers", "1", "config", "vr"}, 20,
                "box ID 1: vr must be a whole number from 21 to 120, not \"20\""),
        changed("RateFraction", {"controllers", "1", "config", "vr"}, 60.5,
                "box ID 1: vr must be a whole number from 21 to 120, not \"60.5\""),
        changed("RateAsText", {"controllers", "1", "config", "vr"}, "60",
                "box ID 1: vr must be a number from 21 to 120, not \"60\""),
        changed("BlankHuge", {"controllers", "1", "config", "hblank"}, 1e12,
                "box ID 1: hblank must be a whole number from 40 to 1023, not \"1e+12\""),
        changed("ModeBeyondSlider", {"controllers", "1", "config", "mode"}, 10,
                "box ID 1: mode must be a whole number from 0 to 9, not \"10\""),
        changed("PolarityWord", {"controllers", "1", "config", "hpol"}, "up",
                "box ID 1: hpol must be one of + (or positive, pos), - (or negative, neg); "
                "not \"up\""),
        changed("DepthAsNumber", {"controllers", "1", "config", "depth"}, 10,
                "box ID 1: depth must be text, one of 8, 10; not 10"),
        changed("AudioAsBool", {"controllers", "1", "config", "audio"}, true,
                "box ID 1: audio must be text, one of on, off; not true")),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KztrctlWallFile, EveryProblemOfEveryControllerIsNamed) {
    QJsonObject wall = validWall();
    put(wall, {"controllers", "1", "config", "vo"}, 0);
    put(wall, {"controllers", "1", "config", "vsw"}, kRemoved);
    put(wall, {"controllers", "1", "config", "hblank"}, kRemoved);
    put(wall, {"controllers", "2", "config", "edid"}, "v3");
    const WallRead read = ParseWall(text(wall));
    EXPECT_TRUE(read.entries.empty());
    EXPECT_EQ(read.errors,
              (QStringList{"box ID 1: vo must be a whole number from 2 to 128, not \"0\"",
                           "box ID 1: missing fields hblank, vsw",
                           "box ID 2: edid must be one of v1.1 (or 1.1), v1.2 (or 1.2), v1.3 "
                           "(or 1.3), v2.0 (or 2.0); not \"v3\""}));
}

TEST(KztrctlWallFile, TakesEverySpellingSetTakes) {
    QJsonObject wall = validWall();
    put(wall, {"controllers", "1", "config", "hpol"}, "Negative");
    put(wall, {"controllers", "1", "config", "vpol"}, "pos");
    put(wall, {"controllers", "1", "config", "edid"}, "2.0");
    put(wall, {"controllers", "1", "config", "audio"}, "OFF");
    put(wall, {"controllers", "1", "boxId"}, 1);
    const WallRead read = ParseWall(text(wall));
    ASSERT_TRUE(read.errors.isEmpty()) << read.errors.join('\n').toStdString();
    ASSERT_EQ(read.entries.size(), 2u);
    const RZ8Full& c = read.entries[0].config;
    EXPECT_EQ(c.hp(), 0u);
    EXPECT_EQ(c.vp(), 1u);
    EXPECT_EQ(c.DID_Ver(), 3u);
    EXPECT_EQ(c.audiobit(), 0u);
}

ControllerSnapshot snapshot(int com, uint8_t box, char model, int mode, int vr, uint16_t hblank,
                            uint8_t offsets, unsigned flags) {
    ControllerSnapshot s;
    s.controller = {com, box, model, 7};
    RZ8Full& r = s.config;
    r.hRZ8Data.I_output_mode = int8_t(mode);
    r.setVRHz(vr);
    r.setIHLimit(hblank);
    r.hRZ8Data.HO = offsets;
    r.hRZ8Data.HSW = uint8_t(offsets + 1);
    r.hRZ8Data.iVLimit = uint8_t(offsets + 2);
    r.hRZ8Data.VO = uint8_t(offsets + 3);
    r.hRZ8Data.VSW = uint8_t(offsets + 4);
    r.setDID_Ver(flags & 3);
    r.setVp(flags >> 2 & 1);
    r.setHp(flags >> 3 & 1);
    r.setColor_10bit(flags >> 4 & 1);
    r.setAudiobit(flags >> 5 & 1);
    return s;
}

TEST(KztrctlWallFile, SavedWallReadsBackFieldForField) {
    // Listed out of box-ID order, every flag combination that matters in one or the other.
    const std::vector<ControllerSnapshot> saved = {
        snapshot(4, 12, 'C', 9, 21, 1023, 120, 0b010110),
        snapshot(9, 3, 'H', 0, 120, 40, 10, 0b101001),
    };
    const WallRead read = ParseWall(text(WallToJson(saved, QDateTime::currentDateTime())));
    ASSERT_TRUE(read.errors.isEmpty()) << read.errors.join('\n').toStdString();
    ASSERT_EQ(read.entries.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const WallEntry& e = read.entries[i];
        const ControllerSnapshot& s = saved[1 - i]; // read back by box ID
        EXPECT_EQ(e.boxId, s.controller.boxId);
        EXPECT_EQ(e.model, s.controller.model);
        const RZ8Full& a = e.config;
        const RZ8Full& b = s.config;
        EXPECT_EQ(a.hRZ8Data.I_output_mode, b.hRZ8Data.I_output_mode);
        EXPECT_EQ(a.VRHz(), b.VRHz());
        EXPECT_EQ(a.iHLimit(), b.iHLimit());
        EXPECT_EQ(a.hRZ8Data.HO, b.hRZ8Data.HO);
        EXPECT_EQ(a.hRZ8Data.HSW, b.hRZ8Data.HSW);
        EXPECT_EQ(a.hRZ8Data.iVLimit, b.hRZ8Data.iVLimit);
        EXPECT_EQ(a.hRZ8Data.VO, b.hRZ8Data.VO);
        EXPECT_EQ(a.hRZ8Data.VSW, b.hRZ8Data.VSW);
        EXPECT_EQ(a.flagsWord() & 0x3F, b.flagsWord() & 0x3F);
    }
}

struct KeyCase {
    const char* name;
    std::vector<FoundController> found;
    QStringList problems;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.name;
}

class KztrctlWallKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KztrctlWallKeyTest, NamesWhoCannotBeKeyed) {
    EXPECT_EQ(UnkeyableControllers(GetParam().found), GetParam().problems);
}

INSTANTIATE_TEST_SUITE_P(
    Walls, KztrctlWallKeyTest,
    ::testing::Values(
        KeyCase{"AllUnique", {{3, 2, 'C', 1}, {5, 1, 'D', 1}, {6, 254, 'D', 1}}, {}},
        KeyCase{"Shared",
                {{3, 2, 'C', 1}, {5, 2, 'D', 1}, {7, 2, 'D', 1}, {6, 1, 'D', 1}},
                {"box ID 2 is on COM3 and COM5 and COM7; give them unique IDs with boxid"}},
        KeyCase{"OneWithoutId",
                {{3, 2, 'C', 1}, {5, 0xFF, 'D', 1}},
                {"COM5 has no box ID; give it one with boxid"}},
        KeyCase{"TwoWithoutId",
                {{3, 0xFF, 'C', 1}, {5, 0xFF, 'D', 1}, {4, 4, 'D', 1}, {6, 4, 'D', 1}},
                {"box ID 4 is on COM4 and COM6; give them unique IDs with boxid",
                 "COM3, COM5 have no box ID; give each one with boxid"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KztrctlWallFile, WriteReplacesAFileWholeOrNotAtAll) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QJsonObject wall = validWall();
    QString error;

    const QString nowhere = dir.path() + "/missing/wall.json";
    EXPECT_FALSE(WriteWallFile(nowhere, wall, error));
    EXPECT_TRUE(error.startsWith("cannot write " + nowhere + ": ")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(nowhere));

    const QString path = dir.path() + "/wall.json";
    QFile older(path);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write(QByteArray(10000, 'x')); // longer than the new file
    older.close();
    ASSERT_TRUE(WriteWallFile(path, wall, error)) << error.toStdString();
    const WallRead read = ReadWallFile(path);
    EXPECT_TRUE(read.errors.isEmpty()) << read.errors.join('\n').toStdString();
    EXPECT_EQ(read.entries.size(), 2u);
    // No temporary file left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"wall.json"});
}

TEST(KztrctlWallFile, AFileThatCannotBeReadIsNamed) {
    const WallRead read = ReadWallFile("/nonexistent/wall.json");
    EXPECT_TRUE(read.entries.empty());
    ASSERT_EQ(read.errors.size(), 1);
    EXPECT_TRUE(read.errors[0].startsWith("cannot read the file: "))
        << read.errors[0].toStdString();
}

} // namespace
