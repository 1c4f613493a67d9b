#pragma once
// Scripted serial ports in virtual time. A FakeSerialBus installs itself as the backend
// factory; COM<n> opens only if the test made a line for n. Each line records every
// write and answers by rules: "after a write matching X, make bytes Y available D later".
// Waiting for input moves the virtual clock to the next arrival (or by the whole limit),
// so a test never sleeps for real.
#include "SerialBackend.h"
#include "VirtualClock.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace kztr::test {

using Bytes = std::vector<uint8_t>;

struct ScheduledBytes {
    std::chrono::milliseconds delay; // after the write that caused them
    Bytes bytes;
};

class FakeSerialLine {
public:
    using Matcher = std::function<bool(const Bytes& written)>;
    using Responder = std::function<std::vector<ScheduledBytes>(const Bytes& written)>;
    struct Written {
        Bytes bytes;
        std::chrono::milliseconds at; // virtual time of the write
    };

    explicit FakeSerialLine(VirtualClock& clock) : m_clock(clock) {}

    // Rules are tried in the order added; the first match answers. times < 0: no limit.
    FakeSerialLine& onWrite(Matcher match, Responder respond, int times = -1);
    // Shorthand: a fixed answer after a delay.
    FakeSerialLine& onWrite(Matcher match, std::vector<ScheduledBytes> answer, int times = -1);

    // A frame whose byte 0 is code, or the one-byte request when code is 0xFF.
    static Matcher command(uint8_t code);
    static Matcher exactly(Bytes bytes);
    static Matcher any();

    // Bytes that arrive without being asked for, delay from now.
    void feed(Bytes bytes, std::chrono::milliseconds delay = std::chrono::milliseconds(0));

    void setOpenFails(bool fails);
    void setWriteFails(bool fails);
    // Runs inside every open, before it succeeds or fails: an open that takes its time.
    void setDuringOpen(std::function<void()> during);

    std::vector<Written> writes() const;
    // Writes whose byte 0 is code.
    int writeCount(uint8_t code) const;
    int waitCalls() const;
    bool isOpen() const;
    // Arrived and not yet read.
    int queuedNow() const;

    // The port's side, used by the backend.
    bool open();
    void close();
    int bytesQueued();
    int read(uint8_t* buffer, int capacity);
    int write(const uint8_t* data, int length);
    bool waitReadable(std::chrono::milliseconds limit);

private:
    struct Rule {
        Matcher match;
        Responder respond;
        int remaining;
    };
    struct Chunk {
        Clock::time_point at;
        Bytes bytes;
    };
    void scheduleLocked(Clock::time_point at, Bytes bytes);
    int arrivedLocked() const;

    VirtualClock& m_clock;
    mutable std::mutex m_mutex;
    std::vector<Rule> m_rules;
    std::vector<Chunk> m_pending; // ordered by arrival
    std::vector<Written> m_writes;
    bool m_open = false;
    bool m_openFails = false;
    std::function<void()> m_duringOpen;
    bool m_writeFails = false;
    int m_waitCalls = 0;
};

class FakeSerialBackend final : public kztr::SerialBackend {
public:
    using LineLookup = std::function<std::shared_ptr<FakeSerialLine>(int comNumber)>;
    explicit FakeSerialBackend(LineLookup lookup) : m_lookup(std::move(lookup)) {}

    bool open(int comNumber, int baudRate) override;
    void close() override;
    int bytesQueued() override;
    int read(uint8_t* buffer, int capacity) override;
    int write(const uint8_t* data, int length, std::chrono::milliseconds limit) override;
    kztr::WaitResult waitReadable(std::chrono::milliseconds limit) override;

private:
    LineLookup m_lookup;
    std::shared_ptr<FakeSerialLine> m_line;
};

// Installs the fake backend for ports constructed while it lives.
class FakeSerialBus {
public:
    explicit FakeSerialBus(VirtualClock& clock);
    ~FakeSerialBus();
    FakeSerialBus(const FakeSerialBus&) = delete;
    FakeSerialBus& operator=(const FakeSerialBus&) = delete;

    // The line behind COM<comNumber>, made on first use.
    FakeSerialLine& line(int comNumber);

private:
    VirtualClock& m_clock;
    std::shared_ptr<std::mutex> m_mutex = std::make_shared<std::mutex>();
    std::shared_ptr<std::map<int, std::shared_ptr<FakeSerialLine>>> m_lines =
        std::make_shared<std::map<int, std::shared_ptr<FakeSerialLine>>>();
};

} // namespace kztr::test
