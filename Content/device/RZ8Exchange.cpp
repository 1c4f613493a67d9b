#include "RZ8Exchange.h"

#include "DebugTrace.h"
#include "DeviceSummaryLine.h"
#include "DiagnosticLog.h"
#include "RZ8Frames.h"
#include "SideBySide.h"

#include <algorithm>
#include <cstring>
#include <iterator>

using namespace std::chrono_literals;

namespace {
// The four flag bytes of digital separate sync are the ones with a polarity text.
bool IsSyncFlags(uint8_t flags) {
    return !PolarityText(flags).isEmpty();
}

bool BoxModeRestoresEDID(uint8_t mode) {
    return mode == BOXMODE_T5 || mode == BOXMODE_T4T5_A || mode == BOXMODE_NIVRA ||
           mode == BOXMODE_T4T5_B;
}
} // namespace

CRZ8Exchange::CRZ8Exchange(kztr::Clock& clock, const CResolutionCatalogue& catalogue,
                           CRZ8FrameWide& frame, CRZ8Ctrl& dev)
    : m_clock(clock), m_catalogue(catalogue), m_frame(frame), m_rDev(dev) {}

void CRZ8Exchange::Forget() {
    m_byBoxMode = BOXMODE_UNKNOWN;
    m_wHPIXEL = 0;
    m_wVPIXEL = 0;
    std::fill(std::begin(m_byEDID), std::end(m_byEDID), uint8_t(0));
    m_byChecksum0 = m_byChecksum1 = m_byChecksumDID = 0;
    m_nLastBlockLength = 0;
    m_hLastReply = RZ8Full{};
}

void CRZ8Exchange::JoinRun(kztr::SendTurns* turns, size_t position) {
    m_pSendTurns = turns;
    m_nTurnPosition = position;
    m_bInRun = true;
}

void CRZ8Exchange::LeaveRun() {
    m_pSendTurns = nullptr;
    m_nTurnPosition = 0;
    m_bInRun = false;
}

const std::function<void()>* CRZ8Exchange::Pump() const {
    return m_fnMessagePump && !m_bInRun ? &m_fnMessagePump : nullptr;
}

int CRZ8Exchange::APIPR_UARTSendData(const void* pData, int nLength) {
    return ::APIPR_UARTSendData(&m_rDev, static_cast<const uint8_t*>(pData), nLength);
}

int CRZ8Exchange::APIPR_UARTReadData(void* pBuffer, int nCapacity) {
    return m_rDev.ReadData(pBuffer, nCapacity);
}

int CRZ8Exchange::APIPR_GetRZ8FullData(RZ8Full& hOut) {
    const uint8_t request = RZ8_BOOTCDE_GET_OLDDATA;
    if (!APIPR_UARTSendData(&request, 1)) return 0;
    return APIPR_UARTReadDataAndCheck(hOut, RZ8_BOOTCDE_GET_OLDDATA, kReplyLimitSeconds);
}

int CRZ8Exchange::APIPR_UARTReadDataAndCheck(RZ8Full& hOut, uint8_t byCode, int nLimitSeconds) {
    const auto deadline = m_clock.now() + std::chrono::seconds(nLimitSeconds);
    // A reply may come in pieces: each poll appends to what earlier polls brought.
    uint8_t area[RZ8_FRAME_LEN] = {};
    int have = 0;
    bool saidReadable = false;
    for (;;) {
        // Looked at before the read, so that what arrived by the limit is still taken.
        const bool late = m_clock.now() >= deadline;
        const int n = APIPR_UARTReadData(area + have, RZ8_FRAME_LEN - have);
        have += n;
        if (have == RZ8_FRAME_LEN) return HandleCompleteReply(area, n, hOut, byCode, nLimitSeconds);
        if (n > 0) RZ8_TRACE("[D]APIPR_UARTReadDataAndCheck  len=%d cmd=%x\n", n, area[0]);
        if (late) return 0;
        // A port that claims input but yields none must not turn this into a spin.
        if (n == 0 && saidReadable) m_clock.sleepFor(1ms);
        WaitForInput(deadline, saidReadable);
    }
}

void CRZ8Exchange::WaitForInput(kztr::Clock::time_point deadline, bool& bSaidReadable) {
    const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - m_clock.now());
    if (remaining <= 0ms) {
        bSaidReadable = false;
        return;
    }
    // With a pump the wait is cut into slices, so the window keeps being painted.
    const std::function<void()>* pump = Pump();
    const auto slice = pump ? std::min(remaining, kPumpSlice) : remaining;
    const auto sliceEnd = m_clock.now() + slice;
    const kztr::WaitResult wait =
        m_rDev.IsOpen() ? m_rDev.WaitInput(slice) : kztr::WaitResult::Failed;
    bSaidReadable = wait == kztr::WaitResult::Readable;
    // Closed or its link lost (perhaps part of the way): nothing can arrive; the caller
    // still gets its full time limit, as with a silent port.
    const auto rest = std::chrono::ceil<std::chrono::milliseconds>(sliceEnd - m_clock.now());
    if (wait == kztr::WaitResult::Failed && rest > 0ms) m_clock.sleepFor(rest);
    if (pump) (*pump)();
}

