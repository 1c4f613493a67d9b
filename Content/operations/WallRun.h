#pragma once
// Work on several controllers at the same time: one CtlSession each, so every controller
// has its own port and exchange, on a thread of its own. Sessions share nothing but the
// clock and the log folder; the work collects what it has to say and the caller prints
// it afterwards, on its own thread, in the order of the positions.
#include "CtlSession.h"

#include <cstddef>
#include <functional>

// work(position, session) for positions 0 .. count - 1 at once, each session new, with
// like's log folder and clock, and closed again afterwards. The commands that go out
// together are logged in position order (give the positions in box-ID order), and the
// trace lines of each position come out together, in position order, at the end.
void RunOnEachController(const CtlSession& like, size_t count,
                         const std::function<void(size_t position, CtlSession& session)>& work);
