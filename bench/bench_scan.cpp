// The search over COM1 to COM15 against simulated controllers on pseudo-terminals: one
// controller that answers and 0, 3 or 14 ports that open but never answer (with 14,
// every COM number has something behind it). Wall time and CPU of the search with every
// port probed at once, against probing one port after another.
//   bench_scan [runs]   runs of the all-at-once search per case (default 3); the
//                       one-by-one search runs once per case (5 s per silent port).
#include "BenchLoad.h"
#include "RZ8DeviceLink.h"
#include "Rz8Simulator.h"

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

using namespace std::chrono;
using ScanOrder = CRZ8DeviceLink::ScanOrder;

namespace {

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

struct Run {
    double wallMs;
    double cpuMs; // the whole process, simulator threads included
    size_t found;
};

Run scanOnce(ScanOrder order) {
    CRZ8DeviceLink link;
    const double cpu0 = cpuSeconds();
    const auto wall0 = steady_clock::now();
    link.APIPR_UARTScanPorts(order);
    return {duration<double, std::milli>(steady_clock::now() - wall0).count(),
            (cpuSeconds() - cpu0) * 1e3, link.m_vecBoxPort.size()};
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    kztr::bench::PrintLoad();
    std::printf("%-8s %-12s %10s %10s %8s %6s\n", "silent", "search", "wall ms", "CPU ms", "CPU %",
                "found");
    for (int silent : {0, 3, 14}) {
        QTemporaryDir dir;
        if (!dir.isValid()) return 1;
        const QString ports = dir.path() + "/ports";
        setenv("RZ8_PORT_DIR", ports.toUtf8().constData(), 1);
        kztr::sim::Rz8Simulator sim;
        // The answering controller on COM1, the silent ones after it.
        kztr::sim::ControllerConfig answering;
        answering.com = 1;
        answering.boxId = 1;
        answering.model = 'D';
        sim.addController(answering);
        for (int i = 0; i < silent; ++i) {
            kztr::sim::ControllerConfig c;
            c.com = 2 + i;
            c.boxId = uint8_t(3 + i);
            c.faults.silent = true;
            sim.addController(c);
        }
        if (!sim.start(ports.toStdString())) {
            std::fprintf(stderr, "bench_scan: simulator: %s\n", sim.error().c_str());
            return 1;
        }
        std::vector<double> walls;
        Run last{};
        for (int r = 0; r < runs; ++r) {
            last = scanOnce(ScanOrder::AllAtOnce);
            walls.push_back(last.wallMs);
        }
        std::sort(walls.begin(), walls.end());
        std::printf("%-8d %-12s %10.1f %10.2f %8.3f %6zu   (median of %d, max %.1f ms)\n", silent,
                    "all at once", walls[walls.size() / 2], last.cpuMs,
                    100.0 * last.cpuMs / last.wallMs, last.found, runs, walls.back());
        const Run one = scanOnce(ScanOrder::OneByOne);
        std::printf("%-8d %-12s %10.1f %10.2f %8.3f %6zu\n", silent, "one by one", one.wallMs,
                    one.cpuMs, 100.0 * one.cpuMs / one.wallMs, one.found);
        std::fflush(stdout);
    }
    return 0;
}
