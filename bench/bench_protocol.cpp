// Figures of the device link against a simulated controller on a pseudo-terminal:
//  1. CPU spent while a 5 s reply wait runs out on a silent port (goal: < 1% of a core);
//  2. wall time of a 0x00 exchange beyond its 1000 ms pause, median of 20 (goal: < 5 ms).
#include "BenchLoad.h"
#include "RZ8DeviceLink.h"
#include "RZ8Frames.h"
#include "Rz8Simulator.h"

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

constexpr int kCom = 3;
constexpr int kExchanges = 20;
constexpr int kPauseMs = 1000;

double cpuSeconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

bool startSim(kztr::sim::Rz8Simulator& sim, const QString& dir, bool silent) {
    kztr::sim::ControllerConfig c;
    c.com = kCom;
    c.boxId = 1;
    c.model = 'D';
    c.faults.silent = silent;
    if (!sim.addController(c) || !sim.start(dir.toStdString())) {
        std::fprintf(stderr, "bench_protocol: simulator: %s\n", sim.error().c_str());
        return false;
    }
    return true;
}

} // namespace

// Scheduler delays on a busy machine show up in both figures; say how busy it was.
int main() {
    kztr::bench::PrintLoad();
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    const QString ports = dir.path() + "/ports";
    setenv("RZ8_PORT_DIR", ports.toUtf8().constData(), 1);

    {
        kztr::sim::Rz8Simulator sim;
        if (!startSim(sim, ports, true)) return 1;
        CRZ8DeviceLink link;
        if (!link.m_hRZ8Dev[0].OpenPort(kCom, 460800)) return 1;
        RZ8Full out{};
        const double thread0 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        const double process0 = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const auto wall0 = steady_clock::now();
        const int result = link.APIPR_UARTReadDataAndCheck(out, RZ8_BOOTCDE_SET_FULLDATA, 5);
        const double wall = duration<double>(steady_clock::now() - wall0).count();
        const double thread = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - thread0;
        const double process = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process0;
        std::printf("silent port, 5 s reply wait: result %d, wall %.3f s, CPU of the waiting "
                    "thread %.3f ms (%.4f%% of one core), whole process %.3f ms (%.4f%%)\n",
                    result, wall, thread * 1e3, 100.0 * thread / wall, process * 1e3,
                    100.0 * process / wall);
    }

    {
        kztr::sim::Rz8Simulator sim;
        if (!startSim(sim, ports, false)) return 1;
        CRZ8DeviceLink link;
        link.m_strLogDir = dir.path() + "/LogoFiles/";
        if (!link.m_hRZ8Dev[0].OpenPort(kCom, 460800)) return 1;
        link.m_hRZ8Dev[0].SetBoxId(1);
        std::vector<double> beyond;
        int failures = 0;
        for (int i = 0; i < kExchanges; ++i) {
            const auto t0 = steady_clock::now();
            if (!link.APIPR_SetRZ8FullData(link.m_hCurRZ8Full, RZ8_BOOTCDE_SET_FULLDATA, 1,
                                           kPauseMs))
                ++failures;
            const double ms = duration<double, std::milli>(steady_clock::now() - t0).count();
            beyond.push_back(ms - kPauseMs);
        }
        std::sort(beyond.begin(), beyond.end());
        const double median = (beyond[kExchanges / 2 - 1] + beyond[kExchanges / 2]) / 2;
        std::printf("0x00 exchange beyond the %d ms pause, %d exchanges: median %.3f ms, min %.3f "
                    "ms, max %.3f ms, failures %d\n",
                    kPauseMs, kExchanges, median, beyond.front(), beyond.back(), failures);
    }
    kztr::bench::PrintLoad();
    return 0;
}
