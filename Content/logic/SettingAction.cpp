// The Setting button: the durations dialog over a shaded panel, then the settings file.
#include "DebugTrace.h"
#include "GUIGDIPlusMfcFrameMain.h"

long CGUIGDIPlusMfcFrameMain::OnCtrlBtnMsgSetting(std::uintptr_t wParam, std::intptr_t) {
    m_nShadeMode = kShadePure;
    RepaintFrame();
    DropWaitCursor();
    m_pStdDialogs->RunSettingDlg(m_hSetting, this);
    m_nShadeMode = kShadeNone;
    RepaintFrame();
    // Written whichever way the dialog closed.
    if (!WriteSettingFile(m_strSettingFile, m_hSetting))
        RZ8_TRACE("[D]OnCtrlBtnMsgSetting cannot write %s\n", qUtf8Printable(m_strSettingFile));
    if (wParam < std::size(m_hGUICtrlBtn)) m_hGUICtrlBtn[wParam].SetBusy(false);
    return 0;
}
