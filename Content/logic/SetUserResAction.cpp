// The Set button: the width and height typed under the slider go to the controller (or
// to every controller) as pixel counts, are committed, and become the user-defined entry
// of the resolution lists.
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "ProcessFlags.h"
#include "RZ8Frames.h"

long CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgSetUserRes(std::uintptr_t wParam, std::intptr_t) {
    // Not tested first: while a worker runs its shade keeps this button from being pressed.
    g_bDevBusy = true;
    m_nShadeMode = kShadeSetting;
    // The repaint takes the two boxes into the pixel counts (a value beyond 16 bits is
    // held at 65535 and shown so).
    RepaintFrame();

    const auto send = [this](RZ8Full& record, uint8_t code, uint8_t boxId) {
        return APIPR_SetRZ8FullData(record, code, boxId, kCommandPauseMs) != 0;
    };
    // After a count has been set: the controller's configuration on the panel, and the
    // count read back from it.
    const auto readBack = [this, &send](uint8_t query, uint8_t boxId) {
        if (!APIPR_GetRZ8FullData(m_hTmpRZ8Full)) {
            ShowFrameError(TextMsg::kHwResetFailA002);
            return;
        }
        m_hDevRZ8Full = m_hTmpRZ8Full;
        m_hCurRZ8Full = m_hTmpRZ8Full;
        APIPR_UpdateWholeUIFromData(m_hCurRZ8Full);
        send(m_hTmpRZ8Full, query, boxId);
    };

    bool done = true;
    if (m_bDevSettingSync) {
        ForEachOpenController([&](CRZ8Ctrl& dev) {
            const uint8_t boxId = dev.GetBoxId();
            m_hCurRZ8Full.setParam(m_wVPIXEL);
            if (!(done = send(m_hCurRZ8Full, RZ8_BOOTCDE_SET_VPIXEL, boxId))) return false;
            readBack(RZ8_BOOTCDE_GET_VPIXEL, boxId);
            m_hCurRZ8Full.setParam(m_wHPIXEL);
            if (!(done = send(m_hCurRZ8Full, RZ8_BOOTCDE_SET_HPIXEL, boxId))) return false;
            readBack(RZ8_BOOTCDE_GET_HPIXEL, boxId);
            return done = send(m_hCurRZ8Full, RZ8_BOOTCDE_PIXEL_COMMIT, boxId);
        });
    } else {
        const uint8_t boxId = m_pCurRZ8Dev ? m_pCurRZ8Dev->GetBoxId() : 0;
        m_hCurRZ8Full.setParam(m_wHPIXEL);
        done = send(m_hCurRZ8Full, RZ8_BOOTCDE_SET_HPIXEL, boxId) &&
               send(m_hCurRZ8Full, RZ8_BOOTCDE_GET_HPIXEL, boxId);
        if (done) {
            m_hCurRZ8Full.setParam(m_wVPIXEL);
            done = send(m_hCurRZ8Full, RZ8_BOOTCDE_SET_VPIXEL, boxId) &&
                   send(m_hCurRZ8Full, RZ8_BOOTCDE_GET_VPIXEL, boxId) &&
                   send(m_hCurRZ8Full, RZ8_BOOTCDE_PIXEL_COMMIT, boxId);
        }
    }

    if (done) {
        RepaintFrame();
        m_strUserRes[0] = UserResText(m_wHPIXEL, m_wVPIXEL);
        BuildSliderResInfo();
    }
    m_nShadeMode = kShadeNone;
    RepaintFrame();
    g_bDevBusy = false;
    if (wParam < std::size(m_hGUICtrlBtn)) m_hGUICtrlBtn[wParam].SetBusy(false);
    return 0;
}
