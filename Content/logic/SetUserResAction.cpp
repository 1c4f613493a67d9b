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

    bool done = true;
    if (m_bDevSettingSync) {
        done = SetUserResOnOpenControllers();
    } else {
        const uint8_t boxId = m_pCurRZ8Dev ? m_pCurRZ8Dev->GetBoxId() : 0;
        const CRZ8Exchange& exchange = CurrentExchange();
        m_hCurRZ8Full.setParam(m_wHPIXEL);
        done = send(m_hCurRZ8Full, RZ8_BOOTCDE_SET_HPIXEL, boxId) &&
               send(m_hCurRZ8Full, RZ8_BOOTCDE_GET_HPIXEL, boxId);
        if (done) {
            // The panel shows the width the controller answered.
            m_wHPIXEL = exchange.ReportedHPixel();
            m_hCurRZ8Full.setParam(m_wVPIXEL);
            done = send(m_hCurRZ8Full, RZ8_BOOTCDE_SET_VPIXEL, boxId) &&
                   send(m_hCurRZ8Full, RZ8_BOOTCDE_GET_VPIXEL, boxId);
            if (done) m_wVPIXEL = exchange.ReportedVPixel();
            done = done && send(m_hCurRZ8Full, RZ8_BOOTCDE_PIXEL_COMMIT, boxId);
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

namespace {
// What one controller's part of a wall-wide Set brought, for the panel to take in the
// order the controllers would have been written one after another.
struct PixelSetOutcome {
    bool done = false;
    // The configuration read back after each count was set, and the count queried then.
    bool read[2] = {false, false};
    RZ8Full readBack[2]{};
    bool readFailed[2] = {false, false};
    bool queried[2] = {false, false};
    uint16_t count[2] = {0, 0};
    RZ8Full lastRead{}; // the exchange's read record at the end
    RZ8Full record{};   // the record the counts went out in, at the end
};
} // namespace

bool CGUIGDIPlusMfcFrameMain::SetUserResOnOpenControllers() {
    // The typed counts go to every controller; each runs its own sequence and stops at
    // its own failed send.
    const uint16_t typed[2] = {m_wVPIXEL, m_wHPIXEL};
    const uint8_t setCode[2] = {RZ8_BOOTCDE_SET_VPIXEL, RZ8_BOOTCDE_SET_HPIXEL};
    const uint8_t queryCode[2] = {RZ8_BOOTCDE_GET_VPIXEL, RZ8_BOOTCDE_GET_HPIXEL};
    std::vector<PixelSetOutcome> outcomes(OpenControllers().size());
    const RZ8Full start = m_hCurRZ8Full;
    const RZ8Full startRead = m_hTmpRZ8Full;
    RunOnOpenControllers([&](size_t p, CRZ8Exchange& ex) {
        PixelSetOutcome& out = outcomes[p];
        const uint8_t boxId = ex.Device().GetBoxId();
        // Each controller's reads go to a record of its own.
        RZ8Full read = startRead;
        const auto send = [&ex, boxId](RZ8Full& record, uint8_t code) {
            return ex.APIPR_SetRZ8FullData(record, code, boxId, kCommandPauseMs) != 0;
        };
        RZ8Full record = start;
        // Vertical first, each count read back with the configuration.
        for (int step = 0; step < 2; ++step) {
            record.setParam(typed[step]);
            if (!send(record, setCode[step])) {
                out.record = record;
                out.lastRead = read;
                return;
            }
            if (!ex.APIPR_GetRZ8FullData(read)) {
                out.readFailed[step] = true;
            } else {
                out.read[step] = true;
                out.readBack[step] = read;
                record = read;
                out.queried[step] = send(read, queryCode[step]);
                out.count[step] = step == 0 ? ex.ReportedVPixel() : ex.ReportedHPixel();
            }
        }
        out.done = send(record, RZ8_BOOTCDE_PIXEL_COMMIT);
        out.record = record;
        out.lastRead = read;
    });
    if (outcomes.empty()) return true;
    MakeLastOpenControllerCurrent();

    // The panel goes through what each controller answered, in box-ID order, as it
    // would have while writing them one after another.
    m_wVPIXEL = typed[0];
    m_wHPIXEL = typed[1];
    bool done = true;
    for (const PixelSetOutcome& out : outcomes) {
        for (int step = 0; step < 2; ++step) {
            if (out.read[step]) {
                m_hTmpRZ8Full = out.lastRead;
                m_hDevRZ8Full = out.readBack[step];
                m_hCurRZ8Full = out.readBack[step];
                APIPR_UpdateWholeUIFromData(m_hCurRZ8Full);
            }
            if (out.queried[step]) (step == 0 ? m_wVPIXEL : m_wHPIXEL) = out.count[step];
        }
        done = done && out.done;
    }
    // One box per read-back that failed, in box-ID order, once every controller has ended.
    for (const PixelSetOutcome& out : outcomes)
        for (bool failed : out.readFailed)
            if (failed) ShowFrameError(TextMsg::kHwResetFailA002);
    m_hCurRZ8Full = outcomes.back().record;
    return done;
}
