#include "FakeSerialBackend.h"

#include <algorithm>

namespace kztr::test {

FakeSerialLine& FakeSerialLine::onWrite(Matcher match, Responder respond, int times) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_rules.push_back({std::move(match), std::move(respond), times});
    return *this;
}

FakeSerialLine& FakeSerialLine::onWrite(Matcher match, std::vector<ScheduledBytes> answer,
                                        int times) {
    return onWrite(
        std::move(match), [answer](const Bytes&) { return answer; }, times);
}

FakeSerialLine::Matcher FakeSerialLine::command(uint8_t code) {
    return [code](const Bytes& w) {
        if (code == 0xFF) return w.size() == 1 && w[0] == 0xFF;
        return w.size() > 1 && w[0] == code;
    };
}

FakeSerialLine::Matcher FakeSerialLine::exactly(Bytes bytes) {
    return [bytes](const Bytes& w) { return w == bytes; };
}

FakeSerialLine::Matcher FakeSerialLine::any() {
    return [](const Bytes&) { return true; };
}

void FakeSerialLine::feed(Bytes bytes, std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> lock(m_mutex);
    scheduleLocked(m_clock.now() + delay, std::move(bytes));
}

void FakeSerialLine::scheduleLocked(Clock::time_point at, Bytes bytes) {
    if (bytes.empty()) return;
    // After every chunk due at the same time or earlier: equal times keep their order.
    auto pos = std::upper_bound(m_pending.begin(), m_pending.end(), at,
                                [](Clock::time_point t, const Chunk& c) { return t < c.at; });
    m_pending.insert(pos, Chunk{at, std::move(bytes)});
}

void FakeSerialLine::setOpenFails(bool fails) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_openFails = fails;
}

void FakeSerialLine::setDuringOpen(std::function<void()> during) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_duringOpen = std::move(during);
}

void FakeSerialLine::setWriteFails(bool fails) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_writeFails = fails;
}

std::vector<FakeSerialLine::Written> FakeSerialLine::writes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_writes;
}

int FakeSerialLine::writeCount(uint8_t code) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(std::count_if(m_writes.begin(), m_writes.end(), [code](const Written& w) {
        return !w.bytes.empty() && w.bytes[0] == code;
    }));
}

int FakeSerialLine::waitCalls() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_waitCalls;
}

bool FakeSerialLine::isOpen() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open;
}

int FakeSerialLine::queuedNow() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return arrivedLocked();
}

int FakeSerialLine::arrivedLocked() const {
    const auto now = m_clock.now();
    int n = 0;
    for (const Chunk& c : m_pending) {
        if (c.at > now) break;
        n += int(c.bytes.size());
    }
    return n;
}

bool FakeSerialLine::open() {
    std::function<void()> during;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        during = m_duringOpen;
    }
    if (during) during();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_openFails || m_open) return false; // a real port refuses a second opener
    m_open = true;
    return true;
}

void FakeSerialLine::close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = false;
}

int FakeSerialLine::bytesQueued() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return arrivedLocked();
}

int FakeSerialLine::read(uint8_t* buffer, int capacity) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto now = m_clock.now();
    int copied = 0;
    while (copied < capacity && !m_pending.empty() && m_pending.front().at <= now) {
        Bytes& front = m_pending.front().bytes;
        const int take = std::min(capacity - copied, int(front.size()));
        std::copy_n(front.begin(), take, buffer + copied);
        copied += take;
        front.erase(front.begin(), front.begin() + take);
        if (front.empty()) m_pending.erase(m_pending.begin());
    }
    return copied;
}

int FakeSerialLine::write(const uint8_t* data, int length) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_writeFails) return 0;
    const Bytes written(data, data + length);
    const auto now = m_clock.now();
    m_writes.push_back({written, m_clock.elapsed()});
    for (Rule& rule : m_rules) {
        if (rule.remaining == 0 || !rule.match(written)) continue;
        if (rule.remaining > 0) --rule.remaining;
        for (ScheduledBytes& s : rule.respond(written))
            scheduleLocked(now + s.delay, s.bytes);
        break;
    }
    return length;
}

bool FakeSerialLine::waitReadable(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(m_mutex);
    ++m_waitCalls;
    if (arrivedLocked() > 0) return true;
    const auto until = m_clock.now() + limit;
    if (!m_pending.empty() && m_pending.front().at <= until) {
        const auto at = m_pending.front().at;
        lock.unlock();
        m_clock.advanceTo(at);
        return true;
    }
    lock.unlock();
    m_clock.advanceTo(until);
    return false;
}

bool FakeSerialBackend::open(int comNumber, int /*baudRate*/) {
    std::shared_ptr<FakeSerialLine> line = m_lookup(comNumber);
    if (!line || !line->open()) return false;
    m_line = std::move(line);
    return true;
}

void FakeSerialBackend::close() {
    if (m_line) m_line->close();
    m_line.reset();
}

int FakeSerialBackend::bytesQueued() {
    return m_line ? m_line->bytesQueued() : -1;
}

int FakeSerialBackend::read(uint8_t* buffer, int capacity) {
    return m_line ? m_line->read(buffer, capacity) : -1;
}

int FakeSerialBackend::write(const uint8_t* data, int length, std::chrono::milliseconds) {
    return m_line ? m_line->write(data, length) : -1;
}

kztr::WaitResult FakeSerialBackend::waitReadable(std::chrono::milliseconds limit) {
    if (!m_line) return kztr::WaitResult::Failed;
    return m_line->waitReadable(limit) ? kztr::WaitResult::Readable : kztr::WaitResult::TimedOut;
}

FakeSerialBus::FakeSerialBus(VirtualClock& clock) : m_clock(clock) {
    auto mutex = m_mutex;
    auto lines = m_lines;
    kztr::setSerialBackendFactory([mutex, lines]() {
        return std::make_unique<FakeSerialBackend>(
            [mutex, lines](int com) -> std::shared_ptr<FakeSerialLine> {
                std::lock_guard<std::mutex> lock(*mutex);
                auto it = lines->find(com);
                return it == lines->end() ? nullptr : it->second;
            });
    });
}

FakeSerialBus::~FakeSerialBus() {
    kztr::setSerialBackendFactory({});
}

FakeSerialLine& FakeSerialBus::line(int comNumber) {
    std::lock_guard<std::mutex> lock(*m_mutex);
    auto& slot = (*m_lines)[comNumber];
    if (!slot) slot = std::make_shared<FakeSerialLine>(m_clock);
    return *slot;
}

} // namespace kztr::test
