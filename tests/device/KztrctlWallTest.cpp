// save and load of a wall through the program, against simulated controllers: what
// reaches the controllers, what is refused before anything goes out, and the report.
#include "KztrctlProgram.h"
#include "RZ8Exchange.h"

#include <QDateTime>
#include <array>
#include <chrono>
#include <gtest/gtest.h>
#include <ostream>

using kztr::sim::ControllerConfig;
using kztr::test::RunResult;
using kztr::test::SimController;

namespace {

// Box 1 and box 3 are of the same model, so either can stand in for the other.
class KztrctlWallTest : public kztr::test::KztrctlProgramTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(
            StartWith({SimController(3, 2, 'C', 17), SimController(5, 1, 'D', 19),
                       SimController(6, 3, 'D', 4)}));
        wall = dir.path() + "/wall.json";
    }

    // Every controller gets values set accepts (a fresh simulated one has offsets of 0,
    // below the limits), box 1 and box 3 different ones.
    void Prepare() {
        for (const QStringList& args :
             {QStringList{"set", "--com", "5", "mode=7", "vr=75", "hblank=300", "ho=20", "hsw=30",
                          "vblank=40", "vo=5", "vsw=6", "hpol=-", "depth=10", "audio=on",
                          "edid=v1.3"},
              QStringList{"set", "--com", "6", "mode=2", "vr=50", "hblank=200", "ho=12", "hsw=14",
                          "vblank=20", "vo=3", "vsw=4", "vpol=-", "edid=v1.2"},
              QStringList{"set", "--com", "3", "ho=10", "hsw=10", "vo=2", "vsw=2"}}) {
            const RunResult r = Run(args);
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        }
    }

    // The configuration part of what the controller holds, byte for byte.
    QByteArray Held(int com) const {
        const RZ8Full c = sim.state(com)->config;
        return QByteArray(reinterpret_cast<const char*>(&c.hRZ8Data), sizeof c.hRZ8Data);
    }

    QJsonObject WallJson() const {
        QFile f(wall);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(f.readAll()).object();
    }

    // Runs with an empty request record, remembering the log's length.
    RunResult RunFresh(const QStringList& args) {
        sim.clearRequests();
        logBefore = LogLines().size();
        return Run(args);
    }

    QString wall;
    qsizetype logBefore = 0;
};

TEST_F(KztrctlWallTest, SavedWallIsRestoredAfterAUnitIsExchanged) {
    ASSERT_NO_FATAL_FAILURE(Prepare());
    const QByteArray one = Held(5), two = Held(3), three = Held(6);

    const RunResult save = Run({"save", wall});
    ASSERT_EQ(save.exitCode, 0) << save.err.toStdString();
    EXPECT_EQ(save.out,
              (QStringList{"saved box ID 1 (COM5, model D)", "saved box ID 2 (COM3, model C)",
                           "saved box ID 3 (COM6, model D)"}));
    EXPECT_TRUE(save.err.isEmpty()) << save.err.toStdString();

    const QJsonObject file = WallJson();
    EXPECT_EQ(file["format"].toString(), "kztrctl-wall");
    EXPECT_EQ(file["version"].toInt(), 1);
    const QDateTime saved = QDateTime::fromString(file["saved"].toString(), Qt::ISODate);
    ASSERT_TRUE(saved.isValid()) << file["saved"].toString().toStdString();
    EXPECT_LE(std::abs(saved.secsTo(QDateTime::currentDateTime())), 300);
    const QJsonObject controllers = file["controllers"].toObject();
    EXPECT_EQ(controllers.keys(), (QStringList{"1", "2", "3"}));
    // Each controller as show --json gives it, the box ID being its key.
    QJsonObject shown = Run({"show", "--com", "5", "--json"}).Json();
    shown.remove("boxId");
    EXPECT_EQ(controllers["1"].toObject(), shown);

    // Box 1's unit is exchanged: the one on COM6 takes its ID, COM5 the other one's.
    ASSERT_EQ(Run({"boxid", "--com", "5", "3"}).exitCode, 0);
    ASSERT_EQ(Run({"boxid", "--com", "6", "1"}).exitCode, 0);

    const RunResult load = RunFresh({"load", wall});
    ASSERT_EQ(load.exitCode, 0) << load.err.toStdString() << load.out.join('\n').toStdString();
    EXPECT_EQ(Held(6), one);
    EXPECT_EQ(Held(5), three);
    EXPECT_EQ(Held(3), two);
    const QString report = load.out.join('\n');
    EXPECT_TRUE(
        report.contains("box ID 1 (COM6, model D): writing\n  mode: 2 -> 7\n  vr: 50 Hz -> 75 Hz"))
        << report.toStdString();
    EXPECT_TRUE(load.out.contains("box ID 2 (COM3, model C): unchanged"));
    EXPECT_EQ(load.out.count("  read back: as written"), 2);
    // Box 2 needed nothing: no apply, so one log line for each of the other two.
    EXPECT_EQ(CommandFrames(3), 0u);
    EXPECT_EQ(LogLines().size(), logBefore + 2);
}

