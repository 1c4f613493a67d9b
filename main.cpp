#include "GUIGDIPlusMfcFrameMain.h"
#include "PlatformChoice.h"
#include "RZ8Master.h"
#include "RunModes.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    VEV8AdevevAvi theApp;
    if (!theApp.TakeInstanceLock()) return 0;

    // Trace lines carry their source file and line in the text itself.
    if (qEnvironmentVariableIsEmpty("QT_MESSAGE_PATTERN"))
        qSetMessagePattern(QStringLiteral("%{if-category}%{category}: %{endif}%{message}"));
    PreferX11OnWayland(argc, argv);
    QApplication app(argc, argv);
    QuietOffscreenPlatformNotices();

    // Qt has taken its own arguments out of argv by now.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QString error;
    const std::optional<RunOptions> options = ParseRunOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "KZTRMaster: %s\n", qUtf8Printable(error));
        return 2;
    }

    // Serves until the application ends; the frame finds them once the link is switched on.
    std::unique_ptr<SimulatedControllers> simulated;
    if (options->simulateCount > 0) {
        simulated = SimulatedControllers::Start(options->simulateCount, error);
        if (!simulated) {
            std::fprintf(stderr, "KZTRMaster: simulated controllers: %s\n", qUtf8Printable(error));
            return 2;
        }
        std::printf("Simulated controllers (RZ8_PORT_DIR=%s):\n",
                    qgetenv("RZ8_PORT_DIR").constData());
        for (const QString& line : simulated->Describe())
            std::printf("  %s\n", qUtf8Printable(line));
        std::fflush(stdout);
    }

    // With a picture to write there may be no display and nobody to answer a box.
    HeadlessErrorBoxes headlessBoxes;
    const bool headless = !options->screenshotFile.isEmpty();
    return theApp.InitInstance([&](CGUIGDIPlusMfcFrameMain& frame) {
        if (headless) SetErrorBoxSink(&headlessBoxes);
        if (headless || options->connect)
            ArrangeStartupActions(frame, options->connect, options->screenshotFile,
                                  headless ? &headlessBoxes : nullptr);
    });
}
