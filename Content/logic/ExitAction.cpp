// The Exit button ends the application; the window's destruction closes the links.
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"

#include <iterator>

long CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgExit(std::uintptr_t wParam, std::intptr_t lParam) {
    (void)lParam;
    PostQuitMessage();
    if (wParam < std::size(m_hGUICtrlBtn)) m_hGUICtrlBtn[wParam].SetBusy(false);
    // Only the middle one is ever registered; the others fail without harm.
    for (int id : {FrameMsg::kHotKeyId + 1, FrameMsg::kHotKeyId, FrameMsg::kHotKeyId - 1})
        m_hHotKey.Unregister(id);
    return 0;
}
