// Work on every controller at once, on scripted ports in virtual time: each controller
// gets exactly its own frames, the sends of a round go out (and are logged) in box-ID
// order, each controller's trace lines stay together in box-ID order, what the replies
// told stays with each controller's own exchange, and a controller that fails holds
// nobody up.
#include "DeviceLinkFixture.h"
#include "SideBySide.h"
#include "TraceCapture.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kztr::test {
namespace {

constexpr int kComs[] = {3, 5, 7};

class WallExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_logDir.isValid());
        SetLogDateTimeSource([] { return QDateTime(QDate(2026, 12, 9), QTime(23, 15, 0)); });
        link.m_strLogDir = m_logDir.path() + QStringLiteral("/LogoFiles/");
        // Box IDs 1..3 in link order, as the connect leaves them.
        for (int i = 0; i < 3; ++i) {
            link.ExchangeOf(i).SetBoxMode(BoxModeFromModelLetter('D'));
            bus.line(kComs[i]);
            ASSERT_EQ(link.m_hRZ8Dev[i].OpenPort(kComs[i], 460800), 1);
            link.m_hRZ8Dev[i].SetBoxId(uint8_t(i + 1));
            link.m_hRZ8Dev[i].SetComNumber(uint8_t(kComs[i]));
        }
        link.m_byDevCount = 3;
        link.SetCurrentDevice(0);
    }
    void TearDown() override { SetLogDateTimeSource({}); }

    // Every command echoed after delay; the configuration request answered likewise.
    void Echoing(int com, std::chrono::milliseconds delay, uint8_t boxId, uint16_t param = 0) {
        bus.line(com).onWrite(FakeSerialLine::any(), [=](const Bytes& written) {
            const uint8_t code = written.size() == 1 ? RZ8_BOOTCDE_GET_OLDDATA : written[0];
            return at(delay, replyFrame(code, 'D', boxId, param));
        });
    }

    QStringList LogLines() const {
        QFile f(link.m_strLogDir + QStringLiteral("2026.12.09.txt"));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    // Box ID and command of each daily-log line, e.g. "1:13".
    QStringList LoggedCommands() const {
        static const QRegularExpression re(QStringLiteral(R"(\(ID = (\d+)\).* Cmd=(\d+) )"));
        QStringList out;
        for (const QString& line : LogLines()) {
            const auto m = re.match(line);
            out << (m.hasMatch() ? QString::number(m.captured(1).toInt()) + ":" + m.captured(2)
                                 : QStringLiteral("broken: ") + line);
        }
        return out;
    }
    // Codes of the 16-byte frames a line received, with the box ID they carried.
    static std::vector<std::pair<int, int>> Sent(const FakeSerialLine& line) {
        std::vector<std::pair<int, int>> out;
        for (const auto& w : line.writes())
            if (w.bytes.size() == 16) out.emplace_back(w.bytes[0], w.bytes[3]);
        return out;
    }

    VirtualClock clock;
    FakeSerialBus bus{clock};
    CRZ8DeviceLink link{clock};

private:
    QTemporaryDir m_logDir;
};

