// Panel-wide enabling: everything but the title, the Exit button and the serial-COM
// switch, which stay usable in every state of the link.
#include "GUIGDIPlusMfcFrameMain.h"

namespace {

// Only a real change of enabled-ness is passed on: re-disabling a checked control would
// otherwise forget its check, and re-enabling one would clear it.
template <typename Ctrl> void SetEnabled(Ctrl& c, bool enable) {
    if (c.IsEnabled() != enable) c.SetEnable(enable);
}

void SetEnabled(CGUIGDIPlusMfcCtrlText& c, bool enable) {
    c.SetEnable(enable);
}

void SetEnabled(CGUIGDIPlusMfcCtrlImage& c, bool enable) {
    c.SetEnable(enable);
}

template <typename Ctrl, size_t N> void SetAll(Ctrl (&group)[N], bool enable, size_t from = 0) {
    for (size_t i = from; i < N; ++i)
        SetEnabled(group[i], enable);
}

} // namespace

void CGUIGDIPlusMfcFrameMain::EnableAllCtrl(bool bEnable) {
    SetAll(m_hGUICtrlText, bEnable, 1); // the title stays as it is
    SetAll(m_hGUICtrlTextDevBox, bEnable);
    SetAll(m_hGUICtrlImageShadow, bEnable);
    SetAll(m_hGUICtrlBtn, bEnable, 1); // the Exit button stays usable
    SetAll(m_hGUICtrlChkBox, bEnable);
    SetAll(m_hGUICtrlEditBox, bEnable);
    SetEnabled(m_hGUICtrlSwitch[kSwitchPattern], bEnable);
    SetEnabled(m_hGUICtrlSwitch[kSwitchRGBW], bEnable);
    SetAll(m_hGUICtrlRdoBtnHPol, bEnable);
    SetAll(m_hGUICtrlRdoBtnVPol, bEnable);
    SetAll(m_hGUICtrlRdoBtnColor, bEnable);
    SetAll(m_hGUICtrlRdoBtnAudio, bEnable);
    SetAll(m_hGUICtrlRdoBtnEDID, bEnable);
    SetAll(m_hGUICtrlRdoBtnDevBox, bEnable);
    SetEnabled(m_hGUICtrlSliderRes, bEnable);
    SetAll(m_hGUICtrlTextRes, bEnable);
}
