#pragma once
// Every bench prints the machine's load first: its figures mean little on a busy machine.
#include <cstdio>

namespace kztr::bench {

inline void PrintLoad() {
    if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
        char line[128] = {};
        if (std::fgets(line, sizeof line, f)) std::printf("load average: %s", line);
        std::fclose(f);
    }
}

} // namespace kztr::bench
