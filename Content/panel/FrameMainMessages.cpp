// The frame's notification table. Every notification runs as one exchange: one that
// arrives while another handler still runs waits until that one has ended.
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"

namespace {

template <typename Ctrl, size_t N> IGUIGDIPlusMfcCtrl* At(Ctrl (&group)[N], std::uintptr_t i) {
    return i < N ? &group[i] : nullptr;
}

} // namespace

long CGUIGDIPlusMfcFrameMain::OnFrameMessage(std::uint32_t msg, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    // Placement is sent by the start-up itself, never from inside a handler.
    if (msg == FrameMsg::kPlaceWindow) return OnPlaceWindow();
    if (InExchange()) {
        m_vecDeferredMessages.push_back({msg, wParam, lParam});
        return 0;
    }
    BeginExchange();
    const long result = DispatchFrameMessage(msg, wParam, lParam);
    EndExchange();
    return result;
}

long CGUIGDIPlusMfcFrameMain::DispatchFrameMessage(std::uint32_t msg, std::uintptr_t wParam,
                                                   std::intptr_t lParam) {
    // Qualified: the frame's own control indices share some of these names.
    namespace M = FrameMsg;
    using Handler = long (CGUIGDIPlusMfcFrameMain::*)(std::uintptr_t, std::intptr_t);
    // The adjusters in message order: +/- of each timing box.
    static constexpr Handler kAdjusters[] = {
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgVRateInc,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgVRateDec,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgHBlankInc,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgHBlankDec,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgHOffsetInc,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgHOffsetDec,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgHSyncWidthInc,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgHSyncWidthDec,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgVBlankInc,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgVBlankDec,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgVOffsetInc,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgVOffsetDec,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgVSyncWidthInc,
        &CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgVSyncWidthDec,
    };
    static_assert(std::size(kAdjusters) == M::kBtnAdjustLast - M::kBtnAdjustFirst + 1,
                  "one handler per adjuster");
    if (msg >= M::kBtnAdjustFirst && msg <= M::kBtnAdjustLast)
        return (this->*kAdjusters[msg - M::kBtnAdjustFirst])(wParam, lParam);

    switch (msg) {
    case M::kChkBoxDevSettingSync:
        return OnCtrlChkBoxMsgDevSettingSync(wParam, lParam);
    case M::kSwitchSerialCom:
        return OnCtrlSwitchMsgSerialCOM(wParam, lParam);
    case M::kSwitchPattern:
        return OnCtrlSwitchMsgPattern(wParam, lParam);
    case M::kSwitchRgbw:
        return OnCtrlSwitchMsgRGBW(wParam, lParam);
    case M::kBtnHWReset:
        return OnCtrlBtnMsgHWReset(wParam, lParam);
    case M::kBtnSWReset:
        return OnCtrlBtnMsgSWReset(wParam, lParam);
    case M::kBtnApply:
        return OnCtrlBtnMsgApply(wParam, lParam);
    case M::kBtnSetUserRes:
        return OnCtrlBtnMsgSetUserRes(wParam, lParam);
    case M::kBtnIdentify:
        return OnCtrlBtnMsgIdentify(wParam, lParam);
    case M::kBtnSetting:
        return OnCtrlBtnMsgSetting(wParam, lParam);
    case M::kBtnExit:
        return OnCtrlBtnMsgExit(wParam, lParam);
    case M::kRdoDevBox:
        return OnCtrlRdoBtnMsgDeviceBox(wParam, lParam);
    case M::kRdoHorzPolarity:
        return OnCtrlRdoBtnMsgHorzPolarity(wParam, lParam);
    case M::kRdoVertPolarity:
        return OnCtrlRdoBtnMsgVertPolarity(wParam, lParam);
    case M::kRdoColorDepth:
        return OnCtrlRdoBtnMsgColorDepth(wParam, lParam);
    case M::kRdoAudioSupport:
        return OnCtrlRdoBtnMsgAudio(wParam, lParam);
    case M::kRdoEdidVersion:
        return OnCtrlRdoBtnMsgEDIDVer(wParam, lParam);
    case M::kSliderResolution:
        return OnCtrlSliderMsgRes(wParam, lParam);
    default:
        break;
    }
    // Notifications without a handler only free their control for the next one.
    if (IGUIGDIPlusMfcCtrl* ctrl = NotifyingCtrl(msg, wParam)) ctrl->SetBusy(false);
    return 0;
}

IGUIGDIPlusMfcCtrl* CGUIGDIPlusMfcFrameMain::NotifyingCtrl(std::uint32_t msg,
                                                           std::uintptr_t wParam) {
    // Qualified: the frame's own control indices share some of these names.
    namespace M = FrameMsg;
    // The adjusters' repeat sends wParam 0: their message names the button.
    if (msg >= M::kBtnAdjustFirst && msg <= M::kBtnAdjustLast)
        return &m_hGUICtrlBtn[kFirstAdjusterBtn + (msg - M::kBtnAdjustFirst)];
    if (msg >= M::kBtnHWReset && msg <= M::kBtnExit) return At(m_hGUICtrlBtn, wParam);
    switch (msg) {
    case M::kChkBoxDevSettingSync:
        return At(m_hGUICtrlChkBox, wParam);
    case M::kSwitchSerialCom:
    case M::kSwitchPattern:
    case M::kSwitchRgbw:
        return At(m_hGUICtrlSwitch, wParam);
    case M::kRdoDevBox:
        return At(m_hGUICtrlRdoBtnDevBox, wParam);
    case M::kRdoHorzPolarity:
        return At(m_hGUICtrlRdoBtnHPol, wParam);
    case M::kRdoVertPolarity:
        return At(m_hGUICtrlRdoBtnVPol, wParam);
    case M::kRdoColorDepth:
        return At(m_hGUICtrlRdoBtnColor, wParam);
    case M::kRdoAudioSupport:
        return At(m_hGUICtrlRdoBtnAudio, wParam);
    case M::kRdoEdidVersion:
        return At(m_hGUICtrlRdoBtnEDID, wParam);
    case M::kSliderResolution:
        return wParam == 0 ? &m_hGUICtrlSliderRes : nullptr;
    default:
        return nullptr;
    }
}
