// set, pattern and reset with --all through the program, against three simulated
// controllers whose box-ID order is not their COM order: what each controller receives,
// the report, the daily log, a controller that fails among the others, and the JSON.
#include "KztrctlProgram.h"
#include "RZ8Exchange.h"

#include <QJsonArray>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

using namespace std::chrono_literals;
using kztr::sim::ControllerState;
using kztr::sim::Faults;
using kztr::test::RunResult;
using kztr::test::SimController;

namespace {

// In box-ID order.
constexpr int kComs[] = {5, 3, 6};
const QStringList kLabels = {"box ID 1 (COM5, model D)", "box ID 2 (COM3, model C)",
                             "box ID 3 (COM6, model D)"};

using Requests = std::vector<std::vector<uint8_t>>;

std::vector<kztr::sim::ControllerConfig> Wall() {
    return {SimController(3, 2, 'C', 17), SimController(5, 1, 'D', 19),
            SimController(6, 3, 'D', 4)};
}

class KztrctlWallActionTest : public kztr::test::KztrctlProgramTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartWith(Wall())); }

    // Every request a controller received, configuration reads included, byte for byte.
    static Requests Received(const kztr::sim::Rz8Simulator& from, int com) {
        Requests out;
        for (const kztr::sim::Request& r : from.requests(com))
            out.push_back(r.bytes);
        return out;
    }

    // The daily log without its time stamps ("[HH:mm:ss]: "), from line from on.
    QStringList LogFrom(qsizetype from) const {
        QStringList lines = LogLines().mid(from);
        for (QString& l : lines)
            l = l.mid(l.indexOf(QLatin1String(": ")) + 2);
        return lines;
    }

    static std::chrono::milliseconds Since(std::chrono::steady_clock::time_point start) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
    }
};

// One command on the whole wall against the same command on each controller alone.
struct WallCommandCase {
    const char* name;
    QStringList command; // the command word, then what follows the port
    const char* done;    // the report line's words after the controller
    const char* note;    // said once on stderr; nullptr: stderr stays empty
    bool long_;          // each controller takes seconds: the wall must take about as long
};

void PrintTo(const WallCommandCase& c, std::ostream* os) {
    *os << c.name;
}

// A twin of the wall, in the same state, takes the one-controller commands: a command
// carries the configuration it was read with, so both must start from the same one.
class KztrctlWallCommandTest : public KztrctlWallActionTest,
                               public ::testing::WithParamInterface<WallCommandCase> {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(KztrctlWallActionTest::SetUp());
        ASSERT_TRUE(twinDir.isValid());
        for (const kztr::sim::ControllerConfig& c : Wall())
            ASSERT_TRUE(twin.addController(c)) << twin.error();
        ASSERT_TRUE(twin.start(TwinPorts().toStdString())) << twin.error();
    }

    QString TwinPorts() const { return twinDir.path() + "/ports"; }

    RunResult RunOnTwin(const QStringList& args) {
        kztr::test::ScopedEnv there{"RZ8_PORT_DIR", TwinPorts().toStdString()};
        return Run(args);
    }

    QTemporaryDir twinDir;
    kztr::sim::Rz8Simulator twin;
};

