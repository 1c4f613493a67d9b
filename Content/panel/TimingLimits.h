#pragma once
// What the panel's timing boxes accept; the command-line tool offers the same ranges.

struct TimingLimit {
    int min;
    int max;
};

namespace TimingLimits {
constexpr TimingLimit kVerticalRate{20, 120}; // Hz
constexpr TimingLimit kHorzBlank{40, 1023};
constexpr TimingLimit kHorzOffset{10, 255};
constexpr TimingLimit kHorzSyncWidth{10, 255};
constexpr TimingLimit kVertBlank{6, 255};
constexpr TimingLimit kVertOffset{2, 128};
constexpr TimingLimit kVertSyncWidth{2, 128};
} // namespace TimingLimits
