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

    // With sync every open controller, else the checked one alone: the same engine and
    // job, each with its own list of steps.
    const bool done = m_bDevSettingSync ? SetUserResOn(OpenControllers(), true)
                                        : SetUserResOn({m_byCurDev}, false);

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
// One step of a Set on one controller, on one of the two counts (0 height, 1 width).
struct PixelStep {
    enum Kind { SetCount, ReadBack, Query, Commit };
    Kind kind;
    int count;
    // A failure ends this controller's Set; otherwise it goes on with the next step.
    bool stops;
};
constexpr int kHeight = 0;
constexpr int kWidth = 1;

// The checked controller alone: the width first, each count asked back, then the
// commit; the first step that fails ends it.
constexpr PixelStep kOneControllerSteps[] = {
    {PixelStep::SetCount, kWidth, true},  {PixelStep::Query, kWidth, true},
    {PixelStep::SetCount, kHeight, true}, {PixelStep::Query, kHeight, true},
    {PixelStep::Commit, 0, true},
};
// Each controller of the wall: the height first, each count read back with the
// configuration and then asked back, then the commit; only a count that is not taken
// ends that controller's Set.
constexpr PixelStep kWallSteps[] = {
    {PixelStep::SetCount, kHeight, true}, {PixelStep::ReadBack, kHeight, false},
    {PixelStep::Query, kHeight, false},   {PixelStep::SetCount, kWidth, true},
    {PixelStep::ReadBack, kWidth, false}, {PixelStep::Query, kWidth, false},
    {PixelStep::Commit, 0, false},
};

const uint8_t kSetCode[2] = {RZ8_BOOTCDE_SET_VPIXEL, RZ8_BOOTCDE_SET_HPIXEL};
const uint8_t kQueryCode[2] = {RZ8_BOOTCDE_GET_VPIXEL, RZ8_BOOTCDE_GET_HPIXEL};

// What one controller's part of a Set brought, for the panel to take in the order the
// controllers would have been written one after another.
struct PixelSetOutcome {
    bool done = false;
    // The configuration read back after each count was set, and the count queried then.
    bool read[2] = {false, false};
    RZ8Full readBack[2]{};
    bool readFailed[2] = {false, false};
    bool queried[2] = {false, false};
    uint16_t count[2] = {0, 0};
    RZ8Full lastRead{}; // the controller's read record at the end
    RZ8Full record{};   // the record the counts went out in, at the end
};

template <size_t N>
void RunPixelSteps(const PixelStep (&steps)[N], CRZ8Exchange& ex, const uint16_t typed[2],
                   RZ8Full& record, RZ8Full& read, PixelSetOutcome& out) {
    const uint8_t boxId = ex.Device().GetBoxId();
    const auto send = [&ex, boxId](RZ8Full& r, uint8_t code) {
        return ex.APIPR_SetRZ8FullData(r, code, boxId, CRZ8Exchange::kCommandPauseMs) != 0;
    };
    for (const PixelStep& step : steps) {
        const int c = step.count;
        bool ok = true;
        switch (step.kind) {
        case PixelStep::SetCount:
            record.setParam(typed[c]);
            ok = send(record, kSetCode[c]);
            break;
        case PixelStep::ReadBack:
            ok = ex.APIPR_GetRZ8FullData(read) != 0;
            out.read[c] = ok;
            out.readFailed[c] = !ok;
            if (ok) out.readBack[c] = read;
            if (ok) record = read;
            break;
        case PixelStep::Query:
            // Asked from what was read back, when the steps read it; a count not read
            // back is not asked for.
            if (step.stops || out.read[c]) {
                ok = send(out.read[c] ? read : record, kQueryCode[c]);
                out.queried[c] = ok;
                out.count[c] = c == kHeight ? ex.ReportedVPixel() : ex.ReportedHPixel();
            }
            break;
        case PixelStep::Commit:
            ok = send(record, RZ8_BOOTCDE_PIXEL_COMMIT);
            out.done = ok;
            break;
        }
        if (!ok && step.stops) return;
    }
}
} // namespace

bool CGUIGDIPlusMfcFrameMain::SetUserResOn(const std::vector<int>& members, bool wall) {
    // The typed counts go to every member; each runs its own steps.
    const uint16_t typed[2] = {m_wVPIXEL, m_wHPIXEL};
    std::vector<PixelSetOutcome> outcomes(members.size());
    const RZ8Full start = m_hCurRZ8Full;
    const RZ8Full startRead = m_hTmpRZ8Full;
    RunOnControllers(members, [&](size_t p, CRZ8Exchange& ex) {
        PixelSetOutcome& out = outcomes[p];
        RZ8Full record = start;
        // Each controller's reads go to a record of its own.
        RZ8Full read = startRead;
        if (wall)
            RunPixelSteps(kWallSteps, ex, typed, record, read, out);
        else
            RunPixelSteps(kOneControllerSteps, ex, typed, record, read, out);
        out.record = record;
        out.lastRead = read;
    });
    if (outcomes.empty()) return true;
    MakeLastCurrent(members);

    // The panel goes through what each controller answered, in box-ID order, as it
    // would have while writing them one after another.
    bool done = true;
    for (const PixelSetOutcome& out : outcomes) {
        for (int c : {kHeight, kWidth}) {
            if (out.read[c]) {
                m_hTmpRZ8Full = out.lastRead;
                m_hDevRZ8Full = out.readBack[c];
                m_hCurRZ8Full = out.readBack[c];
                APIPR_UpdateWholeUIFromData(m_hCurRZ8Full);
            }
            if (out.queried[c]) (c == kHeight ? m_wVPIXEL : m_wHPIXEL) = out.count[c];
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