// Two commands each, with the first controller the slowest to answer: the rounds still
// go out in box-ID order, and each controller gets only its own frames.
TEST_F(WallExchangeTest, RoundsGoOutAndAreLoggedInBoxIdOrderEachControllerItsOwnFrames) {
    Echoing(3, 1500ms, 1);
    Echoing(5, 10ms, 2);
    Echoing(7, 0ms, 3);
    std::vector<int> answered(3, 0);
    TraceCapture trace;
    const size_t taking = link.RunOnOpenControllers([&](size_t p, CRZ8Exchange& ex) {
        RZ8Full r = link.m_hCurRZ8Full;
        const uint8_t box = ex.Device().GetBoxId();
        answered[p] = ex.APIPR_SetRZ8FullData(r, RZ8_BOOTCDE_SET_VPIXEL, box, 1000) +
                      ex.APIPR_SetRZ8FullData(r, RZ8_BOOTCDE_PIXEL_COMMIT, box, 1000);
    });
    EXPECT_EQ(taking, 3u);
    EXPECT_EQ(answered, (std::vector<int>{2, 2, 2}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Sent(bus.line(kComs[i])),
                  (std::vector<std::pair<int, int>>{{RZ8_BOOTCDE_SET_VPIXEL, i + 1},
                                                    {RZ8_BOOTCDE_PIXEL_COMMIT, i + 1}}))
            << "COM" << kComs[i];
    EXPECT_EQ(LoggedCommands(), (QStringList{"1:13", "2:13", "3:13", "1:17", "2:17", "3:17"}));

    // The trace has each controller's exchange whole, in box-ID order: the box ID byte
    // of the sent frames reads 1 1 2 2 3 3.
    QStringList sentBoxes;
    for (const std::string& t : trace.texts())
        if (t.find("[D][Send]APIPR_UARTSendData length=16") == 0)
            sentBoxes << QString::fromStdString(t.substr(t.find(':') + 2 + 9, 2));
    EXPECT_EQ(sentBoxes, (QStringList{"01", "01", "02", "02", "03", "03"}));
    // The run itself leaves the current controller alone; the step after it makes the
    // last one current, as after going through them one after another.
    EXPECT_EQ(link.m_byCurDev, 0);
    link.MakeLastCurrent(link.OpenControllers());
    EXPECT_EQ(link.m_pCurRZ8Dev, &link.m_hRZ8Dev[2]);
    EXPECT_EQ(&link.CurrentExchange(), &link.ExchangeOf(2));
    EXPECT_EQ(link.m_byCurDev, 2);
}

TEST_F(WallExchangeTest, AControllerThatFailsHoldsNobodyUpAndTheOthersAreWritten) {
    Echoing(3, 10ms, 1);
    // COM5 echoes nothing: its first command costs the pause and the whole reply wait.
    Echoing(7, 10ms, 3);
    std::vector<int> sends(3, 0);
    link.RunOnOpenControllers([&](size_t p, CRZ8Exchange& ex) {
        RZ8Full r = link.m_hCurRZ8Full;
        const uint8_t box = ex.Device().GetBoxId();
        // Stops at its own failure, as a controller's sequence does.
        for (uint8_t code : {RZ8_BOOTCDE_SET_HPIXEL, RZ8_BOOTCDE_SET_VPIXEL}) {
            ++sends[p];
            if (!ex.APIPR_SetRZ8FullData(r, code, box, 1000)) return;
        }
    });
    EXPECT_EQ(sends, (std::vector<int>{2, 1, 2}));
    EXPECT_EQ(Sent(bus.line(3)).size(), 2u);
    EXPECT_EQ(Sent(bus.line(5)).size(), 1u);
    EXPECT_EQ(Sent(bus.line(7)).size(), 2u);
    EXPECT_EQ(LoggedCommands(), (QStringList{"1:12", "2:12", "3:12", "1:13", "3:13"}));
}

TEST_F(WallExchangeTest, EachControllerKeepsWhatItAnsweredAndOnlyControllersWithAnIdTakePart) {
    Echoing(3, 10ms, 1, 1600);
    Echoing(5, 10ms, 2, 1700);
    Echoing(7, 10ms, 3, 1800);
    // A fourth link open without an ID, a fifth one closed: neither is written.
    bus.line(9);
    ASSERT_EQ(link.m_hRZ8Dev[3].OpenPort(9, 460800), 1);
    link.m_hRZ8Dev[3].SetBoxId(CRZ8Ctrl::kNoBoxId);
    link.m_byDevCount = 5;
    link.m_wHPIXEL = 1;
    link.m_wVPIXEL = 2;
    EXPECT_EQ(link.OpenControllers(), (std::vector<int>{0, 1, 2}));

    link.RunOnOpenControllers([&](size_t p, CRZ8Exchange& ex) {
        // Only the first two are asked for their width.
        if (p == 2) return;
        RZ8Full r{};
        ex.APIPR_SetRZ8FullData(r, RZ8_BOOTCDE_GET_HPIXEL, ex.Device().GetBoxId(), 1000);
    });
    EXPECT_EQ(link.ExchangeOf(0).ReportedHPixel(), 1600);
    EXPECT_EQ(link.ExchangeOf(1).ReportedHPixel(), 1700);
    EXPECT_EQ(link.ExchangeOf(2).ReportedHPixel(), 0) << "box 3 was not asked";
    EXPECT_EQ(link.ExchangeOf(1).ReportedVPixel(), 0) << "nobody asked for the height";
    // The panel's own counts change only when it takes an answer.
    EXPECT_EQ(link.m_wHPIXEL, 1);
    EXPECT_EQ(link.m_wVPIXEL, 2);
    EXPECT_TRUE(bus.line(9).writes().empty());
    EXPECT_EQ(link.m_pCurRZ8Dev, &link.m_hRZ8Dev[0]);
}

TEST_F(WallExchangeTest, NothingRunsWithoutAnOpenController) {
    link.CloseAllDeviceLinks();
    bool ran = false;
    EXPECT_EQ(link.RunOnOpenControllers([&](size_t, CRZ8Exchange&) { ran = true; }), 0u);
    EXPECT_FALSE(ran);
    EXPECT_EQ(link.m_pCurRZ8Dev, &link.m_hRZ8Dev[0]);
}

// The turns themselves: whatever order the threads come in, round by round in position
// order; a position that leaves is not waited for.
struct TurnsCase {
    const char* name;
    std::vector<int> rounds; // sends each position makes before it leaves
    std::vector<int> order;  // positions in the order their sends went
};

void PrintTo(const TurnsCase& c, std::ostream* os) {
    *os << c.name;
}

class SendTurnsTest : public ::testing::TestWithParam<TurnsCase> {};

TEST_P(SendTurnsTest, SendsGoRoundByRoundInPositionOrder) {
    const TurnsCase& c = GetParam();
    const size_t count = c.rounds.size();
    SendTurns turns(count);
    std::mutex mutex;
    std::vector<int> order;
    std::atomic<int> started{0};
    std::vector<std::thread> threads;
    // The last position first, so an order that held only by luck would show.
    for (size_t k = count; k-- > 0;) {
        threads.emplace_back([&, k] {
            ++started;
            for (int r = 0; r < c.rounds[k]; ++r) {
                turns.Take(k);
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    order.push_back(int(k));
                }
                turns.Give(k);
            }
            turns.Leave(k);
        });
        while (started < int(count - k))
            std::this_thread::yield();
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(order, c.order);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SendTurnsTest,
    ::testing::Values(TurnsCase{"ThreeRoundsEach", {3, 3, 3}, {0, 1, 2, 0, 1, 2, 0, 1, 2}},
                      TurnsCase{"TheMiddleOneLeavesEarly", {3, 1, 3}, {0, 1, 2, 0, 2, 0, 2}},
                      TurnsCase{"TheFirstSendsNothing", {0, 2, 2}, {1, 2, 1, 2}},
                      TurnsCase{"TheLastGoesOnAlone", {1, 1, 3}, {0, 1, 2, 2, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

// The pieces' own trace lines come out together, in position order, after a line the
// caller puts before each; the pump runs on the waiting thread meanwhile.
TEST(SideBySideTest, TracesComeOutPerPieceInPositionOrderAndThePumpRunsWhileWaiting) {
    TraceCapture trace;
    std::atomic<int> arrived{0};
    int pumped = 0;
    const std::thread::id caller = std::this_thread::get_id();
    bool pumpedElsewhere = false;
    RunSideBySide(
        3,
        [&](size_t p) {
            RZ8_TRACE("piece %d first", int(p));
            // Every piece waits for the others: they really run at the same time.
            ++arrived;
            while (arrived < 3)
                std::this_thread::sleep_for(1ms);
            std::this_thread::sleep_for(30ms);
            RZ8_TRACE("piece %d second", int(p));
        },
        [&] {
            ++pumped;
            pumpedElsewhere = pumpedElsewhere || std::this_thread::get_id() != caller;
        },
        nullptr, [](size_t p) { RZ8_TRACE("before %d", int(p)); });
    EXPECT_EQ(trace.texts(),
              (std::vector<std::string>{"before 0", "piece 0 first", "piece 0 second", "before 1",
                                        "piece 1 first", "piece 1 second", "before 2",
                                        "piece 2 first", "piece 2 second"}));
    EXPECT_GT(pumped, 0);
    EXPECT_FALSE(pumpedElsewhere);
}

} // namespace
} // namespace kztr::test
