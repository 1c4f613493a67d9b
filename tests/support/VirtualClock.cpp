#include "VirtualClock.h"

namespace kztr::test {

VirtualClock::time_point VirtualClock::now() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_now;
}

void VirtualClock::sleepFor(std::chrono::milliseconds d) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_sleepCount;
    if (d.count() > 0) {
        m_slept += d;
        m_now += d;
    }
}

void VirtualClock::advance(std::chrono::milliseconds d) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (d.count() > 0) m_now += d;
}

void VirtualClock::advanceTo(time_point t) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (t > m_now) m_now = t;
}

std::chrono::milliseconds VirtualClock::elapsed() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::chrono::duration_cast<std::chrono::milliseconds>(m_now - m_start);
}

int VirtualClock::sleepCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sleepCount;
}

std::chrono::milliseconds VirtualClock::slept() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_slept;
}

} // namespace kztr::test
