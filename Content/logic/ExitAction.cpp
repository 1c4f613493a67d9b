// The Exit button ends the application; the window's destruction closes the links.
#include "GUIGDIPlusMfcFrameMain.h"

#include <iterator>

long CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgExit(std::uintptr_t wParam, std::intptr_t lParam) {
    (void)lParam;
    PostQuitMessage();
    if (wParam < std::size(m_hGUICtrlBtn)) m_hGUICtrlBtn[wParam].SetBusy(false);
    // The hot keys are dropped here once they exist.
    return 0;
}
