#pragma once
// Simulated controllers on pseudo-terminals. Each controller's terminal is linked as
// <dir>/COM<n>; with RZ8_PORT_DIR=<dir> the device link reaches it through the real
// serial code. One thread serves every controller, waiting in poll().
#include "ControllerConfig.h"
#include "SimController.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kztr::sim {

struct Request {
    SimClock::time_point when; // arrival of the request's last byte
    int com = 0;
    std::vector<uint8_t> bytes; // the single 0xFF byte or a 16-byte frame
};

class Rz8Simulator {
public:
    Rz8Simulator() = default;
    ~Rz8Simulator();
    Rz8Simulator(const Rz8Simulator&) = delete;
    Rz8Simulator& operator=(const Rz8Simulator&) = delete;

    // Before start(); false (see error()) when the COM number is taken.
    bool addController(const ControllerConfig& config);
    // Requests are also written to this file, one line each, as they arrive.
    bool setRecordFile(const std::string& path);
    void setFrameGap(std::chrono::milliseconds gap) { m_frameGap = gap; }

    // Creates the terminals and their links in dir (created if missing) and starts
    // serving. On failure nothing is left behind and error() says why.
    bool start(const std::string& dir);
    // Stops serving, removes the links and closes the terminals.
    void stop();
    bool running() const { return m_thread.joinable(); }
    const std::string& error() const { return m_error; }

    std::string linkPath(int com) const;

    // Requests received so far, in order; com 0 = every controller.
    std::vector<Request> requests(int com = 0) const;
    void clearRequests();
    // Waits until at least count requests (of com, 0 = any) have been received.
    bool waitForRequests(size_t count, std::chrono::milliseconds limit, int com = 0) const;

    // For tests that skip the protocol's pauses: waits until every controller has taken
    // all its input and sent all it had to send, and what it sent has reached the other
    // end of its terminal, as a real pause would have let it. False when the limit ran
    // out first.
    bool waitSettled(std::chrono::milliseconds limit);

    // Fault switches can change while running.
    bool setFaults(int com, const Faults& faults);
    std::optional<ControllerState> state(int com) const;

private:
    struct Pending {
        SimClock::time_point due;
        std::vector<uint8_t> bytes;
        size_t sent = 0;
    };
    struct Port {
        std::unique_ptr<SimController> controller;
        int master = -1;
        int slave = -1;
        std::string slavePath;
        std::string link;
        std::vector<Pending> pending; // in order of due time
        bool blocked = false;         // the terminal refused output; wait for POLLOUT
    };

    void run();
    void serveInput(Port& port, int com);
    void flushOutput(Port& port, SimClock::time_point now);
    void record(const Request& request);
    void closePorts();
    void wake();

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_requestArrived;
    std::map<int, Port> m_ports;
    std::vector<Request> m_requests;
    size_t m_bytesSent = 0;                // to every terminal so far
    std::atomic<size_t> m_bytesSettled{0}; // as far as waitSettled saw them arrive
    std::FILE* m_recordFile = nullptr;
    std::chrono::milliseconds m_frameGap{100};
    SimClock::time_point m_started{};

    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    std::string m_error;
};

} // namespace kztr::sim