TEST_F(KztrctlWallTest, AnotherModelIsRefusedUnlessForced) {
    ASSERT_NO_FATAL_FAILURE(Prepare());
    const QByteArray boxOne = Held(5), boxTwo = Held(3);
    ASSERT_EQ(Run({"save", wall}).exitCode, 0);
    // The model C and model D units swap their IDs.
    ASSERT_EQ(Run({"boxid", "--com", "5", "2"}).exitCode, 0);
    ASSERT_EQ(Run({"boxid", "--com", "3", "1"}).exitCode, 0);

    const RunResult refused = RunFresh({"load", wall});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(
        refused.err.contains("box ID 1: COM3 holds a model C controller, the file one of model D"))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("nothing was written"));
    EXPECT_TRUE(refused.out.isEmpty()) << refused.out.join('\n').toStdString();
    EXPECT_EQ(CommandFrames(), 0u);
    EXPECT_EQ(LogLines().size(), logBefore);
    EXPECT_EQ(Held(3), boxTwo);

    const RunResult forced = RunFresh({"load", wall, "--force"});
    ASSERT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_TRUE(forced.out.contains("box ID 1 (COM3, model C): the file has a model D "
                                    "controller here (--force)"));
    EXPECT_EQ(Held(3), boxOne);
    EXPECT_EQ(Held(5), boxTwo);
}

TEST_F(KztrctlWallTest, DryRunShowsTheDifferencesAndSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(Prepare());
    ASSERT_EQ(Run({"save", "--com", "5", wall}).exitCode, 0);
    EXPECT_EQ(WallJson()["controllers"].toObject().keys(), QStringList{"1"});
    ASSERT_EQ(Run({"set", "--com", "5", "vr=90", "audio=off"}).exitCode, 0);
    const QByteArray changed = Held(5);

    const RunResult r = RunFresh({"load", "--dry-run", wall});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, (QStringList{
                         "box ID 1 (COM5, model D): would change",
                         "  vr: 90 Hz -> 75 Hz",
                         "  audio: off -> on",
                         "COM3  box ID 2  model C  ZEPH - T1/T3  firmware 17: not in the file, "
                         "left alone",
                         "COM6  box ID 3  model D  ZEPH - T4/T5  firmware 4: not in the file, "
                         "left alone",
                         "dry run: nothing was sent",
                     }));
    EXPECT_EQ(CommandFrames(), 0u);
    EXPECT_EQ(LogLines().size(), logBefore);
    EXPECT_EQ(Held(5), changed);
}

TEST_F(KztrctlWallTest, MissingControllerIsReportedAndTheOthersWritten) {
    ASSERT_NO_FATAL_FAILURE(Prepare());
    const QByteArray boxOne = Held(5), six = Held(6);
    ASSERT_EQ(Run({"save", wall}).exitCode, 0);
    ASSERT_EQ(Run({"set", "--com", "5", "vr=90"}).exitCode, 0);
    ASSERT_EQ(Run({"boxid", "--com", "6", "9"}).exitCode, 0);

    const RunResult r = RunFresh({"load", wall});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains("box ID 3: not found")) << r.out.join('\n').toStdString();
    EXPECT_TRUE(r.out.contains(
        "COM6  box ID 9  model D  ZEPH - T4/T5  firmware 4: not in the file, left alone"));
    EXPECT_TRUE(r.err.contains("load incomplete: box ID 3 not found")) << r.err.toStdString();
    EXPECT_EQ(Held(5), boxOne);
    EXPECT_EQ(Held(6), six);
    EXPECT_EQ(CommandFrames(6), 0u);
}

