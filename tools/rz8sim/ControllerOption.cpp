#include "ControllerOption.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace kztr::sim {
namespace {

bool parseNumber(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    // Decimal, or hex with 0x; a leading zero does not make "010" octal.
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    value = std::strtol(text.c_str(), &end, hex ? 16 : 10);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

} // namespace

std::optional<ControllerConfig> parseControllerOption(const std::string& text, std::string& error) {
    ControllerConfig c;
    bool haveCom = false;
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item.empty()) continue;
        const auto eq = item.find('=');
        const std::string key = item.substr(0, eq);
        const bool hasValue = eq != std::string::npos;
        const std::string value = hasValue ? item.substr(eq + 1) : std::string();
        auto number = [&](long low, long high, long& out) {
            if (parseNumber(value, low, high, out)) return true;
            error = "\"" + item + "\": " + key + " must be a number from " + std::to_string(low) +
                    " to " + std::to_string(high);
            return false;
        };
        long n = 0;
        if (key == "com") {
            if (!number(1, 255, n)) return std::nullopt;
            c.com = int(n);
            haveCom = true;
        } else if (key == "box") {
            if (!number(0, 255, n)) return std::nullopt;
            c.boxId = uint8_t(n);
        } else if (key == "fw") {
            if (!number(0, 255, n)) return std::nullopt;
            c.fwVer = uint8_t(n);
        } else if (key == "hpixel") {
            if (!number(0, 65535, n)) return std::nullopt;
            c.hPixel = uint16_t(n);
        } else if (key == "vpixel") {
            if (!number(0, 65535, n)) return std::nullopt;
            c.vPixel = uint16_t(n);
        } else if (key == "edidflags") {
            if (!number(0, 255, n)) return std::nullopt;
            c.edidFlags = uint8_t(n);
        } else if (key == "ignore") {
            if (!number(0, 255, n)) return std::nullopt;
            c.faults.ignored.insert(uint8_t(n));
        } else if (key == "model") {
            if (value.size() != 1 || value[0] < 0x21 || value[0] > 0x7E) {
                error = "\"" + item + "\": model must be one printable letter";
                return std::nullopt;
            }
            c.model = value[0];
        } else if (key == "name") {
            if (value.size() > 13) {
                error = "\"" + item + "\": name has at most 13 characters";
                return std::nullopt;
            }
            c.productName = value;
        } else if (key == "silent" && !hasValue) {
            c.faults.silent = true;
        } else if (key == "fe" && !hasValue) {
            c.faults.answerFE = true;
        } else if (key == "split") {
            c.faults.splitReplies = true;
            if (hasValue) {
                if (!number(1, 60000, n)) return std::nullopt;
                c.faults.splitDelay = std::chrono::milliseconds(n);
            }
        } else if (key == "edid" && (value == "broken" || value == "stuck")) {
            c.faults.edid =
                value == "broken" ? EdidFault::BrokenUntilRepair : EdidFault::AlwaysBroken;
        } else {
            error = "\"" + item + "\" is not a known controller setting";
            return std::nullopt;
        }
    }
    if (!haveCom) {
        error = "\"" + text + "\": com=N is required";
        return std::nullopt;
    }
    return c;
}

} // namespace kztr::sim
