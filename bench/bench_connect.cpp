// Figures of the serial-COM connect to three simulated controllers (box IDs 1..3 on
// COM1..COM3, models C, H, K, as --simulate serves them), driven through the real main
// frame as the switch drives it:
//  1. wall time against the pauses the protocol mandates for what was sent: 1000 ms after
//     every command frame but the pattern ones, 500 ms after every reply to a block command
//     (goal: overhead < 2 %);
//  2. the longest time the event loop did not run meanwhile, from a 0 ms timer's firings
//     (goal: < 50 ms).
//   bench_connect [connects]      (default 5)
#include "BenchLoad.h"
#include "ErrorBox.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "RZ8Frames.h"
#include "RunModes.h"
#include "Rz8Simulator.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace std::chrono;

namespace {

constexpr int kControllers = 3;
constexpr char kModels[kControllers] = {'C', 'H', 'K'};
constexpr double kFramePauseMs = CRZ8DeviceLink::kCommandPauseMs;
constexpr double kBlockWaitMs = double(CRZ8Exchange::kBlockWait.count());
constexpr size_t kFrameLength = 16;

// Pattern commands are answered at once: the only frames without the pause.
bool IsPatternCommand(uint8_t code) {
    return code == RZ8_BOOTCDE_PATTERN_ON || code == RZ8_BOOTCDE_PATTERN_OFF ||
           code == RZ8_BOOTCDE_RGBW_ON;
}

struct Mandated {
    int frames = 0;
    int blockReplies = 0;
    int requests = 0; // the one-byte configuration requests, which have no pause
    double ms = 0;
};

Mandated MandatedPauses(const std::vector<kztr::sim::Request>& requests) {
    Mandated m;
    for (const kztr::sim::Request& r : requests) {
        if (r.bytes.size() != kFrameLength) {
            ++m.requests;
            continue;
        }
        ++m.frames;
        const uint8_t code = r.bytes[0];
        if (!IsPatternCommand(code)) m.ms += kFramePauseMs;
        // The simulated controllers echo every code they are sent.
        if (IsBlockCommand(code)) {
            ++m.blockReplies;
            m.ms += kBlockWaitMs;
        }
    }
    return m;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

double Max(const std::vector<double>& v) {
    return *std::max_element(v.begin(), v.end());
}

// Scheduler delays on a busy machine show up in both figures; say how busy it was.
void SwitchSerialCom(CGUIGDIPlusMfcFrameMain& frame, bool on) {
    // The switch flips itself before it notifies, as under the operator's click.
    frame.m_hGUICtrlSwitch[CGUIGDIPlusMfcFrameMain::kSwitchSerialCOM].SetCheck(on);
    frame.SendFrameMessage(FrameMsg::kSwitchSerialCom, CGUIGDIPlusMfcFrameMain::kSwitchSerialCOM,
                           0);
}

} // namespace

int main(int argc, char** argv) {
    kztr::bench::PrintLoad();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int connects = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    const QString moduleDir = QStringLiteral(KZTR_BENCH_BUILD_DIR);
    if (!QDir(moduleDir + "/GUISkin").exists()) {
        std::fprintf(stderr, "bench_connect: no skin in %s\n", qUtf8Printable(moduleDir));
        return 2;
    }
    QTemporaryDir tmp;
    if (!tmp.isValid()) return 2;

    kztr::sim::Rz8Simulator sim;
    for (int i = 0; i < kControllers; ++i) {
        kztr::sim::ControllerConfig c;
        c.com = i + 1;
        c.boxId = static_cast<uint8_t>(i + 1);
        c.model = kModels[i];
        c.fwVer = static_cast<uint8_t>(30 + i);
        if (!sim.addController(c)) {
            std::fprintf(stderr, "bench_connect: simulator: %s\n", sim.error().c_str());
            return 2;
        }
    }
    const QString ports = tmp.filePath("ports");
    if (!sim.start(ports.toStdString())) {
        std::fprintf(stderr, "bench_connect: simulator: %s\n", sim.error().c_str());
        return 2;
    }
    qputenv("RZ8_PORT_DIR", ports.toLocal8Bit());

    GUITextTable::Instance().Fill();
    // Nobody could answer a box: it goes to stderr and is counted.
    HeadlessErrorBoxes boxes;
    SetErrorBoxSink(&boxes);

    CGUIGDIPlusMfcFrameMain frame(moduleDir, kztr::systemClock());
    // The daily log is written as in use, but not into the build folder.
    frame.m_strLogDir = tmp.filePath("LogoFiles") + "/";
    if (!frame.APIPR_Initialize()) {
        std::fprintf(stderr, "bench_connect: start-up failed\n");
        return 1;
    }
    QCoreApplication::processEvents();

    // Every firing is one pass of the event loop.
    QObject probe;
    QTimer ticker;
    ticker.setInterval(0);
    std::vector<steady_clock::time_point> firings;
    firings.reserve(size_t(1) << 20);
    QObject::connect(&ticker, &QTimer::timeout, &probe,
                     [&firings] { firings.push_back(steady_clock::now()); });

    std::vector<double> walls, overheads, gaps, counts;
    for (int run = 1; run <= connects; ++run) {
        sim.clearRequests();
        firings.clear();
        ticker.start();
        const auto t0 = steady_clock::now();
        SwitchSerialCom(frame, true);
        const auto t1 = steady_clock::now();
        ticker.stop();

        if (frame.m_byDevCount != kControllers || boxes.Count() > 0) {
            std::fprintf(stderr, "bench_connect: connect %d found %d controllers, %d error boxes\n",
                         run, int(frame.m_byDevCount), boxes.Count());
            return 1;
        }
        const Mandated m = MandatedPauses(sim.requests());
        const double wallMs = duration<double, std::milli>(t1 - t0).count();
        const double overhead = 100.0 * (wallMs - m.ms) / m.ms;
        // From the start of the connect, through every firing, to its end.
        double longest = 0;
        auto previous = t0;
        for (const auto& t : firings) {
            longest = std::max(longest, duration<double, std::milli>(t - previous).count());
            previous = t;
        }
        longest = std::max(longest, duration<double, std::milli>(t1 - previous).count());

        std::printf("connect %d: %d frames (%d block replies) and %d one-byte requests; "
                    "mandated pauses %.0f ms, wall %.1f ms, overhead %.2f %%; event loop: "
                    "%zu firings, longest gap %.2f ms\n",
                    run, m.frames, m.blockReplies, m.requests, m.ms, wallMs, overhead,
                    firings.size(), longest);
        std::fflush(stdout);
        walls.push_back(wallMs);
        overheads.push_back(overhead);
        gaps.push_back(longest);
        counts.push_back(double(firings.size()));

        SwitchSerialCom(frame, false);
        QCoreApplication::processEvents();
    }

    std::printf("over %d connects: wall median %.1f ms, max %.1f ms; overhead median %.2f %%, "
                "max %.2f %% (goal < 2 %%)\n",
                connects, Median(walls), Max(walls), Median(overheads), Max(overheads));
    std::printf("event loop during the connect: longest gap median %.2f ms, max %.2f ms "
                "(goal < 50 ms); firings median %.0f, max %.0f\n",
                Median(gaps), Max(gaps), Median(counts), Max(counts));
    kztr::bench::PrintLoad();
    frame.DestroyWindow();
    SetErrorBoxSink(nullptr);
    return 0;
}