int CRZ8Exchange::HandleCompleteReply(const uint8_t* area, int nLastRead, RZ8Full& hOut,
                                      uint8_t byCode, int nLimit) {
    if (area[0] == RZ8_BOOTCDE_HW_RESET) {
        // The controller restarts after echoing a reset; give it time before going on.
        WaitWithMessagePump(kResetEchoPause);
        RZ8_TRACE("[D]APIPR_UARTReadDataAndCheck %d CMD=%x (delay 9sec for zephT3)", nLimit,
                  area[0]);
    }
    if (IsBlockCommand(area[0]) && !ReceiveDataBlock(area[0])) return 0;

    RZ8_TRACE("[D]APIPR_UARTReadDataAndCheck  len=%d cmd=%x\n", nLastRead, area[0]);
    RZ8Full reply;
    std::memcpy(&reply, area, sizeof reply);
    const RZ8Data& d = reply.hRZ8Data;
    RZ8_TRACE("[D]APIPR_UARTReadDataAndCheck read uart data VR=%d, DID_Ver=%d, vp=%d, hp=%d, "
              "color_10bit=%d, audiobit=%d model=%c(%x)\n",
              reply.VRHz(), reply.DID_Ver(), reply.vp(), reply.hp(), reply.color_10bit(),
              reply.audiobit(), reply.model, reply.model);
    RZ8_TRACE("[D]APIPR_UARTReadDataAndCheck read uart data I_output_mode=%d, iVLimit=%d, "
              "iHLimit=%d(%x), HO=%d, VO=%d, HSW=%d, VSW=%d\n",
              int(d.I_output_mode), int(int8_t(d.iVLimit)), int(reply.iHLimit()),
              unsigned(d.iHLimitBE[0] | d.iHLimitBE[1] << 8), d.HO, d.VO, d.HSW, d.VSW);

    m_hLastReply = reply;
    if (area[0] == byCode) {
        if (byCode == RZ8_BOOTCDE_GET_VPIXEL) {
            m_wVPIXEL = reply.param();
            RZ8_TRACE("[D]RZ8_BOOTCDE_GET_VPIXEL h=%d v=%d\n", m_wHPIXEL, m_wVPIXEL);
        } else if (byCode == RZ8_BOOTCDE_GET_HPIXEL) {
            m_wHPIXEL = reply.param();
            RZ8_TRACE("[D]RZ8_BOOTCDE_GET_HPIXEL h=%d v=%d\n", m_wHPIXEL, m_wVPIXEL);
        }
        hOut = reply;
        return 1;
    }
    if (area[0] == RZ8_REPLY_REJECTED) {
        const uint8_t request = RZ8_BOOTCDE_GET_OLDDATA;
        APIPR_UARTSendData(&request, 1);
    }
    return 0;
}

int CRZ8Exchange::ReceiveDataBlock(uint8_t byReplyCode) {
    WaitWithMessagePump(kBlockWait);
    const int e = APIPR_UARTReadData(m_byEDID, RZ8_BLOCK_LEN);
    m_nLastBlockLength = e;
    RZ8_TRACE("[D]APIPR_UARTReadDataAndCheck cmd=%x EDID len=%d Mode=%d\n", byReplyCode, e,
              m_byBoxMode);
    // Kept per controller, for telling the operator which monitor hangs on it.
    if (byReplyCode == RZ8_BOOTCDE_GET_EDID && e > 0) m_rDev.SetEdid(m_byEDID, e);
    if (e == RZ8_BLOCK_LEN && !ExamineDataBlock(byReplyCode)) return 0;
    for (int line = 0; line < e; line += 16) {
        const uint8_t* b = m_byEDID + line;
        RZ8_TRACE("[D] %02X %02X %02X %02X %02X %02X %02X %02X %02X %02X %02X %02X %02X %02X "
                  "%02X %02X \n",
                  b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12],
                  b[13], b[14], b[15]);
    }
    return 1;
}

