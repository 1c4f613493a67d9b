// Apply, the hardware reset and the software reset run on a worker thread, so that the
// window keeps painting while the controllers are written and the operator is asked to
// keep or revert. The worker owns the serial link for its whole run; every repaint,
// panel change, error box and the keep-or-revert box runs on the window's thread.
#include "DebugTrace.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "GuiThreadCall.h"
#include "ProcessFlags.h"
#include "RZ8Frames.h"

namespace {
const QString kKeepQuestion = QStringLiteral(" Do you want to keep the settings ?");
const QString kRevertCountdown = QStringLiteral(" Reverting to previous settings in %d seconds.");
} // namespace

long CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgHWReset(std::uintptr_t wParam, std::intptr_t) {
    return StartWorker(wParam, kWorkHWReset);
}

long CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgSWReset(std::uintptr_t wParam, std::intptr_t) {
    return StartWorker(wParam, kWorkSWReset);
}

long CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgApply(std::uintptr_t wParam, std::intptr_t) {
    return StartWorker(wParam, kWorkApply);
}

long CGUIGDIPlusMfcFrameMain::StartWorker(std::uintptr_t wParam, int nWorkType) {
    CGUIGDIPlusMfcCtrlBtn* btn =
        wParam < std::size(m_hGUICtrlBtn) ? &m_hGUICtrlBtn[wParam] : nullptr;
    // A pattern on the controller would be cut short by a reset.
    const bool patternSwitchOn =
        nWorkType != kWorkApply &&
        (m_hGUICtrlSwitch[kSwitchPattern].GetCheck() || m_hGUICtrlSwitch[kSwitchRGBW].GetCheck());
    bool idle = false;
    // One test-and-set: two presses can never start two workers.
    if (g_bDevBusy || g_bPatternOn || patternSwitchOn ||
        !m_bWorkerActive.compare_exchange_strong(idle, true)) {
        if (btn) btn->SetBusy(false);
        return 0;
    }
    // The last worker has finished its work; its thread ends with it.
    if (m_hWorker.joinable()) m_hWorker.join();
    m_nWorkBtn = int(wParam);
    m_nWorkType = nWorkType;
    CopyRecordsForTrace();
    m_hWorker = std::thread(&CGUIGDIPlusMfcFrameMain::RZ8WorkThreadProc, this);
    return 0;
}

void CGUIGDIPlusMfcFrameMain::RZ8WorkThreadProc(CGUIGDIPlusMfcFrameMain* pFrame) {
    if (!pFrame) return;
    pFrame->RZ8SetWorkType_Apply(pFrame->m_nWorkBtn, pFrame->m_nWorkType);
    pFrame->m_bWorkerActive = false;
}

void CGUIGDIPlusMfcFrameMain::OnGuiThread(const std::function<void()>& fn) {
    // The worker waits meanwhile, so the records hold still while they are copied.
    RunOnThreadAndWait(this, [this, &fn] {
        CopyRecordsForTrace();
        fn();
        CopyRecordsForTrace();
    });
}

void CGUIGDIPlusMfcFrameMain::CopyRecordsForTrace() {
    m_hRecordsSeen = {m_hCurRZ8Full, m_hTmpRZ8Full, m_hOldRZ8Full};
}

CGUIGDIPlusMfcFrameMain::TracedRecords CGUIGDIPlusMfcFrameMain::RecordsToTrace() const {
    if (IsWorkerActive()) return m_hRecordsSeen;
    return {m_hCurRZ8Full, m_hTmpRZ8Full, m_hOldRZ8Full};
}

