#pragma once
// Time seam: protocol pauses and limits read and spend time through a Clock, so tests
// run the 1000 ms pauses, 5 s limits and the 9 s reset pause in virtual time.
#include <chrono>

namespace kztr {

using namespace std::chrono_literals;

class Clock {
public:
    using time_point = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual time_point now() const = 0;
    virtual void sleepFor(std::chrono::milliseconds d) = 0;
};

// The real steady clock; shared by everything that is not told otherwise.
Clock& systemClock();

} // namespace kztr
