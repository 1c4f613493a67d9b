#pragma once
// Controller-side protocol of one simulated controller, without any I/O: bytes in,
// complete requests and timed output out. Input may arrive in any pieces.
#include "ControllerConfig.h"
#include "RZ8Full.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace kztr::sim {

using SimClock = std::chrono::steady_clock;

// Output to send, delay after the previous emission of the same controller.
struct Emission {
    std::chrono::milliseconds delay{0};
    std::vector<uint8_t> bytes;
};

struct ControllerState {
    RZ8Full config{}; // bytes 4-15 as the controller holds them; 0-3 its header
    uint16_t hPixel = 0;
    uint16_t vPixel = 0;
    bool patternOn = false;
    bool rgbwOn = false;
    int resets = 0;
    int pixelCommits = 0;
    int edidRepairs = 0;
};

class SimController {
public:
    explicit SimController(const ControllerConfig& config);

    // A partial frame left alone this long is dropped before new bytes are taken.
    void setFrameGap(std::chrono::milliseconds gap) { m_frameGap = gap; }

    // Appends every request completed by these bytes to requests and what the controller
    // sends in answer to out.
    void receive(const uint8_t* data, size_t length, SimClock::time_point now,
                 std::vector<std::vector<uint8_t>>& requests, std::vector<Emission>& out);

    const ControllerConfig& config() const { return m_config; }
    void setFaults(const Faults& faults) { m_config.faults = faults; }
    ControllerState state() const;

    static constexpr int kFrameSize = 16;
    static constexpr uint8_t kConfigRequest = 0xFF;
    static constexpr uint8_t kErrorReply = 0xFE;

private:
    void answer(const std::vector<uint8_t>& request, std::vector<Emission>& out);
    // The controller's record with code in byte 0.
    RZ8Full reply(uint8_t code) const;
    void emitReply(const RZ8Full& record, std::vector<Emission>& out) const;

    ControllerConfig m_config;
    RZ8Data m_data{};
    bool m_patternOn = false;
    bool m_rgbwOn = false;
    bool m_edidRepaired = false;
    int m_resets = 0;
    int m_pixelCommits = 0;
    int m_edidRepairs = 0;

    std::vector<uint8_t> m_partial;
    SimClock::time_point m_lastByte{};
    std::chrono::milliseconds m_frameGap{100};
};

} // namespace kztr::sim
