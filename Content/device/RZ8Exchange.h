#pragma once
// One controller's exchange: the link it talks on, for life, and what its replies leave
// behind (the last data block and its sums, the pixel counts). Sending a command frame,
// reading a reply and the configuration all run on one exchange, so exchanges with
// different controllers can run side by side, each on its own thread; never two at
// once on one.
#include "Clock.h"
#include "RZ8Ctrl.h"
#include "RZ8Full.h"
#include "RZ8Models.h"
#include "ResolutionCatalogue.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <utility>

namespace kztr {
class SendTurns;
}

// What the panel keeps across its controllers, shared by every exchange of one device
// link. Each field is frame-wide because the panel treats it so: one EDID read budget
// until the next connect whichever controller sends blocks, one polarity on the model
// label whichever EDID last gave it, and the blank the panel last showed, which every
// controller's daily-log line prints. Exchanges on other threads read and count them,
// hence atomics.
struct CRZ8FrameWide {
    std::atomic<int32_t> m_iEDIDReadCount{0};
    std::atomic<uint8_t> HV_Polarity{0};
    // Horizontal blank last shown on the panel, host order.
    std::atomic<uint16_t> m_wHBlank{280};
    // Directory of the daily log files: set before any exchange runs, only read after.
    QString m_strLogDir;
};

class CRZ8Exchange {
public:
    static constexpr int kEDIDBufferSize = 1280;
    static constexpr int kReplyLimitSeconds = 5;
    static constexpr auto kResetEchoPause = std::chrono::milliseconds(9000);
    static constexpr auto kBlockWait = std::chrono::milliseconds(500);
    static constexpr int kEDIDReadCountCap = 5;
    // Slice of the message-pumping waits: short enough for a responsive panel.
    static constexpr auto kPumpSlice = std::chrono::milliseconds(10);
    // The usual pause between sending a command and reading its echo.
    static constexpr int kCommandPauseMs = 1000;

    // An exchange with dev for as long as both live. catalogue: the lists the daily-log
    // line names resolutions from; frame: what the panel shares across controllers.
    // Both must outlive the exchange.
    CRZ8Exchange(kztr::Clock& clock, const CResolutionCatalogue& catalogue, CRZ8FrameWide& frame,
                 CRZ8Ctrl& dev);
    virtual ~CRZ8Exchange() = default;
    CRZ8Exchange(const CRZ8Exchange&) = delete;
    CRZ8Exchange& operator=(const CRZ8Exchange&) = delete;

    CRZ8Ctrl& Device() const { return m_rDev; }
    // Another controller is now behind the link: what the last one's replies left goes.
    void Forget();

    // Run every few milliseconds during every wait of an exchange (pauses, reply waits,
    // the data-block wait), so that a window stays painted while the thread waits. It
    // runs on the waiting thread (a worker during Apply), so a GUI hook should only
    // process events when called on the GUI thread. Without one the waits just block.
    void SetMessagePump(std::function<void()> pump) { m_fnMessagePump = std::move(pump); }
    kztr::Clock& GetClock() const { return m_clock; }

    // For one wall-wide run: the logged sends wait for their turn among the exchanges
    // that run beside this one, in the order of the positions, and the waits do not
    // pump (the run's own thread does). Only the wall engine joins and leaves, before
    // its threads start and after they have ended.
    void JoinRun(kztr::SendTurns* turns, size_t position);
    void LeaveRun();

    // The model of the controller behind the link: which resolution list its daily-log
    // line names and whether a broken EDID is restored. Unlisted until set.
    uint8_t BoxMode() const { return m_byBoxMode; }
    void SetBoxMode(uint8_t mode) { m_byBoxMode = mode; }
    // The pixel counts this controller last answered to 0x0E and 0x0F (0 until it has).
    uint16_t ReportedHPixel() const { return m_wHPIXEL; }
    uint16_t ReportedVPixel() const { return m_wVPIXEL; }
    // The last data block (only the first GetLastBlockLength() bytes came with it) and
    // the sums over it.
    const uint8_t* Block() const { return m_byEDID; }
    int GetLastBlockLength() const { return m_nLastBlockLength; }
    uint8_t Checksum0() const { return m_byChecksum0; }
    uint8_t Checksum1() const { return m_byChecksum1; }
    uint8_t ChecksumDID() const { return m_byChecksumDID; }

