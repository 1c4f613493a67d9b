// How the panel's mouse events reach its controls: the groups in the frame's order, the
// drag strip along the title, the shade as the busy test, and the adjusters' repeat.
#include "GUIGDIPlusMfcFrameMain.h"
#include "PanelGeometry.h"

namespace {

template <typename Ctrl, size_t N> std::vector<IGUIGDIPlusMfcCtrl*> Group(Ctrl (&ctrls)[N]) {
    std::vector<IGUIGDIPlusMfcCtrl*> v;
    for (auto& c : ctrls)
        v.push_back(&c);
    return v;
}

} // namespace

void CGUIGDIPlusMfcFrameMain::SetupMouseRouting() {
    using Role = MouseRouter::Role;
    MouseRouter& router = GetMouseRouter();
    router.Clear();
    const int chk = router.AddGroup(Role::Toggle, Group(m_hGUICtrlChkBox));
    const int sw = router.AddGroup(Role::Toggle, Group(m_hGUICtrlSwitch));
    const int btn = router.AddGroup(Role::Button, Group(m_hGUICtrlBtn));
    const int edit = router.AddGroup(Role::Edit, Group(m_hGUICtrlEditBox));
    const int dev = router.AddGroup(Role::Toggle, Group(m_hGUICtrlRdoBtnDevBox));
    const int hpol = router.AddGroup(Role::Toggle, Group(m_hGUICtrlRdoBtnHPol));
    const int vpol = router.AddGroup(Role::Toggle, Group(m_hGUICtrlRdoBtnVPol));
    const int color = router.AddGroup(Role::Toggle, Group(m_hGUICtrlRdoBtnColor));
    const int audio = router.AddGroup(Role::Toggle, Group(m_hGUICtrlRdoBtnAudio));
    const int edid = router.AddGroup(Role::Toggle, Group(m_hGUICtrlRdoBtnEDID));
    const int slider = router.AddGroup(Role::Slider, {&m_hGUICtrlSliderRes});
    router.SetPressOrder({chk, sw, btn, edit, dev, hpol, vpol, color, audio, edid, slider});
    router.SetMoveOrder({chk, sw, edit, btn, dev, hpol, vpol, color, audio, edid, slider});

    MouseRouter::Hooks& hooks = router.GetHooks();
    // Shaded, or a handler is talking to the controllers: only the drag strip answers.
    hooks.isBusy = [this] { return m_nShadeMode != 0 || InExchange(); };
    // Presses up there move the window instead of reaching a control.
    hooks.inDragStrip = [](int x, int y) {
        return x <= PanelGeometry::kDragStripRight && y <= PanelGeometry::kTitleHeight;
    };
    hooks.onPressed = [this, btn](int group, int index) {
        if (group == btn && index >= kFirstAdjusterBtn)
            m_hBtnRepeat.Start(index, m_hGUICtrlBtn[index].GetMsg());
    };
    // The release of the held button ends its repeat before its click is posted.
    hooks.onReleased = [this, btn](int group, int) {
        if (group == btn) m_hBtnRepeat.Stop();
    };
}
