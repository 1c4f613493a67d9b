#include "RZ8DeviceLink.h"

#include "WallEngine.h"

#include <memory>

CRZ8DeviceLink::CRZ8DeviceLink(kztr::Clock& clock) : m_clock(clock) {
    for (int i = 0; i < kMaxDevices; ++i)
        m_exchanges[size_t(i)] = std::make_unique<CRZ8Exchange>(clock, *this, *this, m_hRZ8Dev[i]);
    m_hCurRZ8Full.hRZ8Data.iVLimit = 45;
    m_hCurRZ8Full.setIHLimit(280);
}

void CRZ8DeviceLink::SetMessagePump(std::function<void()> pump) {
    m_fnMessagePump = std::move(pump);
    for (const auto& exchange : m_exchanges)
        exchange->SetMessagePump(m_fnMessagePump);
}

void CRZ8DeviceLink::SetCurrentDevice(int i) {
    if (i < 0 || i >= kMaxDevices) return;
    m_byCurDev = uint8_t(i);
    m_pCurRZ8Dev = &m_hRZ8Dev[i];
}

void CRZ8DeviceLink::MakeLastCurrent(const std::vector<int>& members) {
    if (!members.empty()) SetCurrentDevice(members.back());
}

void CRZ8DeviceLink::CloseAllDeviceLinks() {
    for (int i = 0; i < kMaxDevices; ++i) {
        m_hRZ8Dev[i].ClosePort();
        m_hRZ8Dev[i].ClearEdid();
        ExchangeOf(i).Forget();
    }
    SetCurrentDevice(0);
}

std::vector<int> CRZ8DeviceLink::OpenControllers() const {
    std::vector<int> out;
    for (int i = 0; i < m_byDevCount && i < kMaxDevices; ++i) {
        const CRZ8Ctrl& dev = m_hRZ8Dev[i];
        if (dev.IsOpen() && dev.GetBoxId() != CRZ8Ctrl::kNoBoxId) out.push_back(i);
    }
    return out;
}

size_t CRZ8DeviceLink::RunOnOpenControllers(const kztr::WallJob& job) {
    const std::vector<int> members = OpenControllers();
    RunOnControllers(members, job);
    return members.size();
}

void CRZ8DeviceLink::RunOnControllers(const std::vector<int>& members, const kztr::WallJob& job) {
    std::vector<CRZ8Exchange*> exchanges;
    for (int m : members)
        exchanges.push_back(&ExchangeOf(m));
    kztr::RunOnWall(exchanges, job, MessagePump());
}
