// kztrctl's wall-wide work in this process: every controller on a thread and a session of
// its own, against simulated controllers on pseudo-terminals, with the protocol's pauses
// skipped. What each controller is sent, the daily log and the trace read as if the
// controllers had been done one after another in box-ID order.
#include "CommandLine.h"
#include "CtlSession.h"
#include "SimulatedPortsTest.h"
#include "TraceCapture.h"
#include "WallAction.h"
#include "WallFile.h"
#include "WallLoad.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <ostream>
#include <thread>

using namespace std::chrono_literals;
using kztr::sim::ControllerState;
using kztr::test::SimController;
using kztr::test::TraceCapture;

namespace {

// Real time, except that each thread's sleeps return at once and move that thread's own
// time on: a pause skipped on one controller's thread must not make another thread's
// reply wait run out. Before skipping, the controllers are given the time to answer.
class ThreadSkippingClock final : public kztr::Clock {
public:
    explicit ThreadSkippingClock(std::function<void()> settle) : m_fnSettle(std::move(settle)) {}
    time_point now() const override {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_skipped.find(std::this_thread::get_id());
        return std::chrono::steady_clock::now() +
               (it == m_skipped.end() ? std::chrono::milliseconds(0) : it->second);
    }
    void sleepFor(std::chrono::milliseconds d) override {
        m_fnSettle();
        std::lock_guard<std::mutex> lock(m_mutex);
        if (d.count() > 0) {
            m_skipped[std::this_thread::get_id()] += d;
            m_total += d;
        }
    }
    // Skipped by every thread together.
    std::chrono::milliseconds total() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_total;
    }
    // The threads that paused, but for the one given.
    size_t threadsBesides(std::thread::id id) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_skipped.size() - m_skipped.count(id);
    }

private:
    mutable std::mutex m_mutex;
    std::map<std::thread::id, std::chrono::milliseconds> m_skipped;
    std::chrono::milliseconds m_total{0};
    std::function<void()> m_fnSettle;
};

class KztrctlSideBySideTest : public kztr::test::SimulatedPortsTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(logDir.isValid());
        // Box-ID order is not COM order.
        ASSERT_NO_FATAL_FAILURE(
            StartSimulator({SimController(2, 3, 'D', 4), SimController(4, 1, 'C', 17),
                            SimController(7, 4, 'H', 2), SimController(9, 2, 'D', 19)}));
        found = session.Scan(kCtlFirstCom, kCtlLastScanCom);
        ASSERT_EQ(found.size(), 4u);
    }

    static CtlRequest Request(const QStringList& args) {
        const CtlParseResult p = ParseCtlArguments(args);
        EXPECT_TRUE(p.request) << p.error.toStdString();
        return p.request.value_or(CtlRequest{});
    }

    // Today's daily log, each line as its box ID and command code.
    QStringList LoggedCommands() const {
        QFile f(QDir(LogPath()).filePath(QDate::currentDate().toString("yyyy.MM.dd") + ".txt"));
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList out;
        static const QRegularExpression idAndCode("\\(ID = (\\d+)\\).* Cmd=(\\d+) ");
        for (const QString& line :
             QString::fromUtf8(f.readAll()).split("\r\n", Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch m = idAndCode.match(line);
            out << (m.hasMatch() ? m.captured(1) + "/" + m.captured(2) : line);
        }
        return out;
    }

    QString LogPath() const { return logDir.path() + QStringLiteral("/LogoFiles/"); }

    // Box-ID order, as the scan gives them.
    static constexpr int kComs[] = {4, 9, 2, 7};

    QTemporaryDir logDir;
    ThreadSkippingClock clock{[this] { sim.waitSettled(2s); }};
    CtlSession session{LogPath(), clock};
    std::vector<FoundController> found;
};

struct SideBySideCase {
    const char* name;
    QStringList args;
    const char* result;
    std::chrono::milliseconds pauses; // of one controller
    std::function<bool(const ControllerState&)> done;
    QStringList logged;  // box ID / command code of each daily-log line
    bool sameTraceAgain; // a second, one-by-one run reads what the first one read
};

void PrintTo(const SideBySideCase& c, std::ostream* os) {
    *os << c.name;
}