int CRZ8Exchange::ExamineDataBlock(uint8_t byReplyCode) {
    const bool isEDID = byReplyCode == RZ8_BOOTCDE_GET_EDID;
    if (isEDID && IsSyncFlags(m_byEDID[RZ8_EDID_SYNC_FLAGS_OFFSET])) {
        m_frame.HV_Polarity = m_byEDID[RZ8_EDID_SYNC_FLAGS_OFFSET];
        RZ8_TRACE("[D]APIPR_UARTReadDataAndCheck HV_Polarity=%x\n",
                  m_byEDID[RZ8_EDID_SYNC_FLAGS_OFFSET]);
    }

    ExamineBlockChecksums(m_byEDID);
    // Running sums over the base block and over the extension (the DisplayID sum runs
    // over the same bytes).
    m_byChecksum0 = ByteSum(m_byEDID, 128);
    m_byChecksum1 = ByteSum(m_byEDID + 128, 128);
    m_byChecksumDID = m_byChecksum1;

    // One budget for the panel, whichever controller the blocks come from.
    const int32_t readCount = ++m_frame.m_iEDIDReadCount;
    if (readCount >= kEDIDReadCountCap) {
        RZ8_TRACE("[D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_EDID readcount error %d\n", readCount);
        return 1;
    }
    if (isEDID && BoxModeRestoresEDID(m_byBoxMode) && !HasEdidHeader(m_byEDID)) {
        RZ8_TRACE("[D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_EDID error %d readcount=%d\n", m_byBoxMode,
                  readCount);
        RZ8_TRACE("[D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_EDID buf\n");
        // The restore request is an EDID read with a marker, in the record the request
        // went out in; its own block comes back here.
        RZ8Full& record = m_pSending ? *m_pSending : m_hLastReply;
        record.setParam(RZ8_PARAM_EDID_RESTORE);
        if (!APIPR_SetRZ8FullData(record, RZ8_BOOTCDE_GET_EDID, m_rDev.GetBoxId(), kCommandPauseMs))
            return 0;
        record.setParam(0);
    }
    return 1;
}

void CRZ8Exchange::WaitWithMessagePump(std::chrono::milliseconds duration) {
    const std::function<void()>* pump = Pump();
    if (!pump) {
        m_clock.sleepFor(duration);
        return;
    }
    const auto end = m_clock.now() + duration;
    for (auto now = m_clock.now(); now < end; now = m_clock.now()) {
        (*pump)();
        m_clock.sleepFor(std::min<std::chrono::milliseconds>(
            kPumpSlice, std::chrono::ceil<std::chrono::milliseconds>(end - now)));
    }
}

int CRZ8Exchange::APIPR_SetRZ8FullData(RZ8Full& hRecord, uint8_t byCode, uint8_t byBoxId,
                                       int nPauseMs) {
    hRecord.cmd = byCode;
    RZ8_TRACE("[D]APIPR_SetRZ8FullData CMD=%x mode=%c", byCode, hRecord.model);
    hRecord.model = RZ8_FRAME_MODEL;
    hRecord.fw_ver = RZ8_FRAME_FW;
    hRecord.box_id = byBoxId;
    // A zero rate means "not set": the controller gets 60 Hz.
    if (hRecord.VRStored() == 0) hRecord.setVRHz(60);

    // Side by side with other exchanges, the send and its log line wait for their turn.
    if (m_pSendTurns) m_pSendTurns->Take(m_nTurnPosition);
    const bool sent = APIPR_UARTSendData(hRecord.bytes(), RZ8_FRAME_LEN) != 0;
    if (sent) {
        QString line;
        APIPR_GetRZ8FullInfoForLogFile(byBoxId, hRecord, line);
        WriteLogFileLine(1, m_frame.m_strLogDir, line);
    }
    if (m_pSendTurns) m_pSendTurns->Give(m_nTurnPosition);
    if (!sent) return 0;

    if (nPauseMs > 0) WaitWithMessagePump(std::chrono::milliseconds(nPauseMs));
    RZ8Full echo{};
    RZ8Full* const outer = m_pSending;
    m_pSending = &hRecord;
    const int answered = APIPR_UARTReadDataAndCheck(echo, byCode, kReplyLimitSeconds);
    m_pSending = outer;
    return answered;
}

void CRZ8Exchange::APIPR_GetRZ8FullInfoForLogFile(uint8_t byBoxId, const RZ8Full& hRecord,
                                                  QString& strOut) {
    // The list of this controller's own model: on a wall of several models each line
    // names what its controller shows.
    const int nType = SliderListForBoxMode(m_byBoxMode);
    RZ8_TRACE("[D][uart]APIPR_GetRZ8FullInfoForLogFile nType=%d\n", nType);
    strOut = FormatDeviceSummaryLine(byBoxId, hRecord, m_frame.m_wHBlank.load(),
                                     m_catalogue.m_vecSliderResInfo[nType]);
}
