#pragma once
// The device-link state of the main frame and the exchanges built on it: reading a
// reply (with the data block that follows some replies), reading the configuration,
// and sending a command frame. The main frame derives from this class, so the members
// keep the names the rest of the program uses.
#include "Clock.h"
#include "RZ8Ctrl.h"
#include "RZ8Full.h"
#include "RZ8Models.h"
#include "ResolutionCatalogue.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class CRZ8DeviceLink : public CResolutionCatalogue {
public:
    static constexpr int kMaxDevices = 16;
    static constexpr int kEDIDBufferSize = 1280;
    static constexpr int kReplyLimitSeconds = 5;
    static constexpr auto kResetEchoPause = std::chrono::milliseconds(9000);
    static constexpr auto kBlockWait = std::chrono::milliseconds(500);
    static constexpr int kEDIDReadCountCap = 5;
    // Slice of the message-pumping waits: short enough for a responsive panel.
    static constexpr auto kPumpSlice = std::chrono::milliseconds(10);
    // The usual pause between sending a command and reading its echo.
    static constexpr int kCommandPauseMs = 1000;

    explicit CRZ8DeviceLink(kztr::Clock& clock = kztr::systemClock());
    virtual ~CRZ8DeviceLink() = default;
    CRZ8DeviceLink(const CRZ8DeviceLink&) = delete;
    CRZ8DeviceLink& operator=(const CRZ8DeviceLink&) = delete;

    // Run every few milliseconds during every wait of an exchange (pauses, reply waits,
    // the data-block wait), so that a window stays painted while the thread waits. It
    // runs on the waiting thread (a worker during Apply), so a GUI hook should only
    // process events when called on the GUI thread. Without one the waits just block.
    void SetMessagePump(std::function<void()> pump) { m_fnMessagePump = std::move(pump); }
    kztr::Clock& GetClock() const { return m_clock; }
    // Bytes of the last data block read into m_byEDID (it is examined only when whole).
    int GetLastBlockLength() const { return m_nLastBlockLength; }

    // Traces the frame and sends it on the current device link; 0 without one.
    int APIPR_UARTSendData(const void* pData, int nLength);
    // Bytes read from the current device link, never waiting; 0 without one.
    int APIPR_UARTReadData(void* pBuffer, int nCapacity);
    // 1 when a whole reply with byte 0 == byCode arrived within nLimitSeconds and was
    // copied to hOut. Also handles the block after 0x27..0x2F, the pause after a reset
    // echo and the pixel counts of 0x0E/0x0F.
    int APIPR_UARTReadDataAndCheck(RZ8Full& hOut, uint8_t byCode, int nLimitSeconds);
    // Sends the configuration request and waits for the reply; 1 when it came.
    int APIPR_GetRZ8FullData(RZ8Full& hOut);
    // Stamps the header onto hRecord, sends it, logs the summary line, pauses, then waits
    // for the echo. 1 when the controller echoed the command.
    int APIPR_SetRZ8FullData(RZ8Full& hRecord, uint8_t byCode, uint8_t byBoxId, int nPauseMs);
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

    // The daily-log line for a record as sent.
    void APIPR_GetRZ8FullInfoForLogFile(uint8_t byBoxId, const RZ8Full& hRecord, QString& strOut);

    // The four records.
    RZ8Full m_hCurRZ8Full{};
    RZ8Full m_hTmpRZ8Full{};
    RZ8Full m_hOldRZ8Full{};
    RZ8Full m_hDevRZ8Full{};

    // Controllers found, in ascending box-ID order, and the current one.
    CRZ8Ctrl m_hRZ8Dev[kMaxDevices];
    uint8_t m_byDevCount = 0;
    uint8_t m_byCurDev = 0;
    CRZ8Ctrl* m_pCurRZ8Dev = nullptr;
    std::vector<std::pair<int, int>> m_vecBoxPort; // (box ID, COM number)

    // Unlisted until the first connect sets it.
    uint8_t m_hRZ8DevBoxMode = BOXMODE_UNKNOWN;
    uint16_t m_wHPIXEL = 0;
    uint16_t m_wVPIXEL = 0;

    // Receive buffer of the 256-byte blocks, their running checksums, what they told us.
    uint8_t m_byEDID[kEDIDBufferSize] = {};
    uint8_t m_byChecksum0 = 0;
    uint8_t m_byChecksum1 = 0;
    uint8_t m_byChecksumDID = 0;
    uint8_t HV_Polarity = 0;
    int32_t m_iEDIDReadCount = 0;

    // Horizontal blank last shown on the panel, host order; the summary line prints it.
    uint16_t m_wHBlank = 280;
    // Directory of the daily log files.
    QString m_strLogDir;

private:
    // Opens COM com on device link 0, asks for the configuration into m_hTmpRZ8Full and
    // closes the port again.
    ComProbe ProbeCom(int com);
    // Each probe on its own thread and device link; traces them afterwards in COM order.
    std::vector<ComProbe> ProbeAllAtOnce(int first, int last);
    // The reply is whole: pauses, block, field trace and code check.
    int HandleCompleteReply(const uint8_t* area, int nLastRead, RZ8Full& hOut, uint8_t byCode,
                            int nLimit);
    // Reads and examines the block after a 0x27..0x2F reply; 0 when an EDID restore failed.
    int ReceiveDataBlock(uint8_t byReplyCode);
    // Checksums, polarity, read count and the EDID restore; 0 when the restore failed.
    int ExamineDataBlock(uint8_t byReplyCode);
    void WaitWithMessagePump(std::chrono::milliseconds duration);
    // A protocol pause: pumps when a pump is installed, otherwise sleeps.
    void Pause(std::chrono::milliseconds duration);
    // Blocks until input may be queued on the current link or the deadline passes.
    void WaitForInput(kztr::Clock::time_point deadline, bool& bSaidReadable);

    kztr::Clock& m_clock;
    std::function<void()> m_fnMessagePump;
    int m_nLastBlockLength = 0;
};
