// The device link's exchange overhead on a network port against the pseudo-terminal's: a
// simulated controller's terminal read directly, and through ser2net on loopback as
// rfc2217:// and tcp://. Per kind: wall time of a configuration read (no pause, all of it
// overhead) and of a 0x00 command frame beyond its 1000 ms pause, medians.
// Goal: a network port within 2 ms of the terminal on both.
#include "BenchLoad.h"
#include "RZ8DeviceLink.h"
#include "RZ8Frames.h"
#include "Rz8Simulator.h"
#include "Ser2netServer.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono;

namespace {

constexpr int kCom = 3;
constexpr int kReads = 50;
constexpr int kFrames = 10;
constexpr int kPauseMs = 1000;

struct Figures {
    double read = 0;  // median ms of a configuration read
    double frame = 0; // median ms of a command frame beyond its pause
    int failures = 0;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool measure(const QString& logDir, Figures& out) {
    CRZ8DeviceLink link;
    link.m_strLogDir = logDir;
    if (link.m_hRZ8Dev[0].OpenPort(kCom, 460800) != 1) return false;
    link.m_hRZ8Dev[0].SetBoxId(1);
    std::vector<double> reads, frames;
    RZ8Full got{};
    // One read first: the first exchange on a fresh connection is not typical.
    if (!link.APIPR_GetRZ8FullData(got)) ++out.failures;
    for (int i = 0; i < kReads; ++i) {
        const auto t0 = steady_clock::now();
        if (!link.APIPR_GetRZ8FullData(got)) ++out.failures;
        reads.push_back(duration<double, std::milli>(steady_clock::now() - t0).count());
    }
    link.m_hCurRZ8Full = got;
    for (int i = 0; i < kFrames; ++i) {
        const auto t0 = steady_clock::now();
        if (!link.APIPR_SetRZ8FullData(link.m_hCurRZ8Full, RZ8_BOOTCDE_SET_FULLDATA, 1, kPauseMs))
            ++out.failures;
        frames.push_back(duration<double, std::milli>(steady_clock::now() - t0).count() - kPauseMs);
    }
    out.read = median(reads);
    out.frame = median(frames);
    return true;
}

} // namespace

int main() {
    kztr::bench::PrintLoad();
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    const QString ports = dir.path() + "/ports";
    const QString logs = dir.path() + "/LogoFiles/";

    kztr::sim::Rz8Simulator sim;
    kztr::sim::ControllerConfig c;
    c.com = kCom;
    c.boxId = 1;
    c.model = 'D';
    if (!sim.addController(c) || !sim.start(ports.toStdString())) {
        std::fprintf(stderr, "bench_network: simulator: %s\n", sim.error().c_str());
        return 1;
    }
    const QString device =
        QFileInfo(QString::fromStdString(sim.linkPath(kCom))).canonicalFilePath();

    if (kztr::test::Ser2netServer::executable().isEmpty()) {
        std::fprintf(stderr, "bench_network: ser2net is not installed\n");
        return 1;
    }

    std::printf("%d configuration reads and %d 0x00 frames (beyond the %d ms pause) each, "
                "medians in ms\n",
                kReads, kFrames, kPauseMs);
    Figures pty;
    setenv("RZ8_PORT_DIR", ports.toUtf8().constData(), 1);
    if (!measure(logs, pty)) {
        std::fprintf(stderr, "bench_network: the terminal did not open\n");
        return 1;
    }
    std::printf("%-26s read %7.3f  frame %7.3f  failures %d\n", "pseudo-terminal", pty.read,
                pty.frame, pty.failures);
    unsetenv("RZ8_PORT_DIR");
    int missed = 0;
    // ser2net as installed, then without its character-time gathering of line input.
    for (const bool holdBack : {true, false}) {
        kztr::test::Ser2netServer server;
        QString error;
        if (!server.start(dir.path(), device, error, holdBack)) {
            std::fprintf(stderr, "bench_network: %s\n", error.toUtf8().constData());
            return 1;
        }
        for (const char* scheme : {"rfc2217", "tcp"}) {
            // The server lets the terminal go a moment after the previous client left.
            std::this_thread::sleep_for(milliseconds(500));
            const std::string target = server.target(scheme);
            setenv("RZ8_PORT_MAP", (std::to_string(kCom) + "=" + target).c_str(), 1);
            Figures net;
            if (!measure(logs, net)) {
                std::fprintf(stderr, "bench_network: %s did not open\n", target.c_str());
                return 1;
            }
            const bool met = net.read - pty.read <= 2.0 && net.frame - pty.frame <= 2.0;
            missed += !met;
            std::printf(
                "%-26s read %7.3f  frame %7.3f  failures %d  (+%.3f / +%.3f: %s)\n",
                (scheme + std::string(holdBack ? " ser2net" : " ser2net, no delay")).c_str(),
                net.read, net.frame, net.failures, net.read - pty.read, net.frame - pty.frame,
                met ? "within 2 ms" : "goal missed");
        }
    }
    kztr::bench::PrintLoad();
    return missed ? 2 : 0;
}
