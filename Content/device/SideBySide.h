#pragma once
// Work on several controllers at the same time, one thread each, that still reads as if
// it had been done one after another: each piece's trace lines are held back and traced
// in position order when all have ended, and logged sends take turns in position order.
#include "DebugTrace.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

namespace kztr {

// Turns of the logged sends of exchanges that run side by side: the n-th send of
// position p goes when every position before p has made its n-th send and every one
// after it its (n-1)-th, or has left. So the sends of one round go out in position
// order one right after the other, and the pauses and waits between rounds overlap.
class SendTurns {
public:
    explicit SendTurns(size_t count);
    SendTurns(const SendTurns&) = delete;
    SendTurns& operator=(const SendTurns&) = delete;

    // Blocks until it is position's turn to send.
    void Take(size_t position);
    // The send (and its log line) is done.
    void Give(size_t position);
    // Position sends nothing more: nobody waits for it any longer.
    void Leave(size_t position);

private:
    bool MayGoLocked(size_t position) const;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<int> m_vecSent;
    std::vector<bool> m_vecLeft;
};

// Runs work(0) .. work(count - 1) each on its own thread and returns when all have ended.
// While waiting, pump (when set) runs every few milliseconds on the calling thread, so a
// window stays painted. Then, in position order, beforeTrace(p) runs (when set) and the
// trace lines of work(p) are traced. A piece whose thread cannot be started runs on the
// calling thread afterwards, so a starved system gets the work done one after another.
// With turns, each position leaves them when its work ends (or at once, when it has to
// wait for a thread), so a piece never waits for one that is not running.
void RunSideBySide(size_t count, const std::function<void(size_t)>& work,
                   const std::function<void()>& pump, SendTurns* turns = nullptr,
                   const std::function<void(size_t)>& beforeTrace = {});

} // namespace kztr
