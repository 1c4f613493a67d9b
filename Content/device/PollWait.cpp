#include "PollWait.h"

#include <cerrno>
#include <poll.h>

namespace kztr {

int msUntil(Deadline deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

int pollUntil(int fd, short events, Deadline deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int ready = ::poll(&p, 1, msUntil(deadline));
        if (ready > 0) return p.revents;
        if (ready == 0) return 0;
        if (errno != EINTR) return -1;
    }
}

} // namespace kztr
