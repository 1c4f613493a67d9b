#include "WallEngine.h"

#include "SideBySide.h"

namespace kztr {

void RunOnWall(const std::vector<CRZ8Exchange*>& members, const WallJob& job,
               const std::function<void()>& pump) {
    if (members.empty()) return;
    SendTurns turns(members.size());
    // Joined before the threads start and left after they have ended, so only a
    // member's own thread touches it meanwhile.
    for (size_t p = 0; p < members.size(); ++p)
        members[p]->JoinRun(&turns, p);
    RunSideBySide(
        members.size(), [&](size_t p) { job(p, *members[p]); }, pump, &turns);
    for (CRZ8Exchange* member : members)
        member->LeaveRun();
}

} // namespace kztr
