#pragma once
// A clock for tests against real pseudo-terminals: real time passes as usual (replies
// take what they take), but a sleep returns at once and moves the clock on instead, so
// protocol pauses cost nothing while reply waits still end when the reply is there.
#include "Clock.h"

#include <chrono>
#include <functional>
#include <mutex>

namespace kztr::test {

class SkippingClock final : public kztr::Clock {
public:
    time_point now() const override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::chrono::steady_clock::now() + m_skipped;
    }
    void sleepFor(std::chrono::milliseconds d) override {
        // What a real pause lets the other side finish (a controller sending a block).
        if (m_fnSettle) m_fnSettle();
        std::lock_guard<std::mutex> lock(m_mutex);
        if (d.count() > 0) m_skipped += d;
    }
    // Runs on every sleep before it is skipped. Set before the clock is used.
    void SetSettle(std::function<void()> settle) { m_fnSettle = std::move(settle); }
    // Time skipped by sleeps so far.
    std::chrono::milliseconds skipped() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_skipped;
    }

private:
    mutable std::mutex m_mutex;
    std::chrono::milliseconds m_skipped{0};
    std::function<void()> m_fnSettle;
};

} // namespace kztr::test
