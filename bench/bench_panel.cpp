// Prints the median time of a full repaint of the main panel at ratio 1 (goal: under 5 ms)
// and at ratio 2 (goal: under 8 ms and within 4 times ratio 1's), and the
// time start-up takes beyond the 2.5 s splash wait (goal: under 300 ms), both in process
// (frame construction to panel shown) and for the whole KZTRMaster executable beside it
// (process start to its panel picture written, with --screenshot, offscreen).
//   bench_panel [repaints]      (default 200)
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

// Real time, except that waiting is skipped: the splash wait costs only the event
// processing it does, not its 2.5 s.
class NoWaitClock final : public kztr::Clock {
public:
    time_point now() const override { return std::chrono::steady_clock::now() + m_skipped; }
    void sleepFor(std::chrono::milliseconds d) override { m_skipped += d; }

private:
    std::chrono::steady_clock::duration m_skipped{};
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// Whole runs of the executable: wall time minus the splash wait, median of `runs`; a
// negative value when the executable is missing or fails.
double ExecutableStartupMs(const QString& exe, int runs) {
    QTemporaryDir tmp;
    if (!tmp.isValid() || !QFileInfo::exists(exe)) return -1;
    QDir(tmp.path()).mkdir("runtime");
    QFile::setPermissions(tmp.filePath("runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // A private lock folder: a KZTRMaster running meanwhile must not make these runs leave.
    env.insert("XDG_RUNTIME_DIR", tmp.filePath("runtime"));
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(exe, {"--screenshot", tmp.filePath("panel.png")});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) return -1;
        times.push_back(double(t.nsecsElapsed()) / 1e6 - 2500.0);
    }
    return Median(times);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int repaints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const QString moduleDir = QCoreApplication::applicationDirPath();
    if (!QDir(moduleDir + "/GUISkin").exists()) {
        std::fprintf(stderr, "no skin beside the benchmark in %s\n", qUtf8Printable(moduleDir));
        return 2;
    }
    GUITextTable::Instance().Fill();

    NoWaitClock clock;
    QElapsedTimer startTimer;
    startTimer.start();
    CGUIGDIPlusMfcFrameMain frame(moduleDir, clock);
    if (!frame.APIPR_Initialize()) {
        std::fprintf(stderr, "start-up failed\n");
        return 1;
    }
    QCoreApplication::processEvents(); // the panel's first show
    const double startupMs = double(startTimer.nsecsElapsed()) / 1e6;

    // At ratio 1 and on a screen of twice the density (the surface then has four times
    // the pixels; goal there: within 4 times the time at 1 and under 8 ms).
    double atOne = 0;
    for (const double ratio : {1.0, 2.0}) {
        frame.PinDeviceRatio(ratio);
        frame.RepaintFrame(); // the 2x twins are read on their first draw
        std::vector<double> times;
        times.reserve(size_t(repaints));
        for (int i = 0; i < repaints; ++i) {
            QElapsedTimer t;
            t.start();
            frame.RepaintFrame();
            times.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        const double median = Median(times);
        if (ratio == 1.0) atOne = median;
        std::printf(
            "full RepaintFrame at ratio %.0f: median %.2f ms, min %.2f ms, max %.2f ms over "
            "%d repaints (goal < %s)",
            ratio, median, *std::min_element(times.begin(), times.end()),
            *std::max_element(times.begin(), times.end()), repaints,
            ratio == 1.0 ? "5 ms" : "8 ms and 4 x the time at ratio 1");
        if (ratio != 1.0 && atOne > 0) std::printf(", %.1f x the time at ratio 1", median / atOne);
        std::printf("\n");
    }
    frame.PinDeviceRatio(0);
    std::printf("start-up beyond the 2.5 s splash wait, construction to panel shown: %.1f ms "
                "(goal < 300 ms)\n",
                startupMs);
    frame.DestroyWindow();

    const double wholeMs = ExecutableStartupMs(moduleDir + "/KZTRMaster", 3);
    if (wholeMs < 0)
        std::printf("KZTRMaster beside the benchmark did not run; no whole-process figure\n");
    else
        std::printf("KZTRMaster start to panel picture written, beyond the 2.5 s splash wait: "
                    "%.1f ms (median of 3, goal < 300 ms)\n",
                    wholeMs);
    return 0;
}
