// plainfkeys
// Maps F1 to F12 of the X server named by DISPLAY to their plain keysyms. The stock
// keymap binds Ctrl+Alt+F1..F12 to console switching, which the server keeps to itself:
// without this no client, the panel's hot key included, ever sees Ctrl+Alt+F12.
// Exit status 0, or 2 without a display or with a function key that has no key code.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    int status = 0;
    for (KeySym keysym = XK_F1; keysym <= XK_F12; ++keysym) {
        const KeyCode keycode = XKeysymToKeycode(display, keysym);
        if (keycode == 0) {
            std::fprintf(stderr, "no key code for F%lu\n", keysym - XK_F1 + 1);
            status = 2;
            continue;
        }
        XChangeKeyboardMapping(display, keycode, 1, &keysym, 1);
    }
    XSync(display, False);
    XCloseDisplay(display);
    return status;
}
