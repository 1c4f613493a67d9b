#include "RunModes.h"

#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "PortMap.h"
#include "Rz8Simulator.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kDefaultSimulated = 3;
constexpr int kMaxSimulated = kztr::kLastControllerCom; // one per COM number searched
constexpr int kScreenshotFailedStatus = 2;
constexpr int kErrorShownStatus = 1;

// Models in turn: triple width, quadruple width with 7680 x 2160, single width, double
// width, quadruple width.
constexpr char kModelMix[] = {'C', 'H', 'K', 'E', 'D'};

class SimulatedControllersImpl final : public SimulatedControllers {
public:
    bool Start(int count, QString& error) {
        if (!m_dir.isValid()) {
            error = QStringLiteral("cannot make a folder for the simulated ports: %1")
                        .arg(m_dir.errorString());
            return false;
        }
        for (int i = 0; i < count; ++i) {
            kztr::sim::ControllerConfig c;
            c.com = i + 1;
            c.boxId = static_cast<uint8_t>(i + 1);
            c.model = kModelMix[size_t(i) % sizeof kModelMix];
            c.fwVer = static_cast<uint8_t>(30 + i);
            m_configs.push_back(c);
            if (!m_sim.addController(c)) {
                error = QString::fromStdString(m_sim.error());
                return false;
            }
        }
        const QString ports = QDir(m_dir.path()).filePath(QStringLiteral("ports"));
        if (!m_sim.start(ports.toStdString())) {
            error = QString::fromStdString(m_sim.error());
            return false;
        }
        qputenv("RZ8_PORT_DIR", ports.toLocal8Bit());
        return true;
    }

    QStringList Describe() const override {
        QStringList lines;
        for (const auto& c : m_configs)
            lines << QStringLiteral("COM%1: box ID %2, model %3, %4")
                         .arg(c.com)
                         .arg(c.boxId)
                         .arg(QChar::fromLatin1(c.model))
                         .arg(QString::fromStdString(m_sim.linkPath(c.com)));
        return lines;
    }

private:
    QTemporaryDir m_dir;
    kztr::sim::Rz8Simulator m_sim;
    std::vector<kztr::sim::ControllerConfig> m_configs;
};

} // namespace

std::optional<RunOptions> ParseRunOptions(const QStringList& args, QString& error) {
    RunOptions opt;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--simulate")) {
            opt.simulateCount = kDefaultSimulated;
        } else if (a.startsWith(QLatin1String("--simulate="))) {
            bool ok = false;
            const int n = a.mid(int(qstrlen("--simulate="))).toInt(&ok);
            if (!ok || n < 1 || n > kMaxSimulated) {
                error = QStringLiteral("--simulate=N takes a number from 1 to %1, not '%2'")
                            .arg(kMaxSimulated)
                            .arg(a.mid(int(qstrlen("--simulate="))));
                return std::nullopt;
            }
            opt.simulateCount = n;
        } else if (a == QLatin1String("--connect")) {
            opt.connect = true;
        } else if (a == QLatin1String("--screenshot")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                error = QStringLiteral("--screenshot needs a file name");
                return std::nullopt;
            }
            opt.screenshotFile = args[++i];
        } else {
            error = QStringLiteral(
                        "unknown option '%1' (known: --simulate[=N], --connect, --screenshot FILE)")
                        .arg(a);
            return std::nullopt;
        }
    }
    return opt;
}

std::unique_ptr<SimulatedControllers> SimulatedControllers::Start(int count, QString& error) {
    auto sim = std::make_unique<SimulatedControllersImpl>();
    if (!sim->Start(count, error)) return nullptr;
    return sim;
}

void HeadlessErrorBoxes::ShowErrorBox(const QString& caption, const QString& text) {
    ++m_nShown;
    std::fprintf(stderr, "KZTRMaster: %s: %s\n", qUtf8Printable(caption),
                 qUtf8Printable(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '))));
    std::fflush(stderr);
}

void ArrangeStartupActions(CGUIGDIPlusMfcFrameMain& frame, bool connect, const QString& file,
                           const HeadlessErrorBoxes* boxes) {
    frame.SetAfterStartup([&frame, connect, file, boxes] {
        if (connect) {
            // The switch flips itself before it notifies, as under the operator's click.
            frame.m_hGUICtrlSwitch[CGUIGDIPlusMfcFrameMain::kSwitchSerialCOM].SetCheck(true);
            frame.SendFrameMessage(FrameMsg::kSwitchSerialCom,
                                   CGUIGDIPlusMfcFrameMain::kSwitchSerialCOM, 0);
        }
        if (file.isEmpty()) return;
        frame.RepaintFrame();
        const QImage panel = frame.GetShownImage();
        if (panel.isNull() || !panel.save(file, "PNG")) {
            std::fprintf(stderr, "KZTRMaster: cannot write the panel picture to %s\n",
                         qUtf8Printable(file));
            frame.done(kScreenshotFailedStatus);
            return;
        }
        std::printf("Panel picture: %s\n", qUtf8Printable(QDir(file).absolutePath()));
        std::fflush(stdout);
        frame.done(boxes && boxes->Count() > 0 ? kErrorShownStatus : 0);
    });
}

void ArrangeScreenshot(CGUIGDIPlusMfcFrameMain& frame, const QString& file) {
    ArrangeStartupActions(frame, false, file);
}

namespace {
QtMessageHandler g_previousHandler = nullptr;

void DropOffscreenNotices(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (type == QtWarningMsg && msg.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, msg);
    else
        std::fprintf(stderr, "%s\n", qUtf8Printable(qFormatLogMessage(type, context, msg)));
}
} // namespace

void QuietOffscreenPlatformNotices() {
    static bool installed = false;
    if (installed || QGuiApplication::platformName() != QLatin1String("offscreen")) return;
    installed = true;
    g_previousHandler = qInstallMessageHandler(DropOffscreenNotices);
}
