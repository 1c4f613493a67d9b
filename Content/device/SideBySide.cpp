#include "SideBySide.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

namespace kztr {

namespace {
// How often the waiting thread runs its pump.
constexpr auto kPumpSlice = std::chrono::milliseconds(10);
} // namespace

SendTurns::SendTurns(size_t count) : m_vecSent(count, 0), m_vecLeft(count, false) {}

bool SendTurns::MayGoLocked(size_t position) const {
    const int round = m_vecSent[position];
    for (size_t other = 0; other < m_vecSent.size(); ++other) {
        if (other == position || m_vecLeft[other]) continue;
        const int needed = other < position ? round + 1 : round;
        if (m_vecSent[other] < needed) return false;
    }
    return true;
}

void SendTurns::Take(size_t position) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return MayGoLocked(position); });
}

void SendTurns::Give(size_t position) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_vecSent[position];
    m_changed.notify_all();
}

void SendTurns::Leave(size_t position) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vecLeft[position] = true;
    m_changed.notify_all();
}

void RunSideBySide(size_t count, const std::function<void(size_t)>& work,
                   const std::function<void()>& pump, SendTurns* turns,
                   const std::function<void(size_t)>& beforeTrace) {
    std::vector<std::vector<DebugTrace::Line>> traces(count);
    std::mutex mutex;
    std::condition_variable finishedChanged;
    size_t finished = 0;

    const auto runOne = [&](size_t i) {
        TraceHold hold;
        work(i);
        if (turns) turns->Leave(i);
        traces[i] = hold.Take();
    };

    std::vector<std::thread> threads;
    std::vector<size_t> notStarted;
    for (size_t i = 0; i < count; ++i) {
        try {
            threads.emplace_back([&, i] {
                runOne(i);
                std::lock_guard<std::mutex> lock(mutex);
                ++finished;
                finishedChanged.notify_all();
            });
        } catch (const std::system_error&) {
            // Done here afterwards; the others must not wait for its turns meanwhile.
            notStarted.push_back(i);
            if (turns) turns->Leave(i);
            std::lock_guard<std::mutex> lock(mutex);
            ++finished;
        }
    }
    {
        std::unique_lock<std::mutex> lock(mutex);
        const auto allFinished = [&] { return finished == count; };
        while (!allFinished()) {
            if (!pump) {
                finishedChanged.wait(lock, allFinished);
                break;
            }
            lock.unlock();
            pump();
            lock.lock();
            finishedChanged.wait_for(lock, kPumpSlice, allFinished);
        }
    }
    for (std::thread& t : threads)
        t.join();
    for (size_t i : notStarted)
        runOne(i);

    for (size_t i = 0; i < count; ++i) {
        if (beforeTrace) beforeTrace(i);
        for (const DebugTrace::Line& line : traces[i])
            DebugTrace::Emit(line);
    }
}

} // namespace kztr
