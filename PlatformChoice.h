#pragma once
// Which Qt platform the panel runs on. On a Wayland desktop a program cannot place its
// own window and sees no keys of other programs, so where that desktop also runs an X
// server (XWayland) the panel uses X11, unless the user chose a platform. Without an X
// server it stays on Wayland, without the system-wide hot key.
#include <QString>

#include <functional>

struct PlatformEnvironment {
    QString qpaPlatform;           // QT_QPA_PLATFORM
    QString waylandDisplay;        // WAYLAND_DISPLAY
    QString sessionType;           // XDG_SESSION_TYPE
    QString display;               // DISPLAY
    bool platformArgument = false; // -platform on the command line
};

// True when X11 is to be used: a Wayland session, no platform chosen, and an X server
// that answers (asked only then).
bool ShouldUseX11(const PlatformEnvironment& env, const std::function<bool()>& xServerAnswers);

// Reads the environment and the arguments and, when ShouldUseX11, sets QT_QPA_PLATFORM
// to xcb. Call before the QApplication exists.
void PreferX11OnWayland(int argc, char** argv);
