#include "Clock.h"

#include <thread>

namespace kztr {
namespace {
class SteadyClock final : public Clock {
public:
    time_point now() const override { return std::chrono::steady_clock::now(); }
    void sleepFor(std::chrono::milliseconds d) override { std::this_thread::sleep_for(d); }
};
} // namespace

Clock& systemClock() {
    static SteadyClock clock;
    return clock;
}

} // namespace kztr
