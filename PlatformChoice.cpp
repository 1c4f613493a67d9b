#include "PlatformChoice.h"

#include "DebugTrace.h"

#include <X11/Xlib.h>
#include <cstring>

bool ShouldUseX11(const PlatformEnvironment& env, const std::function<bool()>& xServerAnswers) {
    if (!env.qpaPlatform.isEmpty() || env.platformArgument) return false;
    const bool wayland = !env.waylandDisplay.isEmpty() ||
                         env.sessionType.compare("wayland", Qt::CaseInsensitive) == 0;
    // Plain X11 desktops get X11 anyway; a Wayland desktop without X stays on Wayland.
    if (!wayland || env.display.isEmpty()) return false;
    return xServerAnswers();
}

void PreferX11OnWayland(int argc, char** argv) {
    PlatformEnvironment env;
    env.qpaPlatform = qEnvironmentVariable("QT_QPA_PLATFORM");
    env.waylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
    env.sessionType = qEnvironmentVariable("XDG_SESSION_TYPE");
    env.display = qEnvironmentVariable("DISPLAY");
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0 ||
            std::strncmp(argv[i], "-platform=", 10) == 0)
            env.platformArgument = true;
    const bool x11 = ShouldUseX11(env, [] {
        Display* display = XOpenDisplay(nullptr);
        if (!display) return false;
        XCloseDisplay(display);
        return true;
    });
    if (x11) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        RZ8_TRACE("[D]Wayland desktop with an X server: running on X11 (%s)\n",
                  qUtf8Printable(env.display));
    }
}
