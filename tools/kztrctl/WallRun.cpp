#include "WallRun.h"

#include "SideBySide.h"

#include <memory>
#include <vector>

void RunOnEachController(const CtlSession& like, size_t count,
                         const std::function<void(size_t position, CtlSession& session)>& work) {
    if (count == 0) return;
    kztr::SendTurns turns(count);
    // Made and destroyed here, so only the work's own thread touches a session meanwhile.
    std::vector<std::unique_ptr<CtlSession>> sessions;
    for (size_t p = 0; p < count; ++p) {
        sessions.push_back(std::make_unique<CtlSession>(like.m_strLogDir, like.GetClock()));
        sessions[p]->SetSendTurns(&turns, p);
    }
    kztr::RunSideBySide(
        count, [&](size_t p) { work(p, *sessions[p]); }, {}, &turns);
}
