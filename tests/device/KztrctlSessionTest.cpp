// What kztrctl tells the operator: why a port did not open, which ports a scan passed
// over, which command a controller left unconfirmed, and the field limits. Scripted
// ports in virtual time, or real files under RZ8_PORT_DIR for the open failures.
#include "CommandLine.h"
#include "ConfigFields.h"
#include "CtlSession.h"
#include "DeviceLinkFixture.h"
#include "EdidBlock.h"
#include "ScopedEnv.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

namespace kztr::test {
namespace {

using Command = FakeSerialLine;

class KztrctlSessionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(logDir.isValid()); }

    QTemporaryDir logDir;
    VirtualClock clock;
    FakeSerialBus bus{clock};
    CtlSession session{logDir.path() + QStringLiteral("/LogoFiles/"), clock};
};

TEST_F(KztrctlSessionTest, ScanNamesAPortThatOpenedButStayedSilent) {
    bus.line(2).onWrite(Command::command(0xFF), at(0ms, replyFrame(0xFF, 'C', 4)));
    bus.line(3); // opens, never answers
    QStringList notes;
    const std::vector<FoundController> found = session.Scan(1, 4, &notes);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].com, 2);
    EXPECT_EQ(notes, QStringList{"COM3: the port opened but no controller answered"});
}

TEST(KztrctlControllerLine, NoIdIsNotABoxNumber) {
    EXPECT_EQ(CtlSession::ControllerLine({4, 0xFF, 'H', 3}),
              "COM4  box ID none  model H  ZEPH - T5  firmware 3");
    EXPECT_EQ(CtlSession::ControllerLine({4, 254, 'K', 3}),
              "COM4  box ID 254  model K  ZEPH - T2Clone  firmware 3");
}

TEST_F(KztrctlSessionTest, UnconfirmedCommandIsNamed) {
    bus.line(3).onWrite(Command::command(0xFF), at(0ms, replyFrame(0xFF, 'D', 2)));
    QString error;
    ASSERT_TRUE(session.Connect(3, error)) << error.toStdString();
    EXPECT_FALSE(session.ApplyCurrent(error));
    EXPECT_EQ(error, "COM3: the controller did not confirm the apply command (0x00)");
    EXPECT_FALSE(session.Pattern("rgbw", error));
    EXPECT_EQ(error, "COM3: the controller did not confirm the RGBW pattern command (0x0B)");
}

TEST_F(KztrctlSessionTest, PixelCountQueriesLeaveTheReadConfigurationAsItWas) {
    // A controller at 20 Hz (stored 0) on the user-defined position.
    Bytes reply = replyFrame(0xFF, 'D', 2);
    reply[5] = 0;
    reply[8] = 9;
    FakeSerialLine& port = bus.line(3);
    port.onWrite(Command::command(0xFF), at(0ms, reply));
    port.onWrite(Command::command(0x0E), at(0ms, replyFrame(0x0E, 'D', 2, 2000)));
    port.onWrite(Command::command(0x0F), at(0ms, replyFrame(0x0F, 'D', 2, 1000)));
    QString error;
    ASSERT_TRUE(session.Connect(3, error)) << error.toStdString();
    ASSERT_TRUE(session.ReadPixelCounts(error)) << error.toStdString();
    const QStringList shown = session.Describe();
    EXPECT_TRUE(shown.contains("vr          20 Hz")) << shown.join('\n').toStdString();
    EXPECT_TRUE(shown.contains("resolution  2000 * 1000 (mode 9)"))
        << shown.join('\n').toStdString();
}

TEST_F(KztrctlSessionTest, EdidDumpOffsetsAreUpperCaseHexLikeTheBytes) {
    FakeSerialLine& port = bus.line(3);
    port.onWrite(Command::command(0xFF), at(0ms, replyFrame(0xFF, 'C', 2)));
    port.onWrite(Command::command(0x27), at(0ms, concat(replyFrame(0x27), makeEdidBlock(0x1A))));
    QString error;
    ASSERT_TRUE(session.Connect(3, error)) << error.toStdString();
    QStringList report;
    ASSERT_TRUE(session.ReadEdid(report, error)) << error.toStdString();
    EXPECT_EQ(report.filter(QRegularExpression("^00A0: ")).size(), 1)
        << report.join('\n').toStdString();
    EXPECT_TRUE(report.contains("sync polarity  H/V Polarity:+/- (byte 71 = 1A)"));
}