std::vector<int> CGUIGDIPlusMfcFrameMain::SendToControllers(const std::vector<int>& members,
                                                            RZ8Full& hRecord, uint8_t byCode,
                                                            const char* traceEach) {
    // Each controller's frame is stamped on a copy of its own; what the record holds
    // afterwards is the last one's, as after sending to them one after another.
    std::vector<RZ8Full> records(members.size(), hRecord);
    std::vector<int> answered(members.size(), 0);
    RunOnControllers(members, [&](size_t p, CRZ8Exchange& exchange) {
        if (traceEach) RZ8_TRACE("%s", traceEach);
        answered[p] = exchange.APIPR_SetRZ8FullData(records[p], byCode,
                                                    exchange.Device().GetBoxId(), kCommandPauseMs);
    });
    if (!records.empty()) hRecord = records.back();
    OnGuiThread([this, &members] { MakeLastCurrent(members); });
    return answered;
}

bool CGUIGDIPlusMfcFrameMain::SendToCurrentController(RZ8Full& hRecord, uint8_t byCode) {
    return SendToControllers({m_byCurDev}, hRecord, byCode).front() != 0;
}

std::vector<int> CGUIGDIPlusMfcFrameMain::SendToOpenControllers(RZ8Full& hRecord, uint8_t byCode,
                                                                const char* traceEach) {
    return SendToControllers(OpenControllers(), hRecord, byCode, traceEach);
}

void CGUIGDIPlusMfcFrameMain::ShowFailures(const std::vector<int>& answered, int nMessage) {
    for (int ok : answered)
        if (!ok) ShowFrameError(nMessage);
}

void CGUIGDIPlusMfcFrameMain::EndWork(uint8_t byBtn) {
    OnGuiThread([this, byBtn] {
        m_nShadeMode = kShadeNone;
        RepaintFrame();
        if (byBtn < std::size(m_hGUICtrlBtn)) m_hGUICtrlBtn[byBtn].SetBusy(false);
    });
    g_bDevBusy = false;
}

int CGUIGDIPlusMfcFrameMain::ShowKeepRevertBox(const QString& message,
                                               const QString& countdownFormat, int seconds) {
    return m_fnKeepRevertBox(message, countdownFormat, seconds);
}

void CGUIGDIPlusMfcFrameMain::RZ8SetWorkType_Apply(int nBtn, int nWorkType) {
    const auto byBtn = static_cast<uint8_t>(nBtn & 0xFF);
    if (g_bDevBusy || g_bPatternOn) {
        // Nothing runs: the button must not stay latched.
        OnGuiThread([this, byBtn] {
            if (byBtn < std::size(m_hGUICtrlBtn)) m_hGUICtrlBtn[byBtn].SetBusy(false);
        });
        return;
    }
    g_bDevBusy = true;
    OnGuiThread([this] {
        m_nShadeMode = kShadeSetting;
        RepaintFrame();
    });
    switch (nWorkType) {
    case kWorkApply:
        ApplyWork(byBtn);
        return;
    case kWorkHWReset:
        HWResetWork();
        break;
    default:
        // The software reset sends nothing.
        break;
    }
    EndWork(byBtn);
}

