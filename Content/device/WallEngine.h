#pragma once
// The one wall engine: a job on several controllers at once, each on its own thread and
// its own controller's exchange, that still reads as if the controllers had been done
// one after another in the order given (box-ID order): the logged sends of one round go
// out in that order one right after the other, and each controller's trace lines come
// out together, in that order, when all have ended. The panel, kztrctl and a set of one
// all run through it.
#include "RZ8Exchange.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace kztr {

using WallJob = std::function<void(size_t position, CRZ8Exchange& exchange)>;

// job(p, *members[p]) for every position at the same time; returns when all have ended.
// No two members may be the same exchange. While waiting, pump (when set) runs on the
// calling thread; the members' own pumps stay quiet meanwhile.
void RunOnWall(const std::vector<CRZ8Exchange*>& members, const WallJob& job,
               const std::function<void()>& pump = {});

} // namespace kztr