TEST_F(KztrctlWallTest, UnconfirmedApplyFailsThatControllerOnly) {
    ASSERT_NO_FATAL_FAILURE(Prepare());
    const QByteArray boxThree = Held(6);
    ASSERT_EQ(Run({"save", wall}).exitCode, 0);
    ASSERT_EQ(Run({"set", "--com", "5", "vr=90"}).exitCode, 0);
    ASSERT_EQ(Run({"set", "--com", "6", "vr=90"}).exitCode, 0);
    kztr::sim::Faults deaf;
    deaf.ignored = {0x00};
    ASSERT_TRUE(sim.setFaults(5, deaf));

    const RunResult r = RunFresh({"load", wall});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(
        r.out.contains("  failed: COM5: the controller did not confirm the apply command (0x00)"))
        << r.out.join('\n').toStdString();
    EXPECT_TRUE(r.err.contains("box ID 1 (COM5) does not hold the file's values"))
        << r.err.toStdString();
    EXPECT_EQ(Held(6), boxThree);
}

TEST_F(KztrctlWallTest, ControllersAreWrittenAtOnceAndReportedInBoxIdOrder) {
    ASSERT_NO_FATAL_FAILURE(Prepare());
    // On the user-defined size a write asks for the pixel counts first: three commands,
    // each with its pause, for every controller.
    ASSERT_EQ(Run({"set", "--all", "mode=9"}).exitCode, 0);
    ASSERT_EQ(Run({"save", wall}).exitCode, 0);
    // The same file with box 1 only.
    QJsonObject oneOnly = WallJson();
    QJsonObject controllers = oneOnly["controllers"].toObject();
    controllers.remove("2");
    controllers.remove("3");
    oneOnly["controllers"] = controllers;
    const QString one = dir.path() + "/one.json";
    QFile oneFile(one);
    ASSERT_TRUE(oneFile.open(QIODevice::WriteOnly));
    oneFile.write(QJsonDocument(oneOnly).toJson());
    oneFile.close();
    ASSERT_EQ(Run({"set", "--all", "vr=90"}).exitCode, 0);
    // Box 1 answers slowest, so it is done last yet reported first.
    kztr::sim::Faults slow;
    slow.splitReplies = true;
    slow.splitDelay = std::chrono::milliseconds(300);
    ASSERT_TRUE(sim.setFaults(5, slow));

    using Clock = std::chrono::steady_clock;
    auto start = Clock::now();
    const RunResult alone = Run({"load", one});
    const auto tookAlone = Clock::now() - start;
    ASSERT_EQ(alone.exitCode, 0) << alone.err.toStdString();
    ASSERT_EQ(Run({"set", "--com", "5", "vr=90"}).exitCode, 0);

    start = Clock::now();
    const RunResult r = RunFresh({"load", wall});
    const auto took = Clock::now() - start;
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, (QStringList{
                         "box ID 1 (COM5, model D): writing",
                         "  vr: 90 Hz -> 75 Hz",
                         "  read back: as written",
                         "box ID 2 (COM3, model C): writing",
                         "  vr: 90 Hz -> 60 Hz",
                         "  read back: as written",
                         "box ID 3 (COM6, model D): writing",
                         "  vr: 90 Hz -> 50 Hz",
                         "  read back: as written",
                     }));
    // One after another it would take three times as long as box 1 alone.
    EXPECT_LT(took, 2 * tookAlone) << std::chrono::duration<double>(took).count() << " s against "
                                   << std::chrono::duration<double>(tookAlone).count() << " s";
    EXPECT_GE(took, 3 * std::chrono::milliseconds(CRZ8Exchange::kCommandPauseMs));
    for (int com : {5, 3, 6})
        EXPECT_EQ(sim.state(com)->config.hRZ8Data.I_output_mode, 9) << "COM" << com;

    // The commands going out together are logged in box-ID order: the width queries of
    // boxes 1, 2, 3, then their height queries, then their applies.
    const QStringList log = LogLines().mid(logBefore);
    ASSERT_EQ(log.size(), 9) << log.join('\n').toStdString();
    for (qsizetype i = 0; i < log.size(); ++i) {
        const QString id = QStringLiteral("(ID = %1)").arg(i % 3 + 1, 2, 10, QLatin1Char('0'));
        const int code = std::array{0x0E, 0x0F, 0x00}[size_t(i / 3)];
        EXPECT_TRUE(log[i].contains(id)) << log[i].toStdString();
        EXPECT_TRUE(log[i].contains(QStringLiteral(" Cmd=%1 ").arg(code))) << log[i].toStdString();
    }
}

