// Finding the controllers: the search over every COM number, the second pass that keeps
// one open device link per controller, and the port-register reads that end a connect.
#include "DebugTrace.h"
#include "PortMap.h"
#include "RZ8DeviceLink.h"
#include "RZ8Frames.h"
#include "SideBySide.h"

#include <algorithm>
#include <functional>

using namespace std::chrono_literals;

namespace {
// One place, so that both search orders trace it from the same source line.
void TraceSearch(int com) {
    RZ8_TRACE("[D]APIPR_UARTOpen search com port=%d\n", com);
}

// Opens COM com on the exchange's port, asks for the configuration and closes the port again.
kztr::ComProbe Probe(CRZ8Exchange& exchange, int com) {
    CRZ8Ctrl& port = exchange.Device();
    kztr::ComProbe result;
    result.com = com;
    if (!port.OpenPort(com, RZ8_BAUD)) {
        result.openError = port.LastError();
        return result;
    }
    RZ8Full reply{};
    const bool answered = exchange.APIPR_GetRZ8FullData(reply) != 0;
    port.ClosePort();
    result.result = answered ? kztr::ProbeResult::Answered : kztr::ProbeResult::Silent;
    if (answered) result.reply = reply;
    return result;
}

// A network port's name lookup and connect may take up to their limit: with a window to
// keep painted they run on a thread of their own while its message pump runs.
bool OpenPumping(CRZ8Ctrl& dev, int com, const std::function<void()>& pump) {
    if (!pump) return dev.OpenPort(com, RZ8_BAUD) != 0;
    bool opened = false;
    kztr::RunSideBySide(
        1, [&](size_t) { opened = dev.OpenPort(com, RZ8_BAUD) != 0; }, pump);
    return opened;
}
} // namespace

std::vector<kztr::ComProbe> kztr::ScanComs(Clock& clock, const CResolutionCatalogue& catalogue,
                                           CRZ8FrameWide& frame, int first, int last,
                                           ScanOrder order, const std::function<void()>& pump,
                                           RZ8Full* lastReply) {
    const size_t count = size_t(std::max(0, last - first + 1));
    std::vector<ComProbe> probes(count);
    // A port and an exchange of its own for each probe, so nothing of a probe is shared.
    const auto probe = [&](size_t i) {
        CRZ8Ctrl port;
        CRZ8Exchange exchange(clock, catalogue, frame, port);
        if (order == ScanOrder::OneByOne) exchange.SetMessagePump(pump);
        probes[i] = Probe(exchange, first + int(i));
    };
    if (order == ScanOrder::AllAtOnce) {
        RunSideBySide(count, probe, pump, nullptr, [&](size_t i) { TraceSearch(probes[i].com); });
    } else {
        for (size_t i = 0; i < count; ++i) {
            TraceSearch(first + int(i));
            probe(i);
        }
    }
    if (lastReply)
        for (const ComProbe& p : probes)
            if (p.result == ProbeResult::Answered) *lastReply = p.reply;
    return probes;
}

std::vector<CRZ8DeviceLink::ComProbe> CRZ8DeviceLink::ScanComs(int first, int last,
                                                               ScanOrder order) {
    std::vector<ComProbe> probes =
        kztr::ScanComs(GetClock(), *this, *this, first, last, order, MessagePump(), &m_hTmpRZ8Full);
    SetCurrentDevice(0);
    return probes;
}

void CRZ8DeviceLink::APIPR_UARTScanPorts(ScanOrder order) {
    m_vecBoxPort.clear();
    m_byDevCount = 0;
    for (const ComProbe& probe :
         ScanComs(kztr::kFirstControllerCom, kztr::kLastControllerCom, order))
        if (probe.result == ProbeResult::Answered)
            m_vecBoxPort.emplace_back(probe.reply.box_id, probe.com);
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
        SetCurrentDevice(m_byDevCount);
        if (!OpenPumping(dev, port, MessagePump())) continue;
        // The link may have served another controller before.
        dev.ClearEdid();
        CurrentExchange().Forget();
        // A controller that answered the search but not now ends the pass; the ones
        // found before it stay connected, its own port is not kept.
        if (!APIPR_GetRZ8FullData(m_hTmpRZ8Full)) {
            dev.ClosePort();
            break;
        }
        dev.SetFwVer(m_hTmpRZ8Full.fw_ver);
        dev.SetComNumber(uint8_t(port));
        dev.SetBoxId(m_hTmpRZ8Full.box_id);
        CurrentExchange().SetBoxMode(BoxModeFromModelLetter(char(m_hTmpRZ8Full.model)));
        ++m_byDevCount;
    }
    RZ8_TRACE("[D]all com port=%d\n", m_byDevCount);
    SetCurrentDevice(0);
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
