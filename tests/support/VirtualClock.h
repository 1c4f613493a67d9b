#pragma once
// A clock whose time moves only when someone sleeps on it or advances it, so protocol
// pauses and limits run in no real time.
#include "Clock.h"

#include <chrono>
#include <mutex>

namespace kztr::test {

class VirtualClock final : public kztr::Clock {
public:
    time_point now() const override;
    // Advances the time by d and remembers that a sleep happened.
    void sleepFor(std::chrono::milliseconds d) override;

    void advance(std::chrono::milliseconds d);
    // Moves to t; never backwards.
    void advanceTo(time_point t);

    // Virtual time since construction.
    std::chrono::milliseconds elapsed() const;
    // Number of sleepFor calls and the time they spent.
    int sleepCount() const;
    std::chrono::milliseconds slept() const;

private:
    mutable std::mutex m_mutex;
    time_point m_start{std::chrono::hours(1)};
    time_point m_now{m_start};
    int m_sleepCount = 0;
    std::chrono::milliseconds m_slept{0};
};

} // namespace kztr::test
