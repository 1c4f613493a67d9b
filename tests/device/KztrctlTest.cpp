// kztrctl as the operator runs it: a copy of the program in a scratch folder (so its
// LogoFiles/ is the test's), talking to simulated controllers on pseudo-terminals.
#include "CommandLine.h"
#include "EdidDecoder.h"
#include "KztrctlProgram.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <ostream>

using namespace std::chrono_literals;
using kztr::sim::Faults;
using kztr::test::RunResult;
using kztr::test::SimController;

namespace {

class KztrctlTest : public kztr::test::KztrctlProgramTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(
            StartWith({SimController(3, 2, 'C', 17), SimController(5, 1, 'D', 19)}));
    }
};

TEST_F(KztrctlTest, ScanListsControllersByBoxId) {
    const RunResult r = Run({"scan"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, (QStringList{"COM5  box ID 1  model D  ZEPH - T4/T5  firmware 19",
                                  "COM3  box ID 2  model C  ZEPH - T1/T3  firmware 17"}));
    // Configuration reads only: nothing for the daily log.
    EXPECT_TRUE(LogLines().isEmpty());
}

TEST_F(KztrctlTest, SetRateThenShowIt) {
    const RunResult set = Run({"set", "--com", "5", "vr=75"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_TRUE(set.out.contains("vr          75 Hz")) << set.out.join('\n').toStdString();
    EXPECT_EQ(sim.state(5)->config.VRHz(), 75);

    const RunResult show = Run({"show", "--com", "5"});
    ASSERT_EQ(show.exitCode, 0) << show.err.toStdString();
    EXPECT_EQ(show.out.value(0), "COM5  box ID 1  model D  ZEPH - T4/T5  firmware 19");
    EXPECT_TRUE(show.out.contains("vr          75 Hz")) << show.out.join('\n').toStdString();

    const QStringList log = LogLines();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].contains(": v3.11 (ID = 01) - ; VR = 75Hz; HLimited = "));
    EXPECT_TRUE(log[0].contains(" Cmd=0 DP="));
}

TEST_F(KztrctlTest, SetChangesOnlyTheNamedFields) {
    const int rateBefore = sim.state(3)->config.VRHz();
    const RunResult r = Run({"set", "--com", "3", "hblank=300", "audio=on", "hpol=-", "mode=7"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const RZ8Full c = sim.state(3)->config;
    EXPECT_EQ(c.iHLimit(), 300);
    EXPECT_EQ(c.audiobit(), 1u);
    EXPECT_EQ(c.hp(), 0u);
    EXPECT_EQ(c.hRZ8Data.I_output_mode, 7);
    EXPECT_EQ(c.VRHz(), rateBefore);
    EXPECT_TRUE(r.out.contains("resolution  5760 x 1080 (mode 7)"))
        << r.out.join('\n').toStdString();
}

TEST_F(KztrctlTest, PatternsAndBoxId) {
    EXPECT_EQ(Run({"pattern", "--com", "3", "on"}).exitCode, 0);
    EXPECT_TRUE(sim.state(3)->patternOn);
    EXPECT_EQ(Run({"pattern", "--com", "3", "off"}).exitCode, 0);
    EXPECT_FALSE(sim.state(3)->patternOn);
    EXPECT_EQ(Run({"pattern", "--com", "3", "rgbw"}).exitCode, 0);
    EXPECT_TRUE(sim.state(3)->rgbwOn);

    const RunResult r = Run({"boxid", "--com", "3", "7"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringList{"COM3: box ID 2 -> 7"});
    EXPECT_EQ(Run({"scan"}).out.value(1), "COM3  box ID 7  model C  ZEPH - T1/T3  firmware 17");
    EXPECT_EQ(LogLines().size(), 4);
}

TEST_F(KztrctlTest, EdidReport) {
    const RunResult r = Run({"edid", "--com", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("EDID: 256 bytes"));
    EXPECT_TRUE(r.out.value(2).startsWith("0000: 00 FF FF FF FF FF FF 00 "));
    EXPECT_EQ(
        r.out.filter(QRegularExpression("^[0-9A-F]{4}: ([0-9A-F]{2} ){15}[0-9A-F]{2}$")).size(),
        16);
    EXPECT_TRUE(r.out.contains("header         ok"));
    EXPECT_EQ(r.out.filter(QRegularExpression("^checksum")).size(), 2);
    EXPECT_EQ(r.out.filter(QRegularExpression(": ok$")).size(), 2);
    EXPECT_TRUE(r.out.contains("sync polarity  H/V Polarity:+/+ (byte 71 = 1E)"));

    // Then what the dumped bytes say about the monitor.
    QByteArray bytes;
    for (const QString& line :
         r.out.filter(QRegularExpression("^[0-9A-F]{4}: ([0-9A-F]{2} ){15}[0-9A-F]{2}$")))
        bytes += QByteArray::fromHex(line.mid(6).toLatin1());
    ASSERT_EQ(bytes.size(), 256);
    const qsizetype decoded = r.out.indexOf(QRegularExpression("sync polarity .*")) + 1;
    EXPECT_EQ(r.out.mid(decoded),
              DescribeEdid(DecodeEdid(reinterpret_cast<const uint8_t*>(bytes.constData()), 256)));
    EXPECT_TRUE(r.out.contains("monitor name   RZ8 SIM")) << r.out.join('\n').toStdString();
}

TEST_F(KztrctlTest, ControllerFailuresExitOne) {
    const RunResult missing = Run({"show", "--com", "7"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("COM7: cannot open the port")) << missing.err.toStdString();
    EXPECT_TRUE(missing.out.isEmpty());

    Faults silent;
    silent.silent = true;
    ASSERT_TRUE(sim.setFaults(3, silent));
    const RunResult mute = Run({"pattern", "--com", "3", "on"});
    EXPECT_EQ(mute.exitCode, 1);
    EXPECT_TRUE(mute.err.contains("COM3: no controller answered")) << mute.err.toStdString();
}

struct UsageCase {
    const char* name;
    QStringList args;
    const char* message;
};

// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.name;
}

class KztrctlUsageTest : public KztrctlTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(KztrctlUsageTest, ExitsTwoWithoutTouchingAController) {
    const UsageCase& c = GetParam();
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    EXPECT_TRUE(sim.requests().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, KztrctlUsageTest,
    ::testing::Values(
        UsageCase{"NoCommand", {}, "no command given"},
        UsageCase{"UnknownCommand", {"frob"}, "unknown command \"frob\""},
        UsageCase{"ShowWithoutPort", {"show"}, "show needs --com N"},
        UsageCase{"PortZero", {"show", "--com", "0"}, "--com needs a COM number from 1 to 255"},
        UsageCase{"PortNotANumber", {"show", "--com=x"}, "not \"x\""},
        UsageCase{"PortMissing", {"show", "--com"}, "--com needs a COM number"},
        UsageCase{"UnknownOption", {"show", "--com", "5", "--fast"}, "unknown option \"--fast\""},
        UsageCase{"UnknownField", {"set", "--com", "5", "colour=red"}, "unknown field \"colour\""},
        UsageCase{"RateTooHigh",
                  {"set", "--com", "5", "vr=121"},
                  "vr must be a whole number from 21 to 120"},
        UsageCase{"RateNotANumber", {"set", "--com", "5", "vr=fast"}, "not \"fast\""},
        UsageCase{"BlankTooLow", {"set", "--com", "5", "hblank=39"}, "from 40 to 1023"},
        UsageCase{"BadChoice", {"set", "--com", "5", "depth=12"}, "depth must be one of 8, 10"},
        UsageCase{"OneBadAmongGood", {"set", "--com", "5", "vr=60", "vo=200"}, "vo must be"},
        UsageCase{"NotAnAssignment", {"set", "--com", "5", "vr"}, "\"vr\" is not field=value"},
        UsageCase{"SetWithoutFields", {"set", "--com", "5"}, "set needs at least one field=value"},
        UsageCase{"UnknownPattern", {"pattern", "--com", "5", "blink"}, "on, rgbw, off"},
        UsageCase{
            "BoxIdNoId", {"boxid", "--com", "5", "255"}, "box ID must be a number from 1 to 254"},
        UsageCase{"BoxIdMissing", {"boxid", "--com", "5"}, "boxid needs the new box ID"},
        UsageCase{"ScanWithPort", {"scan", "--com", "3"}, "scan takes no --com"},
        UsageCase{"ShowWithExtra", {"show", "--com", "5", "vr=60"}, "show takes no arguments"},
        UsageCase{"JsonOnSet",
                  {"set", "--com", "5", "vr=60", "--json"},
                  "--json goes with scan, show and edid"},
        UsageCase{"DryRunOnSet",
                  {"set", "--com", "5", "vr=60", "--dry-run"},
                  "--dry-run goes with load only"},
        UsageCase{"ForceOnSave", {"save", "wall.json", "--force"}, "--force goes with load only"},
        UsageCase{"SaveWithoutFile", {"save"}, "save needs one file name: kztrctl save [--com N]"},
        UsageCase{"SaveTwoFiles", {"save", "a.json", "b.json"}, "save needs one file name"},
        UsageCase{"LoadWithPort", {"load", "--com", "5", "wall.json"}, "load takes no --com"},
        UsageCase{"LoadWithoutFile",
                  {"load", "--dry-run"},
                  "load needs one file name: kztrctl load FILE [--dry-run] [--force]"}),
    [](const auto& info) { return std::string(info.param.name); });

// --all: every controller instead of one; a mistake is still refused before any port.
INSTANTIATE_TEST_SUITE_P(
    AllMistakes, KztrctlUsageTest,
    ::testing::Values(
        UsageCase{"AllWithPort",
                  {"set", "--all", "--com", "5", "vr=60"},
                  "set takes either --com N or --all, not both"},
        UsageCase{"PortThenAll",
                  {"reset", "--com=3", "--all"},
                  "reset takes either --com N or --all, not both"},
        UsageCase{"PatternWithoutPortOrAll", {"pattern", "on"}, "pattern needs --com N or --all"},
        UsageCase{"AllOnShow", {"show", "--all"}, "--all goes with set, pattern and reset"},
        UsageCase{"AllOnEdid", {"edid", "--all"}, "--all goes with set, pattern and reset"},
        UsageCase{"AllOnBoxId", {"boxid", "--all", "3"}, "--all goes with set, pattern and reset"},
        UsageCase{"AllOnScan", {"scan", "--all"}, "--all goes with set, pattern and reset"},
        UsageCase{
            "AllOnSave", {"save", "--all", "w.json"}, "--all goes with set, pattern and reset"},
        UsageCase{
            "AllOnLoad", {"load", "--all", "w.json"}, "--all goes with set, pattern and reset"},
        UsageCase{"SetAllWithoutFields", {"set", "--all"}, "set needs at least one field=value"},
        UsageCase{"SetAllUnknownField", {"set", "--all", "colour=red"}, "unknown field \"colour\""},
        UsageCase{"SetAllRateTooHigh", {"set", "--all", "vr=121"}, "vr must be a whole number"},
        UsageCase{"PatternAllWithoutMode", {"pattern", "--all"}, "pattern needs one of on, rgbw"},
        UsageCase{"ResetAllWithExtra", {"reset", "--all", "now"}, "reset takes no arguments"},
        UsageCase{"DryRunOnSetAll",
                  {"set", "--all", "vr=60", "--dry-run"},
                  "--dry-run goes with load only"}),
    [](const auto& info) { return std::string(info.param.name); });

// edid --file instead of --com; a mistake is refused before the file is read.
INSTANTIATE_TEST_SUITE_P(
    EdidFileMistakes, KztrctlUsageTest,
    ::testing::Values(
        UsageCase{"EdidWithoutPortOrFile", {"edid"}, "edid needs --com N or --file PATH"},
        UsageCase{"FileAndPort",
                  {"edid", "--file", "monitor.bin", "--com", "5"},
                  "edid takes either --com N or --file PATH, not both"},
        UsageCase{"FileWithoutName", {"edid", "--file"}, "--file needs a file name"},
        UsageCase{"FileNameEmpty", {"edid", "--file="}, "the file name is empty"},
        UsageCase{"FileWithExtra", {"edid", "--file", "a.bin", "b.bin"}, "edid takes no arguments"},
        UsageCase{"FileOnShow", {"show", "--file", "monitor.bin"}, "--file goes with edid only"},
        UsageCase{
            "FileOnLoad", {"load", "w.json", "--file", "a.bin"}, "--file goes with edid only"},
        UsageCase{"FileWithAll",
                  {"edid", "--file", "a.bin", "--all"},
                  "--all goes with set, pattern and reset"}),
    [](const auto& info) { return std::string(info.param.name); });

// What an accepted --all command line asks for.
struct AllParseCase {
    const char* name;
    QStringList args;
    CtlCommand command;
    std::vector<std::pair<QString, QString>> assignments;
    QString pattern;
    bool json;
};

void PrintTo(const AllParseCase& c, std::ostream* os) {
    *os << c.name;
}

class KztrctlAllArguments : public ::testing::TestWithParam<AllParseCase> {};

TEST_P(KztrctlAllArguments, AskForEveryControllerWithoutAPort) {
    const AllParseCase& c = GetParam();
    const CtlParseResult p = ParseCtlArguments(c.args);
    ASSERT_TRUE(p.request) << p.error.toStdString();
    EXPECT_TRUE(p.error.isEmpty());
    EXPECT_TRUE(p.request->all);
    EXPECT_EQ(p.request->com, 0);
    EXPECT_EQ(p.request->command, c.command);
    EXPECT_EQ(p.request->assignments, c.assignments);
    EXPECT_EQ(p.request->pattern, c.pattern);
    EXPECT_EQ(p.request->json, c.json);
    EXPECT_FALSE(p.request->dryRun);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, KztrctlAllArguments,
    ::testing::Values(
        AllParseCase{"SetFields",
                     {"set", "--all", "VR=75", "audio=on"},
                     CtlCommand::Set,
                     {{"vr", "75"}, {"audio", "on"}},
                     {},
                     false},
        AllParseCase{
            "SetAllLast", {"set", "hpol=-", "--all"}, CtlCommand::Set, {{"hpol", "-"}}, {}, false},
        AllParseCase{"SetJson",
                     {"set", "--json", "--all", "vr=60"},
                     CtlCommand::Set,
                     {{"vr", "60"}},
                     {},
                     true},
        AllParseCase{"PatternOn", {"pattern", "--all", "on"}, CtlCommand::Pattern, {}, "on", false},
        AllParseCase{"PatternRgbwFirst",
                     {"pattern", "RGBW", "--all"},
                     CtlCommand::Pattern,
                     {},
                     "rgbw",
                     false},
        AllParseCase{"PatternOffJson",
                     {"pattern", "--all", "off", "--json"},
                     CtlCommand::Pattern,
                     {},
                     "off",
                     true},
        AllParseCase{"Reset", {"reset", "--all"}, CtlCommand::Reset, {}, {}, false},
        AllParseCase{"ResetJson", {"reset", "--all", "--json"}, CtlCommand::Reset, {}, {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KztrctlArguments, OneControllerStaysWithoutAll) {
    for (const QStringList& args :
         {QStringList{"set", "--com", "5", "vr=60"}, QStringList{"pattern", "--com", "5", "on"},
          QStringList{"reset", "--com", "5"}}) {
        const CtlParseResult p = ParseCtlArguments(args);
        ASSERT_TRUE(p.request) << p.error.toStdString();
        EXPECT_FALSE(p.request->all) << args.join(' ').toStdString();
        EXPECT_EQ(p.request->com, 5);
    }
    // --json belongs to the wall-wide report, not to one controller's set.
    EXPECT_FALSE(ParseCtlArguments({"set", "--com", "5", "vr=60", "--json"}).request);
}

TEST_F(KztrctlTest, HelpNamesEveryCommandAndField) {
    const RunResult r = Run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    const QString text = r.out.join('\n');
    const char* const words[] = {"scan",
                                 "show --com N",
                                 "set --com N field=value",
                                 "edid --com N",
                                 "edid --file PATH",
                                 "pattern --com N on|rgbw|off",
                                 "boxid --com N ID",
                                 "reset --com N",
                                 "save [--com N] FILE",
                                 "load FILE [--dry-run] [--force]",
                                 "--json",
                                 "--dry-run",
                                 "--force",
                                 "vr",
                                 "hblank",
                                 "vblank",
                                 "hpol",
                                 "depth",
                                 "audio",
                                 "edid",
                                 "Exit status",
                                 "LogoFiles"};
    for (const char* word : words)
        EXPECT_TRUE(text.contains(QLatin1String(word))) << word;
    EXPECT_TRUE(sim.requests().empty());
}

TEST_F(KztrctlTest, HelpNamesTheWallWideForms) {
    const RunResult r = Run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    const QString text = r.out.join('\n');
    for (const char* words : {"set --all field=value", "pattern --all on|rgbw|off", "reset --all",
                              "  --all  ", "all at once"})
        EXPECT_TRUE(text.contains(QLatin1String(words))) << words;
    EXPECT_TRUE(sim.requests().empty());
}

TEST_F(KztrctlTest, ResetWaitsForTheControllerToRestart) {
    const auto start = std::chrono::steady_clock::now();
    const RunResult r = Run({"reset", "--com", "5"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(sim.state(5)->resets, 1);
}

TEST(KztrctlArguments, ParsedRequests) {
    CtlParseResult p = ParseCtlArguments({"set", "--com=5", "VR=75", "hpol=+"});
    ASSERT_TRUE(p.request) << p.error.toStdString();
    EXPECT_EQ(p.request->command, CtlCommand::Set);
    EXPECT_EQ(p.request->com, 5);
    ASSERT_EQ(p.request->assignments.size(), 2u);
    EXPECT_EQ(p.request->assignments[0].first, "vr");
    EXPECT_EQ(p.request->assignments[1].second, "+");

    p = ParseCtlArguments({"pattern", "RGBW", "--com", "3"});
    ASSERT_TRUE(p.request);
    EXPECT_EQ(p.request->pattern, "rgbw");

    p = ParseCtlArguments({"boxid", "--com", "3", "12"});
    ASSERT_TRUE(p.request);
    EXPECT_EQ(p.request->boxId, 12);

    p = ParseCtlArguments({"load", "--dry-run", "wall.json", "--force"});
    ASSERT_TRUE(p.request) << p.error.toStdString();
    EXPECT_EQ(p.request->command, CtlCommand::Load);
    EXPECT_EQ(p.request->file, "wall.json");
    EXPECT_TRUE(p.request->dryRun);
    EXPECT_TRUE(p.request->force);

    p = ParseCtlArguments({"save", "--com", "5", "one.json"});
    ASSERT_TRUE(p.request) << p.error.toStdString();
    EXPECT_EQ(p.request->command, CtlCommand::Save);
    EXPECT_EQ(p.request->com, 5);
    EXPECT_EQ(p.request->file, "one.json");
    EXPECT_FALSE(p.request->json);

    p = ParseCtlArguments({"edid", "--json", "--com", "3"});
    ASSERT_TRUE(p.request) << p.error.toStdString();
    EXPECT_TRUE(p.request->json);

    p = ParseCtlArguments({"show", "--help"});
    ASSERT_TRUE(p.request);
    EXPECT_EQ(p.request->command, CtlCommand::Help);
}

} // namespace
