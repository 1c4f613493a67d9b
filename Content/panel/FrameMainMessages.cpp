// The frame's notification table. Handlers of later features join here; until then a
// notification only frees its control for the next one.
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"

namespace {

template <typename Ctrl, size_t N> IGUIGDIPlusMfcCtrl* At(Ctrl (&group)[N], std::uintptr_t i) {
    return i < N ? &group[i] : nullptr;
}

} // namespace

long CGUIGDIPlusMfcFrameMain::OnFrameMessage(std::uint32_t msg, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    switch (msg) {
    case FrameMsg::kPlaceWindow:
        return OnPlaceWindow();
    case FrameMsg::kBtnExit:
        return OnCtrlBtnMsgExit(wParam, lParam);
    default:
        break;
    }
    if (IGUIGDIPlusMfcCtrl* ctrl = NotifyingCtrl(msg, wParam)) ctrl->SetBusy(false);
    return 0;
}

IGUIGDIPlusMfcCtrl* CGUIGDIPlusMfcFrameMain::NotifyingCtrl(std::uint32_t msg,
                                                           std::uintptr_t wParam) {
    using namespace FrameMsg;
    // The adjusters' repeat sends wParam 0: their message names the button.
    if (msg >= kBtnAdjustFirst && msg <= kBtnAdjustLast)
        return &m_hGUICtrlBtn[kFirstAdjusterBtn + (msg - kBtnAdjustFirst)];
    if (msg >= kBtnHWReset && msg <= kBtnExit) return At(m_hGUICtrlBtn, wParam);
    switch (msg) {
    case kChkBoxDevSettingSync:
        return At(m_hGUICtrlChkBox, wParam);
    case kSwitchSerialCom:
    case kSwitchPattern:
    case kSwitchRgbw:
        return At(m_hGUICtrlSwitch, wParam);
    case kRdoDevBox:
        return At(m_hGUICtrlRdoBtnDevBox, wParam);
    case kRdoHorzPolarity:
        return At(m_hGUICtrlRdoBtnHPol, wParam);
    case kRdoVertPolarity:
        return At(m_hGUICtrlRdoBtnVPol, wParam);
    case kRdoColorDepth:
        return At(m_hGUICtrlRdoBtnColor, wParam);
    case kRdoAudioSupport:
        return At(m_hGUICtrlRdoBtnAudio, wParam);
    case kRdoEdidVersion:
        return At(m_hGUICtrlRdoBtnEDID, wParam);
    case kSliderResolution:
        return wParam == 0 ? &m_hGUICtrlSliderRes : nullptr;
    default:
        return nullptr;
    }
}
