// panelgeom <output file>: writes the panel's places from PanelGeometry.h as shell
// assignments, so that the end-to-end scripts click and compare where the layout puts
// the controls instead of keeping their own copy of the numbers.
//   rect_panel="0 0 1235 940"
//   rect_exit="1179 4 1227 28"      left top right bottom, right and bottom exclusive
//   rect_device_radio_3="..."       a family's member: its index after the name
#include "PanelGeometry.h"

#include <cstdio>

namespace pg = PanelGeometry;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: panelgeom <output file>\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "# Written by panelgeom from PanelGeometry.h; read by the e2e scripts.\n");
    const auto write = [out](const char* name, int index, pg::Kind, const pg::Rect& r) {
        if (index < 0)
            std::fprintf(out, "rect_%s=", name);
        else
            std::fprintf(out, "rect_%s_%d=", name, index);
        std::fprintf(out, "\"%d %d %d %d\"\n", r.left, r.top, r.right, r.bottom);
    };
    write("panel", -1, pg::Kind::Control, pg::kPanel);
    pg::forEachPlace(write);
    if (std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
