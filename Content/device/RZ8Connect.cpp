// Finding the controllers: the search over every COM number, the second pass that keeps
// one open device link per controller, and the port-register reads that end a connect.
#include "DebugTrace.h"
#include "PortMap.h"
#include "RZ8DeviceLink.h"
#include "RZ8Frames.h"

#include <algorithm>

CRZ8DeviceLink::ProbeResult CRZ8DeviceLink::ProbeCom(int com) {
    CRZ8Ctrl& probe = m_hRZ8Dev[0];
    m_pCurRZ8Dev = &probe;
    if (!probe.OpenPort(com, RZ8_BAUD)) return ProbeResult::NotOpened;
    const bool answered = APIPR_GetRZ8FullData(m_hTmpRZ8Full) != 0;
    probe.ClosePort();
    return answered ? ProbeResult::Answered : ProbeResult::Silent;
}

void CRZ8DeviceLink::APIPR_UARTScanPorts() {
    m_vecBoxPort.clear();
    m_byDevCount = 0;
    for (int n = kztr::kFirstControllerCom; n <= kztr::kLastControllerCom; ++n) {
        RZ8_TRACE("[D]APIPR_UARTOpen search com port=%d\n", n);
        if (ProbeCom(n) == ProbeResult::Answered)
            m_vecBoxPort.emplace_back(m_hTmpRZ8Full.box_id, n);
    }
    m_pCurRZ8Dev = &m_hRZ8Dev[0];
    // Equal box IDs keep their port order; any order would do, this one is repeatable.
    std::stable_sort(m_vecBoxPort.begin(), m_vecBoxPort.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

int CRZ8DeviceLink::APIPR_UARTOpenFoundPorts() {
    int misnumbered = 0;
    for (size_t i = 0; i < m_vecBoxPort.size() && m_byDevCount < kMaxDevices; ++i) {
        const auto& [boxId, port] = m_vecBoxPort[i];
        if (boxId != int(i) + 1) ++misnumbered;
        CRZ8Ctrl& dev = m_hRZ8Dev[m_byDevCount];
        m_pCurRZ8Dev = &dev;
        if (!dev.OpenPort(port, RZ8_BAUD)) continue;
        // A controller that answered the search but not now ends the pass; the ones
        // found before it stay connected, its own port is not kept.
        if (!APIPR_GetRZ8FullData(m_hTmpRZ8Full)) {
            dev.ClosePort();
            break;
        }
        dev.SetFwVer(m_hTmpRZ8Full.fw_ver);
        dev.SetComNumber(uint8_t(port));
        dev.SetBoxId(m_hTmpRZ8Full.box_id);
        ++m_byDevCount;
    }
    RZ8_TRACE("[D]all com port=%d\n", m_byDevCount);
    m_byCurDev = 0;
    m_pCurRZ8Dev = &m_hRZ8Dev[0];
    return misnumbered;
}

int CRZ8DeviceLink::APIPR_UARTGetPortReg() {
    // The trace reads the parameter bytes low byte first.
    const uint8_t* p = m_hTmpRZ8Full.hRZ8Data.flags;
    RZ8_TRACE("[D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_PortReg port=%d add=%x\n", 2,
              unsigned(p[2] | p[3] << 8));
    if (!APIPR_GetRZ8FullData(m_hTmpRZ8Full)) return 0;
    m_hTmpRZ8Full.setParam(RZ8_PARAM_PORTREG_ADDR);
    m_hOldRZ8Full = m_hTmpRZ8Full;
    const uint8_t boxId = m_pCurRZ8Dev ? m_pCurRZ8Dev->GetBoxId() : 0;
    for (uint8_t code : PortRegisterCommands(char(m_hOldRZ8Full.model))) {
        if (!APIPR_SetRZ8FullData(m_hTmpRZ8Full, code, boxId, kCommandPauseMs)) return 0;
    }
    m_hTmpRZ8Full.setParam(0);
    return 1;
}

void CRZ8DeviceLink::CloseAllDeviceLinks() {
    for (CRZ8Ctrl& dev : m_hRZ8Dev)
        dev.ClosePort();
    m_pCurRZ8Dev = &m_hRZ8Dev[0];
}
