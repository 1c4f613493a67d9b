#pragma once
// The device links of the main frame: the sixteen controllers' links, each with its own
// exchange for life, the records the panel works on, finding and connecting the
// controllers, and wall-wide work that runs on every controller at once. The exchange
// entry points of the panel go to the current controller's exchange, the one the panel
// shows; the main frame derives from this class, so the members keep the names the rest
// of the program uses.
#include "ComScan.h"
#include "RZ8Exchange.h"
#include "RZ8Records.h"
#include "WallEngine.h"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// The panel's box mode (m_hRZ8DevBoxMode) comes from the model of the controller the
// connect reads first.
class CRZ8DeviceLink : public CResolutionCatalogue, public CRZ8FrameWide, public CRZ8Records {
public:
    static constexpr int kMaxDevices = 16;
    static constexpr int kCommandPauseMs = CRZ8Exchange::kCommandPauseMs;

    explicit CRZ8DeviceLink(kztr::Clock& clock = kztr::systemClock());
    virtual ~CRZ8DeviceLink() = default;
    CRZ8DeviceLink(const CRZ8DeviceLink&) = delete;
    CRZ8DeviceLink& operator=(const CRZ8DeviceLink&) = delete;

    kztr::Clock& GetClock() const { return m_clock; }
    // Installed on every controller's exchange (see CRZ8Exchange::SetMessagePump).
    void SetMessagePump(std::function<void()> pump);
    const std::function<void()>& MessagePump() const { return m_fnMessagePump; }

    // Controller i's exchange; it talks on m_hRZ8Dev[i] only.
    CRZ8Exchange& ExchangeOf(int i) const { return *m_exchanges[size_t(i)]; }
    // The exchange of the controller the panel shows.
    CRZ8Exchange& CurrentExchange() const { return ExchangeOf(m_byCurDev); }
    // Makes controller i the one the panel shows and acts on. Only the thread that owns
    // the panel calls it, never while a wall-wide run has the controllers.
    void SetCurrentDevice(int i);
    // After a wall-wide action on members (entries of m_hRZ8Dev, in box-ID order) the last
    // one is current, as after going through them one by one; run on the panel's thread
    // once the action has ended.
    void MakeLastCurrent(const std::vector<int>& members);

    // The exchange entry points of the panel, on the current controller's exchange.
    int APIPR_UARTSendData(const void* pData, int nLength) {
        return CurrentExchange().APIPR_UARTSendData(pData, nLength);
    }
    int APIPR_UARTReadData(void* pBuffer, int nCapacity) {
        return CurrentExchange().APIPR_UARTReadData(pBuffer, nCapacity);
    }
    int APIPR_UARTReadDataAndCheck(RZ8Full& hOut, uint8_t byCode, int nLimitSeconds) {
        return CurrentExchange().APIPR_UARTReadDataAndCheck(hOut, byCode, nLimitSeconds);
    }
    int APIPR_GetRZ8FullData(RZ8Full& hOut) { return CurrentExchange().APIPR_GetRZ8FullData(hOut); }
    int APIPR_SetRZ8FullData(RZ8Full& hRecord, uint8_t byCode, uint8_t byBoxId, int nPauseMs) {
        return CurrentExchange().APIPR_SetRZ8FullData(hRecord, byCode, byBoxId, nPauseMs);
    }
    void APIPR_GetRZ8FullInfoForLogFile(uint8_t byBoxId, const RZ8Full& hRecord, QString& strOut) {
        CurrentExchange().APIPR_GetRZ8FullInfoForLogFile(byBoxId, hRecord, strOut);
    }

    using ProbeResult = kztr::ProbeResult;
    using ComProbe = kztr::ComProbe;
    using ScanOrder = kztr::ScanOrder;
    // Probes COM first..last (see kztr::ScanComs); m_hTmpRZ8Full holds the last reply.
    std::vector<ComProbe> ScanComs(int first, int last, ScanOrder order = ScanOrder::AllAtOnce);
    // The connect's search over COM1 to COM15: fills m_vecBoxPort with (box ID, COM)
    // of every controller that answered, sorted by box ID.
    void APIPR_UARTScanPorts(ScanOrder order = ScanOrder::AllAtOnce);
    // The connect's second pass over m_vecBoxPort: opens one device link per controller
    // that answers again, stopping at the first silent one. Sets m_byDevCount and makes
    // device link 0 current. Returns how many pairs did not carry box ID position + 1.
    int APIPR_UARTOpenFoundPorts();
    // Reads the port registers of the current controller's model; 1 when every read
    // was answered.
    int APIPR_UARTGetPortReg();
    // Closes all sixteen device links and forgets their controllers; device link 0
    // becomes current.
    void CloseAllDeviceLinks();

    // Entries of m_hRZ8Dev that wall-wide work goes to, in box-ID order: the open ones
    // with a box ID, among the first m_byDevCount.
    std::vector<int> OpenControllers() const;
    // Wall-wide work: job(position, exchange) for every controller of OpenControllers()
    // at the same time, each on its own thread and its own controller's exchange. The
    // frames of one round go out in box-ID order; trace lines come out per controller in
    // box-ID order afterwards. Which controller is current does not change (see
    // MakeLastCurrent). The message pump runs on the calling thread while
    // it waits. Returns how many controllers took part.
    size_t RunOnOpenControllers(const kztr::WallJob& job);
    // The same for the entries of m_hRZ8Dev given, in the order given: the one-controller
    // actions are this with a set of one.
    void RunOnControllers(const std::vector<int>& members, const kztr::WallJob& job);

    // Controllers found, in ascending box-ID order, and the current one. Both are changed
    // only through SetCurrentDevice.
    CRZ8Ctrl m_hRZ8Dev[kMaxDevices];
    uint8_t m_byDevCount = 0;
    uint8_t m_byCurDev = 0;
    CRZ8Ctrl* m_pCurRZ8Dev = &m_hRZ8Dev[0];
    std::vector<std::pair<int, int>> m_vecBoxPort; // (box ID, COM number)

private:
    kztr::Clock& m_clock;
    std::function<void()> m_fnMessagePump;
    std::array<std::unique_ptr<CRZ8Exchange>, kMaxDevices> m_exchanges;
};
