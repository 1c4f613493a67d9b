#pragma once
// What one simulated controller is and how it misbehaves.
#include <chrono>
#include <cstdint>
#include <set>
#include <string>

namespace kztr::sim {

enum class EdidFault {
    None,
    BrokenUntilRepair, // header byte 7 wrong until the controller is asked to restore it
    AlwaysBroken,      // restoring does not help
};

struct Faults {
    bool silent = false;       // answers nothing at all
    bool answerFE = false;     // every 16-byte frame is answered with code 0xFE
    bool splitReplies = false; // 16-byte replies leave as 15 bytes, a pause, then 1 byte
    std::chrono::milliseconds splitDelay{20};
    EdidFault edid = EdidFault::None;
    std::set<uint8_t> ignored; // request codes that are never answered (0xFF included)
};

struct ControllerConfig {
    int com = 0;       // linked as COM<com>
    uint8_t boxId = 1; // 0xFF = no ID
    char model = 'C';
    uint8_t fwVer = 1;
    uint16_t hPixel = 1920;   // reported on 0x0E, set by 0x0C
    uint16_t vPixel = 1080;   // reported on 0x0F, set by 0x0D
    uint8_t edidFlags = 0x1E; // byte 71: flags of the first detailed timing
    std::string productName = "RZ8 SIM";
    Faults faults;
};

} // namespace kztr::sim