void CGUIGDIPlusMfcFrameMain::ApplyWork(uint8_t byBtn) {
    OnGuiThread([this] { MakeCheckedDeviceCurrent(); });
    RZ8_TRACE("[D]RZ8SetWorkType_Apply send 0xff get old data\n");
    m_hTmpRZ8Full = m_hCurRZ8Full;
    RZ8_TRACE("[D][HV][SET GUI RZ8SetWorkType_Apply]m_hOldRZ8Full(m_CurRZ8Full)  %d %d",
              m_hTmpRZ8Full.hp(), m_hTmpRZ8Full.vp());
    if (!APIPR_GetRZ8FullData(m_hOldRZ8Full)) {
        RZ8_TRACE("[D]RZ8SetWorkType_Apply 2 send 0xff get old data\n");
        if (!APIPR_GetRZ8FullData(m_hOldRZ8Full)) {
            ShowFrameError(TextMsg::kApplyFailA004);
            // Without the state before the Apply there is nothing a revert could restore.
            EndWork(byBtn);
            return;
        }
    }
    RZ8_TRACE("[D][HV][SET GUI RZ8SetWorkType_Apply]m_hOldRZ8Full.hRZ8Data  %d %d  (old)",
              m_hOldRZ8Full.hp(), m_hOldRZ8Full.vp());
    RZ8_TRACE("[D]RZ8SetWorkType_Apply 3 send cmd\n");

    const bool written = APIPR_UpdateWholeDataFromUI(m_hCurRZ8Full);
    m_hCurRZ8Full = m_hTmpRZ8Full;
    RZ8_TRACE("[D][HV][SET GUI RZ8SetWorkType_Apply]m_hCurRZ8Full.hRZ8Data  %d %d (new gui)",
              m_hCurRZ8Full.hp(), m_hCurRZ8Full.vp());

    bool revert = false;
    OnGuiThread([this, written, &revert] {
        m_nShadeMode = kShadePure;
        RepaintFrame();
        if (written)
            revert = ShowKeepRevertBox(kKeepQuestion, kRevertCountdown,
                                       m_hSetting.iApplyConfirmSec) != 0;
        m_nShadeMode = kShadeNone;
        RepaintFrame();
    });
    if (!written || !revert) {
        EndWork(byBtn);
        return;
    }

    // Straight on to the revert: the link is not given back in between, so nothing can
    // start on it before the old configuration is written.
    RZ8_TRACE("[D]RZ8SetWorkType_Apply 4 resend cmd\n");
    OnGuiThread([this] {
        m_nShadeMode = kShadeSetting;
        RepaintFrame();
    });
    if (m_bDevSettingSync) {
        if (m_wApplyChange == 1)
            ShowFailures(SendToOpenControllers(m_hOldRZ8Full, RZ8_BOOTCDE_SET_FULLDATA,
                                               "[D][Send]RZ8SetWorkType_Apply reset send cmd\n"),
                         TextMsg::kHwResetFailA002);
    } else {
        OnGuiThread([this] { MakeCheckedDeviceCurrent(); });
        if (m_wApplyChange == 1 &&
            !SendToCurrentController(m_hOldRZ8Full, RZ8_BOOTCDE_SET_FULLDATA))
            ShowFrameError(TextMsg::kHwResetFailA001);
    }
    OnGuiThread([this] { APIPR_UpdateWholeUIFromData(m_hOldRZ8Full); });
    m_hDevRZ8Full = m_hOldRZ8Full;
    m_hCurRZ8Full = m_hOldRZ8Full;
    EndWork(byBtn);
}

void CGUIGDIPlusMfcFrameMain::HWResetWork() {
    const auto showRead = [this] {
        m_hDevRZ8Full = m_hTmpRZ8Full;
        m_hCurRZ8Full = m_hTmpRZ8Full;
        OnGuiThread([this] { APIPR_UpdateWholeUIFromData(m_hCurRZ8Full); });
    };
    if (m_bDevSettingSync) {
        ShowFailures(SendToOpenControllers(m_hCurRZ8Full, RZ8_BOOTCDE_HW_RESET),
                     TextMsg::kHwResetFailA002);
        if (!APIPR_GetRZ8FullData(m_hTmpRZ8Full)) {
            RZ8_TRACE("[D][Error]APIPR_GetRZ8FullData fail (m_bDevSettingSync)");
            ShowFrameError(TextMsg::kApplyFailA004);
        }
        if (APIPR_GetRZ8FullData(m_hTmpRZ8Full)) showRead();
        return;
    }
    if (!SendToCurrentController(m_hCurRZ8Full, RZ8_BOOTCDE_HW_RESET)) {
        ShowFrameError(TextMsg::kHwResetFailA001);
        return;
    }
    if (!APIPR_GetRZ8FullData(m_hTmpRZ8Full)) {
        RZ8_TRACE("[D][Error]APIPR_GetRZ8FullData fail (single no m_bDevSettingSync)");
        ShowFrameError(TextMsg::kApplyFailA004);
    }
    if (APIPR_GetRZ8FullData(m_hTmpRZ8Full))
        showRead();
    else
        ShowFrameError(TextMsg::kHwResetFailA002);
}