TEST_F(KztrctlWallTest, SaveWarnsOfWhatLoadWouldRefuse) {
    // Fresh simulated controllers hold offsets of 0, below what set accepts.
    const RunResult save = Run({"save", "--com", "6", wall});
    EXPECT_EQ(save.exitCode, 0) << save.err.toStdString();
    const QString refusal = "box ID 3: ho must be a whole number from 10 to 255, not \"0\"";
    EXPECT_TRUE(save.err.contains("warning: load will refuse " + wall +
                                  " until this is edited: " + refusal))
        << save.err.toStdString();
    const QJsonObject saved = WallJson()["controllers"].toObject()["3"].toObject();
    EXPECT_EQ(saved["config"].toObject()["ho"].toInt(-1), 0);

    const RunResult load = RunFresh({"load", wall});
    EXPECT_EQ(load.exitCode, 2);
    EXPECT_TRUE(load.err.contains(wall + ": " + refusal)) << load.err.toStdString();
    EXPECT_TRUE(sim.requests().empty());
}

// A file load refuses whole: nothing may be opened, not even for a configuration read.
struct BrokenFileCase {
    const char* name;
    const char* from; // replaced in a valid file; nullptr: the file is cut in half
    const char* to;
    const char* message;
};

void PrintTo(const BrokenFileCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr char kValidWall[] = R"({
    "format": "kztrctl-wall",
    "version": 1,
    "controllers": {
        "1": {
            "model": "D",
            "config": {"mode": 0, "vr": 60, "hblank": 280, "ho": 10, "hsw": 10, "vblank": 45,
                       "vo": 2, "vsw": 2, "hpol": "+", "vpol": "+", "depth": "8",
                       "audio": "off", "edid": "v1.1"}
        }
    }
})";

class KztrctlBrokenFileTest : public kztr::test::KztrctlProgramTest,
                              public ::testing::WithParamInterface<BrokenFileCase> {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartWith({SimController(5, 1, 'D', 19)})); }
};

TEST_P(KztrctlBrokenFileTest, IsRefusedBeforeAnyPortIsOpened) {
    const BrokenFileCase& c = GetParam();
    QByteArray text(kValidWall);
    if (c.from) {
        ASSERT_TRUE(text.contains(c.from));
        text.replace(c.from, c.to);
    } else {
        text.truncate(text.size() / 2);
    }
    const QString path = dir.path() + "/wall.json";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();

    const RunResult r = Run({"load", path});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.join('\n').toStdString();
    EXPECT_TRUE(r.err.contains(path + ": " + c.message)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(path + ": nothing loaded"));
    EXPECT_TRUE(sim.requests().empty());
    EXPECT_TRUE(LogLines().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, KztrctlBrokenFileTest,
    ::testing::Values(BrokenFileCase{"Damaged", nullptr, nullptr, "not valid JSON"},
                      BrokenFileCase{
                          "RateOutOfRange", R"("vr": 60)", R"("vr": 121)",
                          "box ID 1: vr must be a whole number from 21 to 120, not \"121\""},
                      BrokenFileCase{"UnknownField", R"("ho": 10)", R"("ho": 10, "colour": "red")",
                                     "box ID 1: unknown field \"colour\""},
                      BrokenFileCase{"NotAWallFile", "kztrctl-wall", "panel-settings",
                                     "not a wall file: \"format\" must be \"kztrctl-wall\""}),
    [](const auto& info) { return std::string(info.param.name); });

// save refuses a wall it cannot key by box ID, and leaves an older file as it was.
struct UnkeyableCase {
    const char* name;
    std::vector<ControllerConfig> controllers;
    QStringList args; // the file follows
    const char* message;
};

void PrintTo(const UnkeyableCase& c, std::ostream* os) {
    *os << c.name;
}

class KztrctlUnkeyableTest : public kztr::test::KztrctlProgramTest,
                             public ::testing::WithParamInterface<UnkeyableCase> {};

TEST_P(KztrctlUnkeyableTest, SaveRefusesAndKeepsTheOldFile) {
    const UnkeyableCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartWith(c.controllers));
    const QString path = dir.path() + "/wall.json";
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an earlier save");
    old.close();

    const RunResult r = Run(c.args + QStringList{path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.join('\n').toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("nothing saved"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "an earlier save");
    EXPECT_EQ(CommandFrames(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Walls, KztrctlUnkeyableTest,
    ::testing::Values(
        UnkeyableCase{"SharedBoxId",
                      {SimController(3, 1, 'C', 1), SimController(5, 1, 'D', 1)},
                      {"save"},
                      "box ID 1 is on COM3 and COM5; give them unique IDs with boxid"},
        UnkeyableCase{"NoBoxId",
                      {SimController(3, 2, 'C', 1), SimController(5, 0xFF, 'D', 1)},
                      {"save"},
                      "COM5 has no box ID; give it one with boxid"},
        UnkeyableCase{"NoBoxIdOnTheOnePort",
                      {SimController(5, 0xFF, 'D', 1)},
                      {"save", "--com", "5"},
                      "COM5 has no box ID; give it one with boxid"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