class KztrctlSideBySideCommandTest : public KztrctlSideBySideTest,
                                     public ::testing::WithParamInterface<SideBySideCase> {};

TEST_P(KztrctlSideBySideCommandTest, EveryControllerIsDoneAsAloneAndReportedInBoxIdOrder) {
    const SideBySideCase& c = GetParam();
    const CtlRequest request = Request(c.args);
    for (size_t i = 0; i < found.size(); ++i)
        ASSERT_EQ(found[i].com, kComs[i]);
    sim.clearRequests();

    std::vector<ControllerOutcome> outcomes;
    std::vector<kztr::test::TraceLine> together;
    {
        TraceCapture trace;
        outcomes = ActOnControllers(session, found, OrderOf(request));
        together = trace.lines();
    }
    ASSERT_EQ(outcomes.size(), found.size());
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const ControllerOutcome& o = outcomes[i];
        EXPECT_EQ(o.controller.com, found[i].com);
        EXPECT_EQ(o.controller.boxId, found[i].boxId);
        EXPECT_TRUE(o.ok) << o.error.toStdString();
        EXPECT_EQ(o.result, QString::fromUtf8(c.result)) << "COM" << o.controller.com;
        EXPECT_EQ(o.readBack.has_value(), request.command == CtlCommand::Set);
        if (o.readBack) {
            const RZ8Data held = sim.state(o.controller.com)->config.hRZ8Data;
            EXPECT_EQ(std::memcmp(&o.readBack->config.hRZ8Data, &held, sizeof held), 0);
        }
        EXPECT_TRUE(c.done(*sim.state(o.controller.com))) << "COM" << o.controller.com;
    }
    // Each controller paused as long as alone (a port that wakes its waiter for nothing
    // costs a millisecond now and then).
    const auto pauses = c.pauses * int(found.size());
    EXPECT_GE(clock.total(), pauses);
    EXPECT_LT(clock.total(), pauses + 100ms);
    // Each on a thread of its own.
    if (c.pauses > 0ms) {
        EXPECT_EQ(clock.threadsBesides(std::this_thread::get_id()), found.size());
    }
    EXPECT_EQ(LoggedCommands(), c.logged);

    if (!c.sameTraceAgain) return;
    // One after another on one session: the same frames, the same trace.
    std::vector<std::vector<std::vector<uint8_t>>> sent;
    for (int com : kComs) {
        std::vector<std::vector<uint8_t>> bytes;
        for (const kztr::sim::Request& r : sim.requests(com))
            bytes.push_back(r.bytes);
        sent.push_back(bytes);
    }
    sim.clearRequests();
    TraceCapture trace;
    for (const FoundController& f : found) {
        QString error;
        ASSERT_TRUE(session.Connect(f.com, error) && ActOnConnected(session, request, error))
            << error.toStdString();
    }
    EXPECT_EQ(trace.lines(), together);
    for (size_t i = 0; i < std::size(kComs); ++i) {
        std::vector<std::vector<uint8_t>> bytes;
        for (const kztr::sim::Request& r : sim.requests(kComs[i]))
            bytes.push_back(r.bytes);
        EXPECT_EQ(bytes, sent[i]) << "COM" << kComs[i];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, KztrctlSideBySideCommandTest,
    ::testing::Values(SideBySideCase{"Set",
                                     {"set", "--all", "vr=75", "audio=on"},
                                     "applied, vr: 60 Hz -> 75 Hz, audio: off -> on",
                                     1000ms,
                                     [](const ControllerState& s) {
                                         return s.config.VRHz() == 75 && s.config.audiobit() == 1;
                                     },
                                     {"01/0", "02/0", "03/0", "04/0"},
                                     false},
                      SideBySideCase{"Pattern",
                                     {"pattern", "--all", "rgbw"},
                                     "RGBW pattern on",
                                     0ms,
                                     [](const ControllerState& s) { return s.rgbwOn; },
                                     {"01/11", "02/11", "03/11", "04/11"},
                                     true},
                      SideBySideCase{"Reset",
                                     {"reset", "--all"},
                                     "controller reset",
                                     10000ms,
                                     [](const ControllerState& s) { return s.resets == 1; },
                                     {"01/1", "02/1", "03/1", "04/1"},
                                     true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KztrctlSideBySideTest, AControllerThatRefusesFailsAloneAndTheOthersAreWritten) {
    kztr::sim::Faults refusing;
    refusing.answerFE = true;
    ASSERT_TRUE(sim.setFaults(9, refusing)); // box 2
    const std::vector<ControllerOutcome> outcomes =
        ActOnControllers(session, found, OrderOf(Request({"set", "--all", "hblank=300"})));
    ASSERT_EQ(outcomes.size(), 4u);
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const int com = outcomes[i].controller.com;
        EXPECT_EQ(com, kComs[i]);
        if (com == 9) {
            EXPECT_FALSE(outcomes[i].ok);
            EXPECT_EQ(outcomes[i].error,
                      "COM9: the controller did not confirm the apply command (0x00)");
            EXPECT_FALSE(outcomes[i].readBack);
            continue;
        }
        EXPECT_TRUE(outcomes[i].ok) << outcomes[i].error.toStdString();
        EXPECT_EQ(sim.state(com)->config.iHLimit(), 300) << "COM" << com;
    }
    // The refused one sent its command all the same, in its turn.
    EXPECT_EQ(LoggedCommands(), (QStringList{"01/0", "02/0", "03/0", "04/0"}));
}

TEST_F(KztrctlSideBySideTest, LoadWritesEveryControllerOfTheFileAndReportsInBoxIdOrder) {
    // Boxes 1, 2 and 4 in the file; box 3 is left alone. Rates set accepts.
    QByteArray text = R"({"format": "kztrctl-wall", "version": 1, "controllers": {)";
    const std::pair<int, const char*> entries[] = {{1, "C"}, {2, "D"}, {4, "H"}};
    for (const auto& [box, model] : entries) {
        if (box != 1) text += ",";
        text += QStringLiteral(R"("%1": {"model": "%2", "config": {"mode": 0, "vr": %3,
            "hblank": 280, "ho": 10, "hsw": 10, "vblank": 45, "vo": 2, "vsw": 2, "hpol": "+",
            "vpol": "+", "depth": "8", "audio": "off", "edid": "v1.1"}})")
                    .arg(box)
                    .arg(model)
                    .arg(50 + box)
                    .toUtf8();
    }
    text += "}}";
    const WallRead wall = ParseWall(text);
    ASSERT_TRUE(wall.errors.isEmpty()) << wall.errors.join('\n').toStdString();
    const RZ8Full boxThree = sim.state(2)->config;

    ::testing::internal::CaptureStdout();
    const int status = LoadWall(session, wall.entries, {});
    const QStringList out = QString::fromStdString(::testing::internal::GetCapturedStdout())
                                .split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(status, kCtlExitOk);
    EXPECT_EQ(out, (QStringList{"box ID 1 (COM4, model C): writing",
                                "  vr: 60 Hz -> 51 Hz",
                                "  ho: 0 -> 10",
                                "  hsw: 0 -> 10",
                                "  vo: 0 -> 2",
                                "  vsw: 0 -> 2",
                                "  read back: as written",
                                "box ID 2 (COM9, model D): writing",
                                "  vr: 60 Hz -> 52 Hz",
                                "  ho: 0 -> 10",
                                "  hsw: 0 -> 10",
                                "  vo: 0 -> 2",
                                "  vsw: 0 -> 2",
                                "  read back: as written",
                                "box ID 4 (COM7, model H): writing",
                                "  vr: 60 Hz -> 54 Hz",
                                "  ho: 0 -> 10",
                                "  hsw: 0 -> 10",
                                "  vo: 0 -> 2",
                                "  vsw: 0 -> 2",
                                "  read back: as written",
                                "COM2  box ID 3  model D  ZEPH - T4/T5  firmware 4: not in the "
                                "file, left alone"}));
    for (const auto& [com, rate] : {std::pair{4, 51}, std::pair{9, 52}, std::pair{7, 54}})
        EXPECT_EQ(sim.state(com)->config.VRHz(), rate) << "COM" << com;
    EXPECT_EQ(std::memcmp(&sim.state(2)->config, &boxThree, sizeof boxThree), 0);
    EXPECT_EQ(LoggedCommands(), (QStringList{"01/0", "02/0", "04/0"}));
}

} // namespace