TEST_P(KztrctlWallCommandTest, EachControllerGetsWhatTheOneControllerCommandSendsIt) {
    const WallCommandCase& c = GetParam();
    // Box 3 on the user-defined size: set asks for its pixel counts first, three logged
    // commands against the others' one.
    ASSERT_EQ(Run({"set", "--com", "6", "mode=9"}).exitCode, 0);
    ASSERT_EQ(RunOnTwin({"set", "--com", "6", "mode=9"}).exitCode, 0);
    sim.clearRequests();
    twin.clearRequests();
    const qsizetype logStart = LogLines().size();

    QStringList all = c.command;
    all.insert(1, "--all");
    const auto start = std::chrono::steady_clock::now();
    const RunResult wall = Run(all);
    const auto wallTook = Since(start);
    ASSERT_EQ(wall.exitCode, 0) << wall.err.toStdString();
    QStringList expected;
    for (const QString& label : kLabels)
        expected << label + ": " + c.done;
    EXPECT_EQ(wall.out, expected);
    if (c.note) {
        EXPECT_EQ(wall.err.count(QLatin1String(c.note)), 1) << wall.err.toStdString();
    } else {
        EXPECT_TRUE(wall.err.isEmpty()) << wall.err.toStdString();
    }
    const QStringList wallLog = LogFrom(logStart);

    // The twin one controller at a time, in box-ID order.
    const qsizetype logBetween = LogLines().size();
    std::chrono::milliseconds slowestAlone{0};
    for (int com : kComs) {
        QStringList one = c.command;
        one.insert(1, "--com");
        one.insert(2, QString::number(com));
        const auto startOne = std::chrono::steady_clock::now();
        const RunResult alone = RunOnTwin(one);
        slowestAlone = std::max(slowestAlone, Since(startOne));
        ASSERT_EQ(alone.exitCode, 0) << alone.err.toStdString();
        // The wall's scan asks each controller for its configuration once more, first.
        Requests expected{{0xFF}};
        for (const std::vector<uint8_t>& r : Received(twin, com))
            expected.push_back(r);
        EXPECT_EQ(Received(sim, com), expected) << "COM" << com;
        EXPECT_GE(expected.size(), 3u) << "COM" << com; // the scan, the connect, a command
    }
    // One log line per command, and those going out together in box-ID order: with box
    // 3's extra queries last, that is the order of the one-by-one runs.
    EXPECT_EQ(wallLog, LogFrom(logBetween));
    EXPECT_GE(wallLog.size(), 3);
    if (c.long_) {
        // The waits overlap: about one controller's time, not three.
        EXPECT_GE(slowestAlone, 10s);
        EXPECT_LT(wallTook, 2 * slowestAlone);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, KztrctlWallCommandTest,
    ::testing::Values(
        WallCommandCase{"Set",
                        {"set", "vr=75", "audio=on"},
                        "applied, vr: 60 Hz -> 75 Hz, audio: off -> on",
                        nullptr,
                        false},
        WallCommandCase{"PatternOn", {"pattern", "on"}, "test pattern on", nullptr, false},
        WallCommandCase{"PatternRgbw", {"pattern", "rgbw"}, "RGBW pattern on", nullptr, false},
        WallCommandCase{
            "PatternOff", {"pattern", "off"}, "test and RGBW patterns off", nullptr, false},
        WallCommandCase{"Reset",
                        {"reset"},
                        "controller reset",
                        "resetting 3 controllers at once; they take about 10 s to restart",
                        true}),
    [](const auto& info) { return std::string(info.param.name); });

// The controller in the middle of the box-ID order fails; the two around it are done.
struct FailureCase {
    const char* name;
    QStringList args;
    Faults faults;
    const char* error; // the report line after "failed: "
    std::function<bool(const ControllerState&)> done;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

Faults Ignoring(uint8_t code) {
    Faults f;
    f.ignored = {code};
    return f;
}

Faults AnsweringFE() {
    Faults f;
    f.answerFE = true;
    return f;
}

class KztrctlWallFailureTest : public KztrctlWallActionTest,
                               public ::testing::WithParamInterface<FailureCase> {};

TEST_P(KztrctlWallFailureTest, ExitsOneAndTheOthersAreStillDone) {
    const FailureCase& c = GetParam();
    ASSERT_TRUE(sim.setFaults(3, c.faults));
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    ASSERT_EQ(r.out.size(), 3) << r.out.join('\n').toStdString();
    EXPECT_TRUE(r.out[0].startsWith(kLabels[0] + ": ")) << r.out[0].toStdString();
    EXPECT_FALSE(r.out[0].contains("failed"));
    EXPECT_EQ(r.out[1], kLabels[1] + ": failed: " + c.error);
    EXPECT_TRUE(r.out[2].startsWith(kLabels[2] + ": ")) << r.out[2].toStdString();
    EXPECT_FALSE(r.out[2].contains("failed"));
    EXPECT_TRUE(r.err.contains(c.error)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(c.args[0] + " --all: 1 of 3 controllers failed: " + kLabels[1]))
        << r.err.toStdString();
    EXPECT_TRUE(c.done(*sim.state(5)));
    EXPECT_TRUE(c.done(*sim.state(6)));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, KztrctlWallFailureTest,
    ::testing::Values(
        FailureCase{"SetUnconfirmed",
                    {"set", "--all", "vr=75"},
                    Ignoring(0x00),
                    "COM3: the controller did not confirm the apply command (0x00)",
                    [](const ControllerState& s) { return s.config.VRHz() == 75; }},
        FailureCase{"SetRejected",
                    {"set", "--all", "hblank=300"},
                    AnsweringFE(),
                    "COM3: the controller did not confirm the apply command (0x00)",
                    [](const ControllerState& s) { return s.config.iHLimit() == 300; }},
        FailureCase{"PatternUnconfirmed",
                    {"pattern", "--all", "on"},
                    Ignoring(0x03),
                    "COM3: the controller did not confirm the test pattern command (0x03)",
                    [](const ControllerState& s) { return s.patternOn; }},
        FailureCase{"ResetUnconfirmed",
                    {"reset", "--all"},
                    Ignoring(0x01),
                    "COM3: the controller did not confirm the hardware reset (0x01)",
                    [](const ControllerState& s) { return s.resets == 1; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KztrctlWallActionTest, JsonHoldsEachControllerInBoxIdOrder) {
    ASSERT_TRUE(sim.setFaults(3, AnsweringFE()));
    const RunResult r = Run({"set", "--all", "vr=90", "hblank=300", "--json"});
    EXPECT_EQ(r.exitCode, 1);
    const QJsonObject doc = r.Json();
    EXPECT_EQ(doc["command"].toString(), "set");
    EXPECT_TRUE(doc["notes"].toArray().isEmpty());
    const QJsonArray controllers = doc["controllers"].toArray();
    ASSERT_EQ(controllers.size(), 3);

    // Each starts with its scan entry, as every document about a controller does.
    const QJsonArray scanned = Run({"scan", "--json"}).Json()["controllers"].toArray();
    ASSERT_EQ(scanned.size(), 3);
    for (qsizetype i = 0; i < 3; ++i) {
        const QJsonObject c = controllers[i].toObject();
        const QJsonObject entry = scanned[i].toObject();
        for (const QString& key : entry.keys())
            EXPECT_EQ(c[key], entry[key]) << i << " " << key.toStdString();
        EXPECT_EQ(c["com"].toInt(), kComs[i]);
        const bool failing = kComs[i] == 3;
        EXPECT_TRUE(c["ok"].isBool());
        EXPECT_EQ(c["ok"].toBool(), !failing) << kComs[i];
        if (failing) {
            EXPECT_EQ(c["error"].toString(),
                      "COM3: the controller did not confirm the apply command (0x00)");
            EXPECT_FALSE(c.contains("config"));
            EXPECT_FALSE(c.contains("result"));
            continue;
        }
        EXPECT_FALSE(c.contains("error"));
        EXPECT_EQ(c["result"].toString(),
                  "applied, vr: 60 Hz -> 90 Hz, hblank: 280 pixels -> 300 pixels");
        // The configuration read back, in the words of show --json.
        const QJsonObject shown =
            Run({"show", "--com", QString::number(kComs[i]), "--json"}).Json();
        EXPECT_EQ(c["config"].toObject(), shown["config"].toObject());
        EXPECT_EQ(c["resolution"], shown["resolution"]);
        EXPECT_EQ(c["config"].toObject()["vr"].toInt(), 90);
    }
    // The failure is told on stderr too, for scripts that watch it.
    EXPECT_TRUE(r.err.contains("set --all: 1 of 3 controllers failed: " + kLabels[1]))
        << r.err.toStdString();
}

TEST_F(KztrctlWallActionTest, JsonOfPatternAndResetNeedsNoConfiguration) {
    const RunResult r = Run({"pattern", "--all", "rgbw", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = r.Json();
    EXPECT_EQ(doc["command"].toString(), "pattern");
    const QJsonArray controllers = doc["controllers"].toArray();
    ASSERT_EQ(controllers.size(), 3);
    for (qsizetype i = 0; i < 3; ++i) {
        const QJsonObject c = controllers[i].toObject();
        EXPECT_EQ(c["boxId"].toInt(), i + 1);
        EXPECT_TRUE(c["ok"].toBool());
        EXPECT_EQ(c["result"].toString(), "RGBW pattern on");
        EXPECT_FALSE(c.contains("config"));
        EXPECT_TRUE(sim.state(kComs[i])->rgbwOn);
    }
}

TEST_F(KztrctlWallActionTest, NothingFoundFailsAsScanDoes) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    kztr::test::ScopedEnv nowhere{"RZ8_PORT_DIR", empty.path().toStdString()};
    const RunResult scan = Run({"scan"});
    ASSERT_EQ(scan.exitCode, 1);
    for (const QStringList& args :
         {QStringList{"set", "--all", "vr=75"}, QStringList{"pattern", "--all", "on", "--json"},
          QStringList{"reset", "--all"}}) {
        const RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.join('\n').toStdString();
        EXPECT_EQ(r.err, scan.err) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("no controller found on COM1")) << r.err.toStdString();
    }
    EXPECT_TRUE(sim.requests().empty());
    EXPECT_TRUE(LogLines().isEmpty());
}

} // namespace
