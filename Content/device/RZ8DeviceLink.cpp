#include "RZ8DeviceLink.h"

#include "SideBySide.h"

#include <memory>

CRZ8DeviceLink::CRZ8DeviceLink(kztr::Clock& clock) : CRZ8Exchange(clock, *this) {
    m_hCurRZ8Full.hRZ8Data.iVLimit = 45;
    m_hCurRZ8Full.setIHLimit(280);
}

void CRZ8DeviceLink::CloseAllDeviceLinks() {
    for (CRZ8Ctrl& dev : m_hRZ8Dev) {
        dev.ClosePort();
        dev.ClearEdid();
    }
    m_pCurRZ8Dev = &m_hRZ8Dev[0];
}

std::vector<int> CRZ8DeviceLink::OpenControllers() const {
    std::vector<int> out;
    for (int i = 0; i < m_byDevCount && i < kMaxDevices; ++i) {
        const CRZ8Ctrl& dev = m_hRZ8Dev[i];
        if (dev.IsOpen() && dev.GetBoxId() != CRZ8Ctrl::kNoBoxId) out.push_back(i);
    }
    return out;
}

size_t CRZ8DeviceLink::RunOnOpenControllers(const WallJob& job) {
    const std::vector<int> members = OpenControllers();
    if (members.empty()) return 0;
    std::vector<std::unique_ptr<CRZ8Exchange>> exchanges;
    kztr::SendTurns turns(members.size());
    for (size_t p = 0; p < members.size(); ++p) {
        exchanges.push_back(std::make_unique<CRZ8Exchange>(GetClock(), *this));
        exchanges[p]->StartLike(*this, m_hRZ8Dev[members[p]]);
        exchanges[p]->SetSendTurns(&turns, p);
    }
    kztr::RunSideBySide(
        members.size(), [&](size_t p) { job(p, *exchanges[p]); }, MessagePump(), &turns);
    for (const auto& exchange : exchanges)
        TakeRepliesOf(*exchange);
    // As after a walk through them: the last one visited stays current.
    m_byCurDev = uint8_t(members.back());
    m_pCurRZ8Dev = &m_hRZ8Dev[members.back()];
    return members.size();
}
