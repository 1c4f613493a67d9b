#pragma once
// The device links of the main frame: the sixteen controllers' links, the records the
// panel works on, finding and connecting the controllers, and wall-wide work that runs
// on every controller at once. The frame's own exchange (the base) talks on the current
// controller's link, the one the panel shows; the main frame derives from this class,
// so the members keep the names the rest of the program uses.
#include "RZ8Exchange.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class CRZ8DeviceLink : public CResolutionCatalogue, public CRZ8Exchange {
public:
    static constexpr int kMaxDevices = 16;

    explicit CRZ8DeviceLink(kztr::Clock& clock = kztr::systemClock());
    ~CRZ8DeviceLink() override = default;

    // What a probe of one COM number found.
    enum class ProbeResult { NotOpened, Silent, Answered };
    struct ComProbe {
        int com = 0;
        ProbeResult result = ProbeResult::NotOpened;
        int openError = 0; // errno when the port did not open, 0 when not known
        RZ8Full reply{};   // the configuration, when answered
    };
    // How a search takes the COM numbers: all at the same time (a silent port costs its
    // 5 s once, not once each), or one after another on device link 0.
    enum class ScanOrder { AllAtOnce, OneByOne };
    // Probes COM first..last: opens each, asks for its configuration and closes it
    // again. Results, trace lines and the record left in m_hTmpRZ8Full (the last reply)
    // are those of probing one after another in COM order, whichever the order.
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
    // Closes all sixteen device links; device link 0 becomes current.
    void CloseAllDeviceLinks();

    // Entries of m_hRZ8Dev that wall-wide work goes to, in box-ID order: the open ones
    // with a box ID, among the first m_byDevCount.
    std::vector<int> OpenControllers() const;
    // Wall-wide work: job(position, exchange) for every controller of OpenControllers()
    // at the same time, each on its own thread and its own exchange, started like the
    // frame's (see CRZ8Exchange::StartLike). The frames of one round go out in box-ID
    // order; trace lines come out per controller in box-ID order afterwards; what the
    // replies changed is taken over in box-ID order; the last controller is current
    // afterwards, as after going through them one after another. The message pump runs
    // on the calling thread while it waits. Returns how many controllers took part.
    using WallJob = std::function<void(size_t position, CRZ8Exchange& exchange)>;
    size_t RunOnOpenControllers(const WallJob& job);

    // The three records of the panel (the fourth, m_hTmpRZ8Full, is the exchange's).
    RZ8Full m_hCurRZ8Full{};
    RZ8Full m_hOldRZ8Full{};
    RZ8Full m_hDevRZ8Full{};

    // Controllers found, in ascending box-ID order, and the current one.
    CRZ8Ctrl m_hRZ8Dev[kMaxDevices];
    uint8_t m_byDevCount = 0;
    uint8_t m_byCurDev = 0;
    std::vector<std::pair<int, int>> m_vecBoxPort; // (box ID, COM number)

private:
    // Opens COM com on device link 0, asks for the configuration into m_hTmpRZ8Full and
    // closes the port again.
    ComProbe ProbeCom(int com);
    // Each probe on its own thread and device link; traces them afterwards in COM order.
    std::vector<ComProbe> ProbeAllAtOnce(int first, int last);
};
