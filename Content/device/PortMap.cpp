#include "PortMap.h"

#include "DebugTrace.h"
#include "PortTarget.h"

#include <cstdlib>
#include <sstream>

namespace kztr {
namespace {

// The device RZ8_PORT_MAP assigns to comNumber, or empty. Malformed entries are
// traced and skipped, so one typo does not hide the other entries.
std::string mappedPath(const char* map, int comNumber) {
    std::istringstream entries(map);
    std::string entry;
    std::string found;
    while (std::getline(entries, entry, ',')) {
        if (entry.empty()) continue;
        const auto eq = entry.find('=');
        char* end = nullptr;
        const long n = eq == std::string::npos ? 0 : std::strtol(entry.c_str(), &end, 10);
        if (eq == std::string::npos || end != entry.c_str() + eq || n < 1 ||
            eq + 1 >= entry.size() || !parsePortTarget(entry.substr(eq + 1))) {
            RZ8_TRACE("[D][Error]RZ8_PORT_MAP entry \"%s\" ignored (expected n=/dev/path, "
                      "n=rfc2217://host:port or n=tcp://host:port)\n",
                      entry.c_str());
            continue;
        }
        if (n == comNumber) found = entry.substr(eq + 1);
    }
    return found;
}

} // namespace

std::string devicePathForCom(int comNumber) {
    if (comNumber < 1) return {};
    const char* dir = std::getenv("RZ8_PORT_DIR");
    if (dir && *dir) return std::string(dir) + "/COM" + std::to_string(comNumber);
    const char* map = std::getenv("RZ8_PORT_MAP");
    if (map && *map) {
        std::string path = mappedPath(map, comNumber);
        if (!path.empty()) return path;
    }
    return "/dev/ttyUSB" + std::to_string(comNumber - 1);
}

std::optional<PortTarget> portTargetForCom(int comNumber) {
    return parsePortTarget(devicePathForCom(comNumber));
}

} // namespace kztr
