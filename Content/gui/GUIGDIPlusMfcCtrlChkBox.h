#pragma once
// Check box: a press inside a visible, enabled box flips it; the frame then notifies.
#include "GUIGDIPlusMfcCtrlStrip.h"

class CGUIGDIPlusMfcCtrlChkBox : public CGUIGDIPlusMfcCtrlCheckable {
public:
    void CopyFrom(const CGUIGDIPlusMfcCtrlChkBox& desc) { CopyStripFrom(desc); }

    // Visible, inside and enabled: 0 <-> 1, true.
    bool HitDown(int x, int y) override { return Toggle(x, y); }
};
