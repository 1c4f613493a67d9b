#include "WallRun.h"

#include "WallEngine.h"

#include <memory>
#include <vector>

void RunOnEachController(const CtlSession& like, size_t count,
                         const std::function<void(size_t position, CtlSession& session)>& work) {
    // Made and destroyed here, so only the work's own thread touches a session meanwhile.
    std::vector<std::unique_ptr<CtlSession>> sessions;
    std::vector<CRZ8Exchange*> members;
    for (size_t p = 0; p < count; ++p) {
        sessions.push_back(std::make_unique<CtlSession>(like.m_strLogDir, like.GetClock()));
        members.push_back(&sessions[p]->Exchange());
    }
    kztr::RunOnWall(members, [&](size_t p, CRZ8Exchange&) { work(p, *sessions[p]); });
}
