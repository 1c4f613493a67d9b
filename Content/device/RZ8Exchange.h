#pragma once
// One controller's exchange: the link it talks on and what its replies leave behind (the
// last data block and what it told, the pixel counts, the EDID read count). Sending a
// command frame, reading a reply and the configuration all run on one exchange, so
// exchanges with different controllers can run side by side, each on its own thread.
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

namespace kztr {
class SendTurns;
}

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

    // catalogue: the lists the daily-log line names resolutions from; it must outlive
    // the exchange.
    CRZ8Exchange(kztr::Clock& clock, const CResolutionCatalogue& catalogue);
    virtual ~CRZ8Exchange() = default;
    CRZ8Exchange(const CRZ8Exchange&) = delete;
    CRZ8Exchange& operator=(const CRZ8Exchange&) = delete;

    // Run every few milliseconds during every wait of an exchange (pauses, reply waits,
    // the data-block wait), so that a window stays painted while the thread waits. It
    // runs on the waiting thread (a worker during Apply), so a GUI hook should only
    // process events when called on the GUI thread. Without one the waits just block.
    void SetMessagePump(std::function<void()> pump) { m_fnMessagePump = std::move(pump); }
    const std::function<void()>& MessagePump() const { return m_fnMessagePump; }
    kztr::Clock& GetClock() const { return m_clock; }
    // Bytes of the last data block read into m_byEDID (it is examined only when whole).
    int GetLastBlockLength() const { return m_nLastBlockLength; }
    // Logged sends of this exchange wait for their turn among exchanges that run side by
    // side, so that the daily log has them in the order of the positions; none: no wait.
    void SetSendTurns(kztr::SendTurns* turns, size_t position) {
        m_pSendTurns = turns;
        m_nTurnPosition = position;
    }

    // An exchange with dev, as this one would start it: same clock, catalogue, log
    // directory, box mode, blank and counts, but a block state of its own and no pump.
    void StartLike(const CRZ8Exchange& other, CRZ8Ctrl& dev);
    // What other's replies changed since it started like this one: the pixel counts a
    // query brought, the last data block and what it told. Taken in the order the same
    // exchanges would have run one after another.
    void TakeRepliesOf(const CRZ8Exchange& other);

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
    // The daily-log line for a record as sent.
    void APIPR_GetRZ8FullInfoForLogFile(uint8_t byBoxId, const RZ8Full& hRecord, QString& strOut);

    // The read target of the connect and of the EDID restore.
    RZ8Full m_hTmpRZ8Full{};
    // The link this exchange talks on.
    CRZ8Ctrl* m_pCurRZ8Dev = nullptr;

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
    const CResolutionCatalogue& m_catalogue;
    std::function<void()> m_fnMessagePump;
    int m_nLastBlockLength = 0;
    // Data blocks this exchange has received; tells TakeRepliesOf whether one came.
    int m_nBlocksReceived = 0;
    bool m_bHPixelRead = false;
    bool m_bVPixelRead = false;
    kztr::SendTurns* m_pSendTurns = nullptr;
    size_t m_nTurnPosition = 0;
};