    // Traces the frame and sends it on the link; 0 when it is not open.
    int APIPR_UARTSendData(const void* pData, int nLength);
    // Bytes read from the link, never waiting; 0 when it is not open.
    int APIPR_UARTReadData(void* pBuffer, int nCapacity);
    // 1 when a whole reply with byte 0 == byCode arrived within nLimitSeconds and was
    // copied to hOut. Also handles the block after 0x27..0x2F, the pause after a reset
    // echo and the pixel counts of 0x0E/0x0F.
    int APIPR_UARTReadDataAndCheck(RZ8Full& hOut, uint8_t byCode, int nLimitSeconds);
    // Sends the configuration request and waits for the reply; 1 when it came.
    int APIPR_GetRZ8FullData(RZ8Full& hOut);
    // Stamps the header onto hRecord, sends it, logs the summary line, pauses, then waits
    // for the echo. 1 when the controller echoed the command. A broken EDID that comes
    // back is restored from hRecord, the record the EDID request went out in.
    int APIPR_SetRZ8FullData(RZ8Full& hRecord, uint8_t byCode, uint8_t byBoxId, int nPauseMs);
    // The daily-log line for a record as sent, naming the resolution from this
    // controller's own list.
    void APIPR_GetRZ8FullInfoForLogFile(uint8_t byBoxId, const RZ8Full& hRecord, QString& strOut);

private:
    // The reply is whole: pauses, block, field trace and code check.
    int HandleCompleteReply(const uint8_t* area, int nLastRead, RZ8Full& hOut, uint8_t byCode,
                            int nLimit);
    // Reads and examines the block after a 0x27..0x2F reply; 0 when an EDID restore failed.
    int ReceiveDataBlock(uint8_t byReplyCode);
    // Checksums, polarity, read count and the EDID restore; 0 when the restore failed.
    int ExamineDataBlock(uint8_t byReplyCode);
    // Every protocol pause: pumps when a pump is installed (and no wall run has the
    // exchange), otherwise sleeps.
    void WaitWithMessagePump(std::chrono::milliseconds duration);
    // The pump, unless none is installed or a wall-wide run has the exchange.
    const std::function<void()>* Pump() const;
    // Blocks until input may be queued on the current link or the deadline passes.
    void WaitForInput(kztr::Clock::time_point deadline, bool& bSaidReadable);

    kztr::Clock& m_clock;
    const CResolutionCatalogue& m_catalogue;
    CRZ8FrameWide& m_frame;
    CRZ8Ctrl& m_rDev;
    std::function<void()> m_fnMessagePump;
    // Set between JoinRun and LeaveRun: the waits then do not pump.
    bool m_bInRun = false;
    kztr::SendTurns* m_pSendTurns = nullptr;
    size_t m_nTurnPosition = 0;
    // The record of the send in progress: a restore request goes out in it.
    RZ8Full* m_pSending = nullptr;
    // The last whole reply: a restore for a block that came unasked goes out in it.
    RZ8Full m_hLastReply{};

    uint8_t m_byBoxMode = BOXMODE_UNKNOWN;
    uint16_t m_wHPIXEL = 0;
    uint16_t m_wVPIXEL = 0;
    // Receive buffer of the 256-byte blocks, their running checksums.
    uint8_t m_byEDID[kEDIDBufferSize] = {};
    uint8_t m_byChecksum0 = 0;
    uint8_t m_byChecksum1 = 0;
    uint8_t m_byChecksumDID = 0;
    int m_nLastBlockLength = 0;
};
