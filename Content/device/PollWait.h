#pragma once
// The one wait on a file descriptor the backends use: poll() up to a deadline, with
// interruptions by signals retried, so that no loop of theirs can outlive its deadline.
#include <chrono>

namespace kztr {

using Deadline = std::chrono::steady_clock::time_point;

// Whole milliseconds left until deadline, rounded up; 0 once it has passed.
int msUntil(Deadline deadline);

// Waits until fd has one of events or deadline passes: poll's revents (never 0), 0 when
// the deadline passed first, -1 with errno set when poll itself failed.
int pollUntil(int fd, short events, Deadline deadline);

} // namespace kztr
