#pragma once
// Radio button: a press selects an unselected one. It never deselects its neighbours;
// the handler of the group's notification does (SetCheck on every member).
#include "GUIGDIPlusMfcCtrlStrip.h"

class CGUIGDIPlusMfcCtrlRdoBtn : public CGUIGDIPlusMfcCtrlCheckable {
public:
    void CopyFrom(const CGUIGDIPlusMfcCtrlRdoBtn& desc) { CopyStripFrom(desc); }

    // Visible, inside and unchecked (state 0): checked, true. A selected or disabled
    // radio button ignores the press.
    bool HitDown(int x, int y) override {
        if (!m_bVisible || !IsInside(x, y) || m_iState != kOff) return false;
        m_iState = kOn;
        return true;
    }
};
