// Function keys on the panel: F5 to F8 are diagnostic reads of the current controller;
// F12 counts only when it comes from the system-wide hot key, which starts a hardware
// reset as the button does.
#include "DebugTrace.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "ProcessFlags.h"
#include "RZ8Frames.h"

long CGUIGDIPlusMfcFrameMain::OnKeyDownMsg(int nKey, std::intptr_t lKeyData) {
    const uint8_t boxId = m_pCurRZ8Dev ? m_pCurRZ8Dev->GetBoxId() : 0;
    const bool sends = nKey == Qt::Key_F6 || nKey == Qt::Key_F7 || nKey == Qt::Key_F8;
    // A worker owns the serial link while it runs; these reads would cut into its exchanges.
    if (sends && g_bDevBusy) {
        RZ8_TRACE("[D]OnKeyDownMsg key %x refused: the device link is busy\n", nKey);
        return 0;
    }
    switch (nKey) {
    case Qt::Key_F5: {
        const TracedRecords r = RecordsToTrace();
        RZ8_TRACE("[D][HV][SET GUI OnkeyDown]m_hCurRZ8Full.hRZ8Data  %d %d", r.cur.hp(),
                  r.cur.vp());
        RZ8_TRACE("[D][HV][SET GUI OnkeyDown]m_hTmpRZ8Full.hRZ8Data  %d %d", r.tmp.hp(),
                  r.tmp.vp());
        RZ8_TRACE("[D][HV][SET GUI OnkeyDown]m_hOldRZ8Full.hRZ8Data  %d %d", r.old.hp(),
                  r.old.vp());
        break;
    }
    case Qt::Key_F6:
        RZ8_TRACE("[D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_EDID buf\n");
        m_hTmpRZ8Full.setParam(RZ8_PARAM_EDID_RESTORE);
        if (!APIPR_SetRZ8FullData(m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID_BUF, boxId, kCommandPauseMs))
            return 0;
        m_hTmpRZ8Full.setParam(0);
        break;
    case Qt::Key_F7:
        RZ8_TRACE("[D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_EDID\n");
        APIPR_UARTGetPortReg();
        break;
    case Qt::Key_F8:
        RZ8_TRACE("[D][HB]APIPR_UARTOpen RZ8_BOOTCDE_GET_EDID\n");
        if (!APIPR_SetRZ8FullData(m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, boxId, kCommandPauseMs))
            return 0;
        break;
    case Qt::Key_F12:
        // The hardware reset button's own notification, with its refusals.
        if (lKeyData == FrameMsg::kHotKeyId) {
            if (CGUIGDIPlusMfcFrameMain* frame = g_pMainFrame.load())
                frame->PostFrameMessage(FrameMsg::kBtnHWReset, kBtnHWReset, 0);
        }
        break;
    default:
        break;
    }
    RepaintFrame();
    return 1;
}

long CGUIGDIPlusMfcFrameMain::OnHotKeyMsg(int nHotKeyId, int nKey) {
    OnKeyDownMsg(nKey, nHotKeyId);
    return 0;
}
