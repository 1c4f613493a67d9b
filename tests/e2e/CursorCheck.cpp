// cursorcheck
// Prints, in one line, the pointer shape the X server shows right now: size, hot spot,
// name ("-" when unnamed) and a hash of its pixels. Equal lines mean the same picture, so
// a script can tell a busy cursor from the arrow without knowing what either looks like.
// Exit status 0, or 2 without a display or the XFixes extension.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdint>
#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    int eventBase = 0, errorBase = 0;
    XFixesCursorImage* image = nullptr;
    if (XFixesQueryExtension(display, &eventBase, &errorBase))
        image = XFixesGetCursorImage(display);
    if (!image) {
        std::fprintf(stderr, "no XFixes cursor image\n");
        XCloseDisplay(display);
        return 2;
    }
    // FNV-1a over the ARGB words (held in longs by Xlib).
    std::uint64_t hash = 1469598103934665603ull;
    const long count = long(image->width) * image->height;
    for (long i = 0; i < count; ++i) {
        const std::uint32_t argb = std::uint32_t(image->pixels[i]);
        for (int b = 0; b < 4; ++b) {
            hash ^= (argb >> (8 * b)) & 0xFFu;
            hash *= 1099511628211ull;
        }
    }
    std::printf("%ux%u+%u+%u %s %016llx\n", unsigned(image->width), unsigned(image->height),
                unsigned(image->xhot), unsigned(image->yhot),
                image->name && *image->name ? image->name : "-", (unsigned long long)hash);
    XFree(image);
    XCloseDisplay(display);
    return 0;
}