// Open failures on real paths: the reason reaches the operator, not only the trace.
struct OpenCase {
    const char* name;
    bool makeFile; // a plain file where the port should be
    const char* reason;
};

// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class KztrctlOpenTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(KztrctlOpenTest, SaysWhichPathAndWhy) {
    const OpenCase& c = GetParam();
    QTemporaryDir ports;
    ASSERT_TRUE(ports.isValid());
    ScopedEnv env("RZ8_PORT_DIR", ports.path().toStdString());
    const QString path = ports.path() + QStringLiteral("/COM7");
    if (c.makeFile) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    CtlSession session(ports.path() + QStringLiteral("/LogoFiles/"));
    QString error;
    EXPECT_FALSE(session.Connect(7, error));
    EXPECT_TRUE(error.startsWith("COM7: cannot open the port " + path + ": "))
        << error.toStdString();
    EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();

    QStringList notes;
    EXPECT_TRUE(session.Scan(7, 7, &notes).empty());
    // A port that does not exist is the normal case of a scan and is not reported.
    EXPECT_EQ(notes.size(), c.makeFile ? 1 : 0) << notes.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Ports, KztrctlOpenTest,
                         ::testing::Values(OpenCase{"Missing", false, "No such file"},
                                           OpenCase{"NotATerminal", true, "not a serial device"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Operator mistakes in set and pattern: refused with a message that shows the way.
struct MistakeCase {
    const char* name;
    QStringList args;
    const char* message;
};

// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const MistakeCase& c, std::ostream* os) {
    *os << c.name;
}

class KztrctlMistakeTest : public ::testing::TestWithParam<MistakeCase> {};

TEST_P(KztrctlMistakeTest, IsRefusedWithAClearMessage) {
    const MistakeCase& c = GetParam();
    const CtlParseResult p = ParseCtlArguments(c.args);
    EXPECT_FALSE(p.request);
    EXPECT_EQ(p.error, QString::fromUtf8(c.message));
}

INSTANTIATE_TEST_SUITE_P(
    Args, KztrctlMistakeTest,
    ::testing::Values(
        // 20 Hz is stored as 0, and a send turns 0 into 60 Hz.
        MistakeCase{"RateThatWouldBecomeSixty",
                    {"set", "--com", "5", "vr=20"},
                    "vr must be a whole number from 21 to 120, not \"20\""},
        MistakeCase{"PolarityWord",
                    {"set", "--com", "5", "hpol=up"},
                    "hpol must be one of + (or positive, pos), - (or negative, neg); not \"up\""},
        MistakeCase{"EdidVersionIndex",
                    {"set", "--com", "5", "edid=3"},
                    "edid must be one of v1.1 (or 1.1), v1.2 (or 1.2), v1.3 (or 1.3), v2.0 (or "
                    "2.0); not \"3\""},
        MistakeCase{"UnknownPattern",
                    {"pattern", "--com", "5", "blink"},
                    "pattern needs one of on, rgbw, off; not \"blink\""},
        MistakeCase{
            "PatternMissing", {"pattern", "--com", "5"}, "pattern needs one of on, rgbw, off"},
        MistakeCase{"BoxIdTwice",
                    {"boxid", "--com", "5", "1", "2"},
                    "boxid needs the new box ID (one number)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KztrctlFields, LowestRateThatSurvivesASendIsAccepted) {
    RZ8Full r{};
    QString error;
    ASSERT_TRUE(ApplyConfigAssignment(r, "vr", "21", error)) << error.toStdString();
    EXPECT_EQ(r.VRHz(), 21);
    ASSERT_TRUE(ApplyConfigAssignment(r, "hpol", "Negative", error)) << error.toStdString();
    EXPECT_EQ(r.hp(), 0u);
}

} // namespace
} // namespace kztr::test
